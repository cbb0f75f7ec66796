#include "curvefitter.h"
#include "filedialog.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "testsupport.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QWebFrame>
#include <QWebView>

namespace {

void type(QTableWidget* table, const QVector<QPair<QString, QString>>& rows)
{
    for (int r = 0; r < rows.size(); ++r) {
        table->item(r, 0)->setText(rows[r].first);
        table->item(r, 1)->setText(rows[r].second);
    }
}

QList<QWebView*> resultsWindows()
{
    QList<QWebView*> views;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<QWebView*>(widget))
            if (view->isVisible())
                views << view;
    return views;
}

const QVector<QPair<QString, QString>> subject1{{"0.25", "1.5"},  {"0.5", "0.94"}, {"0.75", "0.78"}, {"1", "0.48"},
                                                {"1.25", "0.37"}, {"2", "0.19"},   {"3", "0.12"},    {"4", "0.11"},
                                                {"5", "0.08"},    {"6", "0.07"},   {"8", "0.05"}};

} // namespace

class FitCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void doubleExponentialShowsReportAndCopiesIt();
    void singleExponentialOpensAtTheCorner();
    void bothFitsStandSideBySide();
    void emptySheetShowsNothing_data();
    void emptySheetShowsNothing();
    void gapRowIsSkipped();
    void messageIsShownLikeAReport();
    void titleFollowsTheOpenedFile();
    void closedResultsWindowIsDeleted();

private:
    QTemporaryDir workingDirectory;
};

void FitCommandsTest::initTestCase()
{
    // An empty working directory: the shipped fit module beside the executable is used.
    QVERIFY(QDir::setCurrent(workingDirectory.path()));
}

void FitCommandsTest::init()
{
    QSettings().clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
}

void FitCommandsTest::cleanup()
{
    for (QWebView* view : resultsWindows())
        delete view;
}

void FitCommandsTest::doubleExponentialShowsReportAndCopiesIt()
{
    MainWindow window;
    window.move(40, 30);
    window.show();
    type(window.table(), subject1);
    triggerAction(window, "&Double Exponential");

    const QList<QWebView*> views = resultsWindows();
    QCOMPARE(views.size(), 1);
    QWebView* view = views.first();
    QCOMPARE(view->windowTitle(), QStringLiteral("Resultados"));
    QVERIFY(!view->parent());
    QCOMPARE(view->pos(), QPoint(window.x() + window.width(), window.y()));

    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->formats(), QStringList{"text/html"});
    const QString report = copied->html();
    QVERIFY(report.startsWith("<!DOCTYPE html>"));
    QVERIFY(report.contains("<td><b>P1</b></td><td>2.02928</td></tr><td><b>P2</b></td><td>1.78495</td></tr>"));
    const QString page = view->page()->mainFrame()->toPlainText();
    QVERIFY2(page.contains("Residual sum") && page.contains("2.02928") && page.contains("Beta Phase"),
             qPrintable(page));

    CurveFitter& fitter = *window.fitter();
    QCOMPARE(fitter.twoCompartmentReport(), report); // the same samples reached the fitter
    QCOMPARE(fitter.estimatedConcentrations().size(), subject1.size());
}

void FitCommandsTest::singleExponentialOpensAtTheCorner()
{
    MainWindow window;
    window.move(60, 50);
    window.show();
    type(window.table(), subject1);
    triggerAction(window, "&Single Exponential");
    const QList<QWebView*> views = resultsWindows();
    QCOMPARE(views.size(), 1);
    QCOMPARE(views.first()->pos(), QPoint(window.x(), window.y()));
    const QString report = QGuiApplication::clipboard()->mimeData()->html();
    QVERIFY(report.contains("<td><b>P1</b></td><td>2.03318</td></tr><td><b>P2</b></td><td>1.35627</td></tr>"));
    QVERIFY(!report.contains("Half Life")); // no dose stored
}

void FitCommandsTest::bothFitsStandSideBySide()
{
    MainWindow window;
    window.show();
    type(window.table(), subject1);
    triggerAction(window, "&Single Exponential");
    triggerAction(window, "&Double Exponential");
    QCOMPARE(resultsWindows().size(), 2);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->html().contains("Residual sum"));
}

void FitCommandsTest::emptySheetShowsNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("timeOnly");
    QTest::newRow("single, empty") << "&Single Exponential" << false;
    QTest::newRow("double, empty") << "&Double Exponential" << false;
    QTest::newRow("single, time without concentration") << "&Single Exponential" << true;
    QTest::newRow("double, time without concentration") << "&Double Exponential" << true;
}

void FitCommandsTest::emptySheetShowsNothing()
{
    QFETCH(QString, command);
    QFETCH(bool, timeOnly);
    MainWindow window;
    if (timeOnly)
        window.table()->item(0, 0)->setText("1");
    triggerAction(window, command);
    QVERIFY(resultsWindows().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("held before"));
}

void FitCommandsTest::gapRowIsSkipped()
{
    MainWindow window;
    type(window.table(), {{"1", "9"}, {"2", "8"}, {"", ""}, {"4", "6"}, {"5", "5"}});
    triggerAction(window, "&Single Exponential");
    const QString report = QGuiApplication::clipboard()->mimeData()->html();
    QVERIFY(report.contains("<td><b>X</b></td></br><td>1</td><td>2</td><td>4</td><td>5</td></br>"));
}

void FitCommandsTest::messageIsShownLikeAReport()
{
    MainWindow window;
    type(window.table(), {{"1", "9"}, {"2", "8"}, {"3", "6"}, {"4", "5"}});
    triggerAction(window, "&Double Exponential");
    const QList<QWebView*> views = resultsWindows();
    QCOMPARE(views.size(), 1);
    const QString message = "Cannot fit using double exponential model using less than five entries";
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), message);
    QCOMPARE(views.first()->page()->mainFrame()->toPlainText(), message);
}

void FitCommandsTest::titleFollowsTheOpenedFile()
{
    MainWindow window;
    QTemporaryDir folder;
    FileDialog::setNextOpenFileName(writeFile(folder.filePath("study1.csv"), "0.5,12\n1,9\n2,7\n"));
    QTimer::singleShot(0, [] {
        if (QWidget* options = QApplication::activeModalWidget())
            options->close();
    });
    triggerAction(window, "&Open");
    triggerAction(window, "&Single Exponential");
    QCOMPARE(resultsWindows().first()->windowTitle(), QStringLiteral("study1.csv"));
    cleanup();

    FileDialog::setNextOpenFileName(QString());
    triggerAction(window, "&Open");
    triggerAction(window, "&Single Exponential"); // the imported table is still there
    QCOMPARE(resultsWindows().size(), 1);
    QCOMPARE(resultsWindows().first()->windowTitle(), QString());
}

void FitCommandsTest::closedResultsWindowIsDeleted()
{
    MainWindow window;
    type(window.table(), subject1);
    triggerAction(window, "&Single Exponential");
    QPointer<QWebView> view = resultsWindows().first();
    view->close();
    QTRY_VERIFY(view.isNull());
}

ZELKORA_TEST_MAIN(FitCommandsTest)
#include "tst_fitcommands.moc"
