#include "curvefitter.h"
#include "mainwindow.h"

#include <QDebug>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

namespace {

QwtPlotCurve* makeCurve(const QString& title, Qt::GlobalColor lineColor, Qt::GlobalColor fillColor,
                        Qt::GlobalColor outlineColor)
{
    auto* curve = new QwtPlotCurve();
    curve->setTitle(title);
    curve->setPen(lineColor, 2, Qt::SolidLine);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(fillColor),
                                   QPen(QBrush(outlineColor), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
                                   QSize(8, 8)));
    return curve;
}

} // namespace

void MainWindow::onPlot()
{
    delete plot;
    plot = new QwtPlot();

    QVector<double> times, concentrations;
    readSamples(times, concentrations);
    const QVector<double> estimates = curveFitter->estimatedConcentrations();

    plot->setTitle(QStringLiteral("GFR Plot"));
    plot->setCanvasBackground(QBrush(Qt::gray, Qt::SolidPattern));
    plot->setAxisTitle(QwtPlot::xBottom, tr("Time"));
    plot->setAxisTitle(QwtPlot::yLeft, tr("Concentrations"));
    // Without samples the axes keep Qwt's automatic scaling.
    if (!times.isEmpty()) {
        plot->setAxisScale(QwtPlot::xBottom, times.first(), times.last() + 10, 0);
        plot->setAxisScale(QwtPlot::yLeft, 0, concentrations.first(), 0);
    }
    plot->insertLegend(new QwtLegend(), QwtPlot::RightLegend, -1);

    qWarning() << estimates;

    QwtPlotCurve* experimental = makeCurve(QStringLiteral("Experimental"), Qt::blue, Qt::yellow, Qt::red);
    QwtPlotCurve* estimated = makeCurve(QStringLiteral("Estimated"), Qt::yellow, Qt::white, Qt::green);
    experimental->setSamples(times, concentrations);
    estimated->setSamples(times, estimates);
    experimental->attach(plot);
    estimated->attach(plot);

    plot->resize(600, 400);
    plot->replot();
    plot->show();
}
