#include "curvefitter.h"
#include "mainwindow.h"
#include "pythoninterpreter.h"
#include "scriptedfit.h"
#include "testsupport.h"

#include <QAction>
#include <QSettings>
#include <QTableWidget>
#include <QWebView>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_layout.h>
#include <qwt_scale_div.h>
#include <qwt_symbol.h>

namespace {

QStringList warnings;

void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        warnings << message;
}

void type(QTableWidget* table, const QVector<QPair<double, double>>& rows)
{
    for (int r = 0; r < rows.size(); ++r) {
        table->item(r, 0)->setText(QString::number(rows[r].first));
        table->item(r, 1)->setText(QString::number(rows[r].second));
    }
}

QList<QwtPlotCurve*> curves(QwtPlot* plot)
{
    QList<QwtPlotCurve*> found;
    for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
        found << static_cast<QwtPlotCurve*>(item);
    return found;
}

QVector<double> yValues(const QwtPlotCurve* curve)
{
    QVector<double> values;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        values << curve->sample(static_cast<int>(i)).y();
    return values;
}

// Plots and returns the warning lines the command wrote.
QStringList plotAndCapture(MainWindow& window)
{
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    triggerAction(window, "&Plot");
    qInstallMessageHandler(previous);
    return warnings;
}

} // namespace

class PlotTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void plotOfTheExample();
    void warningLineBeforeAndAfterAFit();
    void oneWindowAfterTwoCommands();
    void estimatesOfTheLatestSuccessfulFit();
    void emptySheetPlotsEmptyCurves();

private:
    std::unique_ptr<ScriptedFit> script;
};

void PlotTest::initTestCase()
{
    QSettings().clear();
    script = std::make_unique<ScriptedFit>();
    PythonInterpreter::setShippedModuleDirectory(QString());
}

void PlotTest::cleanup()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QWebView*>(widget))
            delete widget;
}

void PlotTest::plotOfTheExample()
{
    MainWindow window;
    type(window.table(), {{0.5, 10}, {1, 8}, {2, 5}, {4, 2}});
    plotAndCapture(window);
    QwtPlot* plot = window.plotWindow();
    QVERIFY(plot);
    QVERIFY(!plot->parent());
    QVERIFY(plot->isVisible());
    QCOMPARE(plot->size(), QSize(600, 400));
    QCOMPARE(plot->title().text(), QStringLiteral("GFR Plot"));
    QCOMPARE(plot->canvasBackground(), QBrush(Qt::gray, Qt::SolidPattern));
    QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Time"));
    QCOMPARE(plot->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("Concentrations"));
    const QwtScaleDiv bottom = plot->axisScaleDiv(QwtPlot::xBottom);
    QCOMPARE(bottom.lowerBound(), 0.5);
    QCOMPARE(bottom.upperBound(), 14.0);
    const QwtScaleDiv left = plot->axisScaleDiv(QwtPlot::yLeft);
    QCOMPARE(left.lowerBound(), 0.0);
    QCOMPARE(left.upperBound(), 10.0);
    QVERIFY(qobject_cast<QwtLegend*>(plot->legend()));
    QCOMPARE(plot->plotLayout()->legendPosition(), QwtPlot::RightLegend);

    const QList<QwtPlotCurve*> drawn = curves(plot);
    QCOMPARE(drawn.size(), 2);
    QCOMPARE(drawn[0]->title().text(), QStringLiteral("Experimental"));
    QCOMPARE(drawn[0]->pen(), QPen(QBrush(Qt::blue), 2, Qt::SolidLine));
    QVERIFY(drawn[0]->testRenderHint(QwtPlotItem::RenderAntialiased));
    QCOMPARE(drawn[0]->symbol()->style(), QwtSymbol::Ellipse);
    QCOMPARE(drawn[0]->symbol()->size(), QSize(8, 8));
    QCOMPARE(drawn[0]->symbol()->brush(), QBrush(Qt::yellow));
    QCOMPARE(drawn[0]->symbol()->pen(), QPen(QBrush(Qt::red), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    QCOMPARE(yValues(drawn[0]), (QVector<double>{10, 8, 5, 2}));
    QCOMPARE(drawn[1]->title().text(), QStringLiteral("Estimated"));
    QCOMPARE(drawn[1]->pen(), QPen(QBrush(Qt::yellow), 2, Qt::SolidLine));
    QCOMPARE(drawn[1]->symbol()->brush(), QBrush(Qt::white));
    QCOMPARE(drawn[1]->symbol()->pen(), QPen(QBrush(Qt::green), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    QCOMPARE(drawn[1]->dataSize(), size_t(0));
}

void PlotTest::warningLineBeforeAndAfterAFit()
{
    MainWindow window;
    type(window.table(), {{1, 8}, {2, 4}, {4, 1}});
    QCOMPARE(plotAndCapture(window), QStringList{"QVector()"});
    script->answerValues({16, 0.693147});
    triggerAction(window, "&Single Exponential");
    QCOMPARE(plotAndCapture(window), QStringList{"QVector(8, 4, 1)"});
}

void PlotTest::oneWindowAfterTwoCommands()
{
    MainWindow window;
    type(window.table(), {{1, 8}, {2, 4}});
    plotAndCapture(window);
    QPointer<QwtPlot> first = window.plotWindow();
    window.table()->item(2, 0)->setText("3");
    window.table()->item(2, 1)->setText("2");
    plotAndCapture(window);
    QVERIFY(first.isNull());
    int plots = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        plots += qobject_cast<QwtPlot*>(widget) != nullptr;
    QCOMPARE(plots, 1);
    QCOMPARE(yValues(curves(window.plotWindow())[0]), (QVector<double>{8, 4, 2}));
}

void PlotTest::estimatesOfTheLatestSuccessfulFit()
{
    MainWindow window;
    type(window.table(), {{0, 3}, {1, 2}, {2, 1.5}, {3, 1.2}, {4, 1}});
    script->answerValues({3, 0.5});
    triggerAction(window, "&Single Exponential");
    plotAndCapture(window);
    QCOMPARE(yValues(curves(window.plotWindow())[1]), window.fitter()->estimatedConcentrations());
    QCOMPARE(yValues(curves(window.plotWindow())[1])[0], 3.0);

    script->answerValues({2, 1, 1, 0.1});
    triggerAction(window, "&Double Exponential");
    script->answerText("no convergence");
    triggerAction(window, "&Single Exponential"); // fails: the two-compartment curve stays
    plotAndCapture(window);
    const QVector<double> estimated = yValues(curves(window.plotWindow())[1]);
    QCOMPARE(estimated.size(), 5);
    QCOMPARE(estimated[1], std::exp(-1.0) * 2 + std::exp(-0.1));
}

void PlotTest::emptySheetPlotsEmptyCurves()
{
    MainWindow window;
    QCOMPARE(plotAndCapture(window), QStringList{"QVector()"});
    QwtPlot* plot = window.plotWindow();
    QVERIFY(plot && plot->isVisible());
    for (QwtPlotCurve* curve : curves(plot))
        QCOMPARE(curve->dataSize(), size_t(0));
    QVERIFY(plot->axisAutoScale(QwtPlot::xBottom));
}

ZELKORA_TEST_MAIN(PlotTest)
#include "tst_plot.moc"
