// Hostile fit modules, messy data and foreign settings: Zelkora keeps running, keeps the
// user's sheet, reports what happened, and the next good fit works.
#include "curvefitter.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "scriptedfit.h"
#include "testsupport.h"

#include "filedialog.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QWebView>

namespace {

QStringList sheetTexts(QTableWidget* table)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            texts << (table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("<none>"));
    return texts;
}

// Runs a fit command and returns the report it showed and copied ("<none>" when nothing).
QString fitReport(MainWindow& window, const QString& command)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("<none>"));
    triggerAction(window, command);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QWebView*>(widget))
            delete widget;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data->hasHtml() ? data->html() : data->text();
}

const QString reportStart = QStringLiteral("^<!DOCTYPE html>");

// A report holding the given markup somewhere after its start.
QString reportWith(const QString& pattern)
{
    return QStringLiteral("(?s)^<!DOCTYPE html>.*") + pattern;
}

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hostileModules_data();
    void hostileModules();
    void messyData_data();
    void messyData();
    void foreignSettings_data();
    void foreignSettings();

private:
    std::unique_ptr<ScriptedFit> goodModule;
    std::unique_ptr<MainWindow> window;
};

void RobustnessTest::initTestCase()
{
    goodModule = std::make_unique<ScriptedFit>();
    PythonInterpreter::setShippedModuleDirectory(QString());
}

void RobustnessTest::init()
{
    QSettings().clear();
    window = std::make_unique<MainWindow>();
}

void RobustnessTest::cleanup()
{
    window.reset();
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void RobustnessTest::hostileModules_data()
{
    QTest::addColumn<QByteArray>("body"); // returned by both callables: `def answer(): ...`
    QTest::addColumn<QString>("oneCompartment"); // pattern of the report
    QTest::addColumn<QString>("twoCompartments");
    const QString unreachable = QStringLiteral("^Convergence unreacheable$");
    QTest::newRow("nan and infinities") << QByteArray("    return [float('nan'), float('inf'), -float('inf'), 1.0]")
                                        << reportWith(
                                               "<td><b>P1</b></td><td>nan</td></tr><td><b>P2</b></td><td>inf</td>")
                                        << unreachable;
    QTest::newRow("infinite but positive")
        << QByteArray("    return [float('inf'), 1.0, 1.0, 0.1]") << reportWith("<td><b>P1</b></td><td>inf</td>")
        << reportWith("<td><b>P1</b></td><td>inf</td>");
    QTest::newRow("a million items") << QByteArray("    return [2.0, 0.5, 1.0, 0.1] * 250000")
                                     << reportWith("<td><b>P2</b></td><td>0.5</td>")
                                     << reportWith("<td><b>P4</b></td><td>0.1</td>");
    QTest::newRow("nested lists") << QByteArray("    return [[1.0, 2.0], [3.0], [4.0], [5.0]]")
                                  << reportWith("<td><b>P1</b></td><td>-1</td>") << unreachable;
    QTest::newRow("1 MB string") << QByteArray("    return 'x' * 1000000") << unreachable << "^x+$";
    QTest::newRow("non-UTF-8 bytes") << QByteArray("    return b'\\xff\\xfe not text'") << unreachable
                                     << QString::fromUtf8("^ÿþ not text$");
    QTest::newRow("lone surrogate") << QByteArray("    return 'bad \\udcff text'") << unreachable
                                    << QStringLiteral("^bad \\? text$");
    QTest::newRow("float conversion raises")
        << QByteArray("    class Bad:\n        def __float__(self): raise ValueError('no')\n"
                      "    return [Bad(), Bad(), Bad(), Bad()]")
        << reportWith("<td><b>P1</b></td><td>-1</td>") << unreachable;
    QTest::newRow("exception with broken __str__")
        << QByteArray("    class Broken(Exception):\n        def __str__(self): raise RuntimeError('x')\n"
                      "    raise Broken()")
        << "raised Broken: <exception str\\(\\) failed>$"
        << "raised Broken: <exception str\\(\\) failed>$";
    QTest::newRow("prints to stdout") << QByteArray(
        "    print('fitting...', flush=True)\n    return [2.0, 0.5, 1.0, 0.1]")
                                      << reportStart << reportStart;
    QTest::newRow("sys.exit(3)") << QByteArray("    import sys\n    sys.exit(3)") << "raised SystemExit: 3$"
                                 << "raised SystemExit: 3$";
    QTest::newRow("deletes sys.path") << QByteArray("    import sys\n    del sys.path\n    return [2.0, 0.5, 1.0, 0.1]")
                                      << reportStart << reportStart;
    QTest::newRow("takes 3 seconds") << QByteArray(
        "    import time\n    time.sleep(3)\n    return [2.0, 0.5, 1.0, 0.1]")
                                     << reportStart << reportStart;
}

void RobustnessTest::hostileModules()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, oneCompartment);
    QFETCH(QString, twoCompartments);
    QTemporaryDir hostile;
    writeFile(hostile.filePath("fit.py"),
              "def answer():\n" + body
                  + "\n\ndef LM1COMP(*args):\n    return answer()\n\n"
                    "def doubleExpFit(*args):\n    return answer()\n");
    QVERIFY(QDir::setCurrent(hostile.path()));
    PythonInterpreter& python = window->fitter()->pythonInterpreter();
    python.forgetModule("fit");

    QTableWidget* sheet = window->table();
    const QStringList samples{"1", "9", "2", "7", "3", "5", "4", "4", "6", "3"};
    for (int i = 0; i < samples.size(); ++i)
        sheet->item(i / 2, i % 2)->setText(samples[i]);
    const QStringList before = sheetTexts(sheet);

    const QString one = fitReport(*window, "&Single Exponential");
    QVERIFY2(one.contains(QRegularExpression(oneCompartment)), qPrintable(one.left(300)));
    const QString two = fitReport(*window, "&Double Exponential");
    QVERIFY2(two.contains(QRegularExpression(twoCompartments)), qPrintable(two.left(300)));
    QCOMPARE(window->table(), sheet);
    QCOMPARE(sheetTexts(sheet), before);

    // The next good fit works.
    QVERIFY(QDir::setCurrent(goodModule->path()));
    python.forgetModule("fit");
    goodModule->answerValues({10, 1.5, 5, 0.2});
    QVERIFY(fitReport(*window, "&Double Exponential").contains("<td><b>P3</b></td><td>5</td>"));
}

void RobustnessTest::messyData_data()
{
    QTest::addColumn<QStringList>("rows"); // "time;concentration"
    QTest::addColumn<QString>("oneCompartment");
    QTest::addColumn<QString>("twoCompartments");
    QTest::newRow("zero concentration") << QString("0.5;12|1;9|2;0|4;5|8;3").split('|') << reportStart
                                        << "^(<!DOCTYPE html>|No two-compartment fit)";
    QTest::newRow("negative concentration")
        << QString("0.5;12|1;-9|2;7|4;5|8;3").split('|') << reportStart << "^(<!DOCTYPE html>|No two-compartment fit)";
    QTest::newRow("nan text") << QString("0.5;12|1;nan|2;7|4;5|8;3").split('|') << "^Convergence unreacheable$"
                              << "^The samples hold a value that is not a finite number\\.$";
    QTest::newRow("inf text") << QString("0.5;12|1;inf|2;7|4;5|8;3").split('|') << "^Convergence unreacheable$"
                              << "^The samples hold a value that is not a finite number\\.$";
    QTest::newRow("1e308 and 1e-308") << QString("0.5;1e308|1;1e-308|2;7|4;5|8;3").split('|') << "."
                                      << ".";
    QTest::newRow("single sample") << QStringList{"1;5"} << "^Convergence unreacheable$"
                                   << "^Cannot fit using double exponential model using less than five entries$";
    QTest::newRow("all times equal") << QString("2;12|2;9|2;7|2;5|2;3").split('|') << "."
                                     << "^All samples were taken at the same time";
    QTest::newRow("decreasing times") << QString("8;3|4;5|2;7|1;9|0.5;12").split('|') << reportStart
                                      << reportWith("<td>Partials</td><td>[0-9.e+]+</td><td>-");
    QTest::newRow("non-numeric text") << QString("0.5;12|abc;9|2;x|4;5|8;3").split('|') << "."
                                      << ".";
    QTest::newRow("very long cell") << QStringList{QString(100000, '1') + ";5", "1;4", "2;3", "3;2", "4;1"} << "."
                                    << ".";
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QStringLiteral("%1;%2").arg(0.01 * (i + 1)).arg(10 * std::exp(-0.001 * i) + std::exp(-0.0001 * i));
    QTest::newRow("10,000 samples") << many << reportStart << reportStart;
}

void RobustnessTest::messyData()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, oneCompartment);
    QFETCH(QString, twoCompartments);
    QTemporaryDir empty; // the shipped module, from beside the executable
    QVERIFY(QDir::setCurrent(empty.path()));
    PythonInterpreter::setShippedModuleDirectory(QCoreApplication::applicationDirPath());
    window->fitter()->pythonInterpreter().forgetModule("fit");

    // Through File > Open, as a user would bring such data in.
    FileDialog::setNextOpenFileName(writeFile(empty.filePath("messy.csv"), rows.join('\n').toUtf8() + '\n'));
    QTimer::singleShot(0, [] {
        if (QWidget* options = QApplication::activeModalWidget()) {
            options->findChild<QComboBox*>()->setCurrentIndex(1);
            options->close();
        }
    });
    triggerAction(*window, "&Open");
    QTableWidget* table = window->table();
    QCOMPARE(table->rowCount(), rows.size());
    const QStringList before = sheetTexts(table);

    const QString one = fitReport(*window, "&Single Exponential");
    QVERIFY2(one.contains(QRegularExpression(oneCompartment)), qPrintable(one.left(300)));
    const QString two = fitReport(*window, "&Double Exponential");
    QVERIFY2(two.contains(QRegularExpression(twoCompartments)), qPrintable(two.left(300)));
    QCOMPARE(sheetTexts(table), before);
    triggerAction(*window, "&Plot");
    QVERIFY(window->plotWindow());
    PythonInterpreter::setShippedModuleDirectory(QString());
    window->fitter()->pythonInterpreter().forgetModule("fit");
}

void RobustnessTest::foreignSettings_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<double>("dose");
    QTest::addColumn<QString>("field");
    QTest::newRow("text") << QVariant("abc") << 0.0 << "0";
    QTest::newRow("a list") << QVariant(QStringList{"1", "2"}) << 0.0 << "0";
    QTest::newRow("empty value") << QVariant(QString()) << 0.0 << "0";
    QTest::newRow("huge number") << QVariant(1e300) << 1e300 << "1e+300";
    QTest::newRow("number as text") << QVariant("12.5") << 12.5 << "12.5";
}

void RobustnessTest::foreignSettings()
{
    QFETCH(QVariant, stored);
    QFETCH(double, dose);
    QFETCH(QString, field);
    {
        QSettings settings;
        for (const char* key : {"dose", "P1", "P2", "P3", "P4"})
            settings.setValue(key, stored);
    }
    window = std::make_unique<MainWindow>();
    QCOMPARE(window->fitter()->currentDose(), dose);
    QCOMPARE(window->fitter()->initialParameters(), (QVector<double>{1, 0.1, 1, 0.1}));

    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                shown << edit->text();
            dialog->close();
        }
    });
    triggerAction(*window, "&Parameters");
    QCOMPARE(shown, (QStringList{field, field, field, field}));
    const double expected = field.toDouble();
    QCOMPARE(window->fitter()->initialParameters(), (QVector<double>{expected, expected, expected, expected}));
}

ZELKORA_TEST_MAIN(RobustnessTest)
#include "tst_robustness.moc"
