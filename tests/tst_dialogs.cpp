#include "curvefitter.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "scriptedfit.h"
#include "testsupport.h"

#include <QAction>
#include <QDialog>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

enum class Close { Accept, Escape, TitleBar };

struct DialogSeen
{
    bool shown = false;
    bool modal = false;
    bool parentless = false;
    QStringList fieldTexts;
    QStringList labels;
    QString buttonText;
    QString layout; // "widget@row,column" in layout order
    bool validatorsAsExpected = true;
};

// Answers the next modal dialog: records what it shows, types the given texts (an absent
// entry leaves that field as it is) and closes it the given way.
std::shared_ptr<DialogSeen> answerDialog(const QStringList& typed, Close close)
{
    auto seen = std::make_shared<DialogSeen>();
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen->shown = true;
        seen->modal = dialog->isModal();
        seen->parentless = !dialog->parentWidget();
        auto* grid = qobject_cast<QGridLayout*>(dialog->layout());
        QList<QLineEdit*> fields;
        for (int i = 0; grid && i < grid->count(); ++i) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            QWidget* widget = grid->itemAt(i)->widget();
            QString kind = widget->metaObject()->className();
            if (auto* label = qobject_cast<QLabel*>(widget))
                seen->labels << label->text();
            if (auto* button = qobject_cast<QPushButton*>(widget))
                seen->buttonText = button->text();
            if (auto* field = qobject_cast<QLineEdit*>(widget))
                fields << field;
            seen->layout += QStringLiteral("%1@%2,%3 ").arg(kind).arg(row).arg(column);
        }
        for (int i = 0; i < fields.size(); ++i) {
            QLineEdit* field = fields[i];
            seen->fieldTexts << field->text();
            auto* validator = qobject_cast<const QDoubleValidator*>(field->validator());
            if (!validator || validator->bottom() != -99999999999.0 || validator->top() != 99999999999.0
                || validator->decimals() != 8)
                seen->validatorsAsExpected = false;
            if (i < typed.size() && !typed[i].isNull()) {
                field->clear();
                QTest::keyClicks(field, typed[i]);
            }
        }
        if (close == Close::Accept)
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        else if (close == Close::Escape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
    });
    return seen;
}

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void doseDialogFirstRun();
    void doseDialogShowsStoredValueRounded();
    void doseDialogAppliesHoweverClosed_data();
    void doseDialogAppliesHoweverClosed();
    void storedDoseReachesTheNextStart();
    void commaLocaleGivesZero();
    void parameterDialogFirstRun();
    void parameterValuesStoredAndHandedOver();
    void parametersNotReadAtStart();
    void nextFitStartsFromTheNewParameters();

private:
};

void DialogsTest::init()
{
    QSettings().clear();
    QLocale::setDefault(QLocale::c());
}

void DialogsTest::cleanup()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void DialogsTest::doseDialogFirstRun()
{
    MainWindow window;
    QCOMPARE(window.fitter()->currentDose(), -1.0);
    auto seen = answerDialog({}, Close::Accept);
    triggerAction(window, "&Insert Dose");
    QVERIFY(seen->shown && seen->modal && seen->parentless);
    QCOMPARE(seen->fieldTexts, QStringList{""});
    QCOMPARE(seen->labels, QStringList{"Dose"});
    QCOMPARE(seen->buttonText, QStringLiteral("Accept"));
    QCOMPARE(seen->layout, QStringLiteral("QLabel@0,0 QLineEdit@1,0 QPushButton@2,0 "));
    QVERIFY(seen->validatorsAsExpected);
    QCOMPARE(window.fitter()->currentDose(), 0.0);
    const QVariant stored = QSettings().value("dose");
    QCOMPARE(stored.toDouble(), 0.0);
    QVERIFY(stored.isValid());
}

void DialogsTest::doseDialogShowsStoredValueRounded()
{
    QSettings().setValue("dose", 123.456789);
    MainWindow window;
    auto seen = answerDialog({}, Close::Accept);
    triggerAction(window, "&Insert Dose");
    QCOMPARE(seen->fieldTexts, QStringList{"123.457"});
    QCOMPARE(QSettings().value("dose").toDouble(), 123.457);
    QCOMPARE(window.fitter()->currentDose(), 123.457);
}

void DialogsTest::doseDialogAppliesHoweverClosed_data()
{
    QTest::addColumn<int>("close");
    QTest::newRow("Accept") << int(Close::Accept);
    QTest::newRow("Escape") << int(Close::Escape);
    QTest::newRow("title bar") << int(Close::TitleBar);
}

void DialogsTest::doseDialogAppliesHoweverClosed()
{
    QFETCH(int, close);
    MainWindow window;
    auto seen = answerDialog({"250.5"}, Close(close));
    triggerAction(window, "&Insert Dose");
    QVERIFY(seen->shown);
    QCOMPARE(window.fitter()->currentDose(), 250.5);
    QCOMPARE(QSettings().value("dose").toDouble(), 250.5);
}

void DialogsTest::storedDoseReachesTheNextStart()
{
    {
        MainWindow window;
        answerDialog({"250"}, Close::Accept);
        triggerAction(window, "&Insert Dose");
    }
    CurveFitter restarted;
    QCOMPARE(restarted.currentDose(), 250.0);
}

void DialogsTest::commaLocaleGivesZero()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    MainWindow window;
    auto seen = answerDialog({"2,5"}, Close::Accept);
    triggerAction(window, "&Insert Dose");
    QVERIFY(seen->shown);
    QCOMPARE(window.fitter()->currentDose(), 0.0);
    QCOMPARE(QSettings().value("dose").toDouble(), 0.0);
}

void DialogsTest::parameterDialogFirstRun()
{
    MainWindow window;
    auto seen = answerDialog({}, Close::Escape);
    triggerAction(window, "&Parameters");
    QVERIFY(seen->shown && seen->modal && seen->parentless && seen->validatorsAsExpected);
    QCOMPARE(seen->fieldTexts, (QStringList{"", "", "", ""}));
    QCOMPARE(seen->labels, (QStringList{"P1", "P2", "P3", "P4"}));
    QCOMPARE(seen->layout,
             QStringLiteral("QLabel@0,0 QLineEdit@0,1 QLabel@1,0 QLineEdit@1,1 QLabel@2,0 "
                            "QLineEdit@2,1 QLabel@3,0 QLineEdit@3,1 QPushButton@4,0 "));
    QCOMPARE(window.fitter()->initialParameters(), (QVector<double>{0, 0, 0, 0}));
    QSettings settings;
    for (const char* key : {"P1", "P2", "P3", "P4"})
        QVERIFY(settings.value(key).isValid() && settings.value(key).toDouble() == 0.0);
}

void DialogsTest::parameterValuesStoredAndHandedOver()
{
    QSettings settings;
    settings.setValue("P1", 3.0);
    settings.setValue("P2", 1.23456789);
    settings.setValue("P3", 0.5);
    settings.setValue("P4", 0.05);
    MainWindow window;
    auto seen = answerDialog({QString(), QString(), "0.75"}, Close::Accept); // only P3 changes
    triggerAction(window, "&Parameters");
    QCOMPARE(seen->fieldTexts, (QStringList{"3", "1.23457", "0.5", "0.05"}));
    QCOMPARE(window.fitter()->initialParameters(), (QVector<double>{3, 1.23457, 0.75, 0.05}));
    QCOMPARE(settings.value("P2").toDouble(), 1.23457);
    QCOMPARE(settings.value("P3").toDouble(), 0.75);
}

void DialogsTest::parametersNotReadAtStart()
{
    QSettings settings;
    for (const char* key : {"P1", "P2", "P3", "P4"})
        settings.setValue(key, 9.0);
    CurveFitter fitter;
    QCOMPARE(fitter.initialParameters(), (QVector<double>{1, 0.1, 1, 0.1}));
}

void DialogsTest::nextFitStartsFromTheNewParameters()
{
    ScriptedFit script;
    script.answerValues({2, 1, 1, 0.1});
    PythonInterpreter::setShippedModuleDirectory(QString());
    MainWindow window;
    for (int r = 0; r < 5; ++r) {
        window.table()->item(r, 0)->setText(QString::number(r + 1));
        window.table()->item(r, 1)->setText(QString::number(10 - r));
    }
    answerDialog({"5", "2", "0.5", "0.05"}, Close::Accept);
    triggerAction(window, "&Parameters");
    triggerAction(window, "&Single Exponential"); // does not touch the starting values
    triggerAction(window, "&Double Exponential");
    const QJsonArray arguments = script.lastArguments();
    QCOMPARE(script.lastFunction(), QStringLiteral("doubleExpFit"));
    QCOMPARE((QVector<double>{arguments[2].toDouble(), arguments[3].toDouble(), arguments[4].toDouble(),
                              arguments[5].toDouble()}),
             (QVector<double>{5, 2, 0.5, 0.05}));
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &window && widget->isWindow() && widget->inherits("QWebView"))
            delete widget;
}

ZELKORA_TEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
