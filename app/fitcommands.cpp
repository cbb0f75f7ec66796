#include "curvefitter.h"
#include "importexport.h"
#include "mainwindow.h"
#include "sampleextraction.h"
#include "spreadsheetwidget.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWebView>

bool MainWindow::readSamples(QVector<double>& times, QVector<double>& concentrations) const
{
    times.clear();
    concentrations.clear();
    if (!sheet)
        return false;
    QVector<QVariant> timeList = SpreadSheetWidget::columnValues(sheet, 0);
    QVector<QVariant> concentrationList = SpreadSheetWidget::columnValues(sheet, 1);
    dropIncompletePairs(timeList, concentrationList);
    if (timeList.isEmpty() && concentrationList.isEmpty())
        return false;
    times = asDoubleVector(timeList);
    concentrations = asDoubleVector(concentrationList);
    return true;
}

void MainWindow::showReport(const QString& report, const QPoint& position)
{
    if (report == QString())
        return;
    auto* view = new QWebView();
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(importExport ? importExport->shortFileName() : QStringLiteral("Resultados"));
    view->setHtml(report, QUrl());
    view->move(position);
    view->show();

    auto* mimeData = new QMimeData();
    mimeData->setHtml(report);
    QGuiApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
}

void MainWindow::on1CompFit()
{
    QVector<double> times, concentrations;
    if (!readSamples(times, concentrations))
        return;
    curveFitter->setSamples(times, concentrations);
    showReport(curveFitter->oneCompartmentReport(), QPoint(x(), y()));
}

void MainWindow::on2CompFit()
{
    QVector<double> times, concentrations;
    if (!readSamples(times, concentrations))
        return;
    curveFitter->setSamples(times, concentrations);
    showReport(curveFitter->twoCompartmentReport(), QPoint(x() + width(), y()));
}
