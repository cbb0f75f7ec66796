#include "csvtable.h"
#include "filedialog.h"
#include "importexport.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "sampleextraction.h"
#include "spreadsheetwidget.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {

// Answers the options dialog when it opens: picks the delimiter item and the header box,
// checks the dialog's contents, and closes it with the given key or button.
class OptionsAnswer
{
public:
    OptionsAnswer(int delimiterItem, bool header, bool closeWithEscape = false)
    {
        QTimer::singleShot(0, [=] { answer(delimiterItem, header, closeWithEscape); });
    }
    bool answered = false;
    QStringList items;
    QString label;

private:
    void answer(int delimiterItem, bool header, bool closeWithEscape)
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* box = dialog->findChild<QComboBox*>();
        auto* check = dialog->findChild<QCheckBox*>();
        auto* button = dialog->findChild<QPushButton*>();
        label = dialog->findChild<QLabel*>()->text();
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        if (check->text() != QLatin1String("First Row as Header") || button->text() != QLatin1String("Accept")
            || box->currentIndex() != 0 || check->isChecked())
            return;
        box->setCurrentIndex(delimiterItem);
        check->setChecked(header);
        if (closeWithEscape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mousePress(button, Qt::LeftButton); // closes on press, before release
        answered = true;
    }
};

QString cell(QTableWidget* table, int row, int column)
{
    QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

// The table as "row|row|...", cells joined by "^", line ends shown as \r and \n.
QString describe(QTableWidget* table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << cell(table, r, c).replace("\r", "\\r").replace("\n", "\\n");
        rows << cells.join("^");
    }
    return rows.join("|");
}

QString headerLabels(QTableWidget* table)
{
    QStringList labels;
    for (int c = 0; c < table->columnCount(); ++c)
        labels << table->model()->headerData(c, Qt::Horizontal).toString().replace("\n", "\\n");
    return labels.join("^");
}

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void importCases_data();
    void importCases();
    void fileDialogRequest();
    void optionsDialogAnsweredWithEscape();
    void cancelledDialogBuildsNothing();
    void unreadableFileIsReported();
    void shortFileName_data();
    void shortFileName();
    void openOnTheWindowThenReadSamples();
    void cancelledOpenKeepsTheTypedSheet();
    void secondOpenReplacesFirst();

private:
    QTableWidget* import(const QByteArray& contents, int delimiterItem, bool header,
                         const QString& name = QStringLiteral("data.csv"));

    QTemporaryDir folder;
    std::unique_ptr<QObject> owner = std::make_unique<QObject>();
};

void ImportTest::cleanup()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

QTableWidget* ImportTest::import(const QByteArray& contents, int delimiterItem, bool header, const QString& name)
{
    FileDialog::setNextOpenFileName(writeFile(folder.filePath(name), contents));
    ImportExport importExport(owner.get());
    OptionsAnswer answer(delimiterItem, header);
    QTableWidget* table = importExport.importCsv();
    if (!answer.answered)
        qWarning("the options dialog was not answered");
    return table;
}

void ImportTest::importCases_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("delimiter");
    QTest::addColumn<bool>("header");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("labels");
    QTest::newRow("comma, no header") << QByteArray("Time,Conc\n0.5,12.1\n1,9.8\n") << 0 << false
                                      << "Time^Conc\\n|0.5^12.1\\n|1^9.8\\n"
                                      << "1^2";
    QTest::newRow("comma, header") << QByteArray("Time,Conc\n0.5,12.1\n1,9.8\n") << 0 << true << "0.5^12.1\\n|1^9.8\\n"
                                   << "Time^Conc\\n";
    QTest::newRow("CRLF ends") << QByteArray("0.5,12.1\r\n1,9.8\r\n") << 0 << false << "0.5^12.1\\r\\n|1^9.8\\r\\n"
                               << "1^2";
    QTest::newRow("semicolon") << QByteArray("1;2,5\n3;4\n") << 1 << false << "1^2,5\\n|3^4\\n"
                               << "1^2";
    QTest::newRow("blank item splits at a blank") << QByteArray("1 2\n3 4") << 2 << false << "1^2\\n|3^4"
                                                  << "1^2";
    QTest::newRow("tab item splits at a tab") << QByteArray("1\t2\n3\t4\n") << 3 << false << "1^2\\n|3^4\\n"
                                              << "1^2";
    QTest::newRow("missing concentration keeps the line end") << QByteArray("1,2\n2,\n") << 0 << false << "1^2\\n|2^\\n"
                                                              << "1^2";
    QTest::newRow("empty line in the middle") << QByteArray("1,2\n\n3,4\n") << 0 << false << "1^2\\n|\\n^<none>|3^4\\n"
                                              << "1^2";
    QTest::newRow("ragged lines") << QByteArray("1,2,3\n4,5\n6,7,8,9\n") << 0 << false << "1^2^3\\n|4^5\\n^<none>|6^7^8"
                                  << "1^2^3";
    QTest::newRow("quotes are plain characters") << QByteArray("\"a,b\",1\n") << 0 << false << "\"a^b\"^1\\n"
                                                 << "1^2^3";
    QTest::newRow("empty file") << QByteArray() << 0 << false << ""
                                << "1";
    QTest::newRow("empty file with header") << QByteArray() << 0 << true << ""
                                            << "";
    QTest::newRow("no final line feed") << QByteArray("1,2\n3,4") << 0 << false << "1^2\\n|3^4"
                                        << "1^2";
    QTest::newRow("UTF-8 content") << QByteArray("Zeit (h),Konz. µg/ml\n1,2\n") << 0 << true << "1^2\\n"
                                   << QString::fromUtf8("Zeit (h)^Konz. µg/ml\\n");
    QTest::newRow("NUL ends the line's text") << QByteArray("1,2\0,9\n3,4\n", 11) << 0 << false << "1^2|3^4\\n"
                                              << "1^2";
}

void ImportTest::importCases()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, delimiter);
    QFETCH(bool, header);
    QFETCH(QString, table);
    QFETCH(QString, labels);
    std::unique_ptr<QTableWidget> imported(import(contents, delimiter, header));
    QVERIFY(imported);
    QVERIFY(!imported->parent());
    QCOMPARE(describe(imported.get()), table);
    if (QString(QTest::currentDataTag()) == "empty file") {
        QCOMPARE(imported->rowCount(), 1);
        QCOMPARE(imported->item(0, 0)->text(), QString());
    }
    QCOMPARE(headerLabels(imported.get()), labels);
    QCOMPARE(imported->model()->headerData(0, Qt::Vertical).toString(), imported->rowCount() ? "1" : "");
}

void ImportTest::fileDialogRequest()
{
    std::unique_ptr<QTableWidget> imported(import("1,2\n", 0, false));
    const FileDialog::Request request = FileDialog::lastRequest();
    QCOMPARE(request.caption, QStringLiteral("Open File"));
    QCOMPARE(request.directory, QDir::homePath());
    QCOMPARE(request.filter, QStringLiteral("csv File (*.csv)"));

    FileDialog::setNextOpenFileName(writeFile(folder.filePath("items.csv"), "1,2\n"));
    ImportExport importExport(owner.get());
    OptionsAnswer answer(0, false);
    std::unique_ptr<QTableWidget> again(importExport.importCsv());
    QVERIFY(answer.answered);
    QCOMPARE(answer.items, (QStringList{",", ";", "' '", "\\t"}));
    QCOMPARE(answer.label, QStringLiteral("Choose a csv delimiter"));
}

void ImportTest::optionsDialogAnsweredWithEscape()
{
    FileDialog::setNextOpenFileName(writeFile(folder.filePath("escape.csv"), "a;b\n1;2\n"));
    ImportExport importExport(owner.get());
    OptionsAnswer answer(1, true, true);
    std::unique_ptr<QTableWidget> imported(importExport.importCsv());
    QVERIFY(answer.answered);
    QCOMPARE(headerLabels(imported.get()), QStringLiteral("a^b\\n"));
    QCOMPARE(describe(imported.get()), QStringLiteral("1^2\\n"));
}

void ImportTest::cancelledDialogBuildsNothing()
{
    FileDialog::setNextOpenFileName(QString());
    ImportExport importExport(owner.get());
    bool optionsShown = false;
    QTimer::singleShot(0, [&] { optionsShown = QApplication::activeModalWidget() != nullptr; });
    QCOMPARE(importExport.importCsv(), nullptr);
    QCOMPARE(importExport.shortFileName(), QString());
    QCoreApplication::processEvents();
    QVERIFY(!optionsShown);
}

void ImportTest::unreadableFileIsReported()
{
    const QString missing = folder.filePath(QString::fromUtf8("nicht da µ.csv"));
    FileDialog::setNextOpenFileName(missing);
    ImportExport importExport(owner.get());
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->close();
        }
    });
    QCOMPARE(importExport.importCsv(), nullptr);
    QVERIFY2(message.contains(missing) && message.contains("No such file"), qPrintable(message));
    QCOMPARE(importExport.shortFileName(), QString::fromUtf8("nicht da µ.csv"));
}

void ImportTest::shortFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shortName");
    QTest::newRow("path") << "/home/user/trial/study1.csv"
                          << "study1.csv";
    QTest::newRow("no slash") << "study1.csv"
                              << "study1.csv";
    QTest::newRow("trailing slash") << "/home/user/"
                                    << "";
}

void ImportTest::shortFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, shortName);
    FileDialog::setNextOpenFileName(path);
    ImportExport importExport(owner.get());
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    delete importExport.importCsv();
    QCOMPARE(importExport.shortFileName(), shortName);
}

void ImportTest::openOnTheWindowThenReadSamples()
{
    MainWindow window;
    const QString path
        = writeFile(folder.filePath(QString::fromUtf8("Studie ü.csv")), "t;c\r\n0.5;12\r\n1;\r\n2;7\r\n");
    FileDialog::setNextOpenFileName(path);
    OptionsAnswer answer(1, true);
    triggerAction(window, "&Open");
    QVERIFY(answer.answered);
    QTableWidget* table = window.table();
    QCOMPARE(window.centralWidget(), table);
    QVERIFY(!qobject_cast<SpreadSheetWidget*>(table));
    QVector<QVariant> times = SpreadSheetWidget::columnValues(table, 0);
    QVector<QVariant> concentrations = SpreadSheetWidget::columnValues(table, 1);
    dropIncompletePairs(times, concentrations);
    // "1;" leaves "\r\n" in the concentration cell: not empty, so the value 0.
    QCOMPARE(asDoubleVector(times), (QVector<double>{0.5, 1, 2}));
    QCOMPARE(asDoubleVector(concentrations), (QVector<double>{12, 0, 7}));
    QCOMPARE(window.lastImport()->shortFileName(), QString::fromUtf8("Studie ü.csv"));
}

void ImportTest::cancelledOpenKeepsTheTypedSheet()
{
    MainWindow window;
    QTableWidget* typed = window.table();
    typed->item(0, 0)->setText("1");
    FileDialog::setNextOpenFileName(QString());
    triggerAction(window, "&Open");
    QCOMPARE(window.table(), typed);
    QCOMPARE(window.centralWidget(), typed);
    QCOMPARE(typed->item(0, 0)->text(), QStringLiteral("1"));
    QVERIFY(window.lastImport());
    QCOMPARE(window.lastImport()->shortFileName(), QString());
}

void ImportTest::secondOpenReplacesFirst()
{
    MainWindow window;
    FileDialog::setNextOpenFileName(writeFile(folder.filePath("first.csv"), "1,2\n"));
    OptionsAnswer first(0, false);
    triggerAction(window, "&Open");
    QPointer<QTableWidget> firstTable = window.table();
    QPointer<ImportExport> firstImport = window.lastImport();
    FileDialog::setNextOpenFileName(writeFile(folder.filePath("second.csv"), "3,4\n5,6\n"));
    OptionsAnswer second(0, false);
    triggerAction(window, "&Open");
    QVERIFY(first.answered && second.answered);
    QVERIFY(firstTable.isNull());
    QCOMPARE(window.table()->rowCount(), 2);
    QCOMPARE(window.lastImport()->shortFileName(), QStringLiteral("second.csv"));
    QVERIFY(firstImport.isNull()); // replaced imports are not kept
    QCOMPARE(window.lastImport()->parent(), &window);
}

ZELKORA_TEST_MAIN(ImportTest)
#include "tst_import.moc"
