#include "curvefitter.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "spreadsheetwidget.h"
#include "testsupport.h"

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void menusAndActionsInOrder();
    void slotsInMetaObjectOrder();
    void windowStartsWithEmptySheet();
    void aboutBoxTexts();
    void closeEndsTheEventLoop();
    void fitterStartsFromDefaultsAndStoredDose();

private:
};

void MainWindowTest::init()
{
    QSettings().clear();
}

void MainWindowTest::menusAndActionsInOrder()
{
    MainWindow window;
    QStringList menus;
    QStringList actions;
    for (QAction* menuAction : window.menuBar()->actions()) {
        menus << menuAction->text();
        QStringList texts;
        for (QAction* action : menuAction->menu()->actions()) {
            texts << action->text();
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(action->isEnabled());
            QVERIFY(!action->isSeparator());
            QCOMPARE(action->parent(), &window);
        }
        actions << texts.join(",");
    }
    QCOMPARE(menus, (QStringList{"&File", "&Fit", "&About"}));
    QCOMPARE(actions,
             (QStringList{"&Open,&Close", "&Single Exponential,&Double Exponential,&Insert Dose,&Plot,&Parameters",
                          "&About Zelkora"}));
}

void MainWindowTest::slotsInMetaObjectOrder()
{
    const QMetaObject& meta = MainWindow::staticMetaObject;
    QCOMPARE(QString(meta.className()), QStringLiteral("MainWindow"));
    QStringList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
        names << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(names,
             (QStringList{"onFileOpen()", "on1CompFit()", "on2CompFit()", "onDoseSet()", "onPlot()", "onAbout()",
                          "onParameters()"}));
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
}

void MainWindowTest::windowStartsWithEmptySheet()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.minimumSize(), QSize(800, 600));
    QVERIFY(window.width() >= 800 && window.height() >= 600);
    auto* sheet = qobject_cast<SpreadSheetWidget*>(window.centralWidget());
    QVERIFY(sheet);
    QCOMPARE(window.table(), sheet);
    QCOMPARE(sheet->rowCount(), 50);
    QCOMPARE(sheet->columnCount(), 10);
    QVERIFY(window.windowTitle().isEmpty());
    QVERIFY(!window.plotWindow());
    QVERIFY(!window.lastImport());
}

void MainWindowTest::aboutBoxTexts()
{
    MainWindow window;
    QString title, text;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->close();
        }
    });
    triggerAction(window, "&About Zelkora");
    QCOMPARE(title, QStringLiteral("About Zelkora"));
    QCOMPARE(text, QStringLiteral("Pharmacokinetics fitting software developed by Pellimore "));
}

void MainWindowTest::closeEndsTheEventLoop()
{
    MainWindow window;
    window.show();
    QWidget results; // another top-level window stays open
    results.show();
    QTimer::singleShot(0, [&] { triggerAction(window, "&Close"); });
    bool timedOut = false;
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!timedOut);
}

void MainWindowTest::fitterStartsFromDefaultsAndStoredDose()
{
    {
        MainWindow window;
        QCOMPARE(window.fitter()->currentDose(), -1.0);
        QCOMPARE(window.fitter()->initialParameters(), (QVector<double>{1, 0.1, 1, 0.1}));
    }
    QSettings settings;
    settings.setValue("dose", 250.0);
    settings.setValue("P1", 7.0);
    settings.sync();
    MainWindow window;
    QCOMPARE(window.fitter()->currentDose(), 250.0);
    QCOMPARE(window.fitter()->initialParameters(), (QVector<double>{1, 0.1, 1, 0.1}));
}

ZELKORA_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
