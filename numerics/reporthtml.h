#pragma once

#include <QString>
#include <QVector>

// Markup shared by the one- and two-compartment reports. The markup is kept exactly as
// the reports have always been written (rows closed but never opened, "</br>" breaks):
// users paste these reports into their own documents.
namespace ReportHtml {

// Document head with the style sheet, the body start and the parameter table's first row.
QString head();
// "<table style="width:300px">"
QString tableStart();
// "<td>value</td>", the value through QString::arg(double) with its defaults.
QString valueCell(double value);
QString valueCells(const QVector<double>& values);
// A labelled parameter row, "<td><b>P1</b></td><td>value</td></tr>".
QString parameterRow(const QString& name, double value);
QString tail();

} // namespace ReportHtml

// The areas under the measured curve: from time 0 (where the model gives
// concentrationAtZero) to the first sample, each sampling interval as a trapezoid, and the
// tail from the last sample to infinity with the terminal rate. n samples give n + 1 areas;
// the times are taken in the order given.
QVector<double> partialAreas(const QVector<double>& times, const QVector<double>& concentrations,
                             double concentrationAtZero, double terminalRate);

extern const double ln2;
