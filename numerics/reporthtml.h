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
// Ends a table, breaks the line twice and starts the next table.
QString sectionBreak();
// "</tr><td><b>label</b></td>"
QString heading(const QString& label);
// "</tr><td>label</td>"
QString labelCell(const QString& label);
// The area rows: heading, partial areas, experimental and theoretical AUC.
QString areaRows(const QVector<double>& partialAreas, double experimental, double theoretical);
// The total body clearance rows: heading, experimental and theoretical clearance.
QString clearanceRows(double experimental, double theoretical);
QString tail();

} // namespace ReportHtml

// The areas under the measured curve: from time 0 (where the model gives
// concentrationAtZero) to the first sample, each sampling interval as a trapezoid, and the
// tail from the last sample to infinity with the terminal rate. n samples give n + 1 areas;
// the times are taken in the order given.
QVector<double> partialAreas(const QVector<double>& times, const QVector<double>& concentrations,
                             double concentrationAtZero, double terminalRate);

extern const double ln2;
