#include "reporthtml.h"

#include <QObject>

const double ln2 = 0.6931471805599453;

namespace ReportHtml {

QString head()
{
    return QStringLiteral("<!DOCTYPE html><html><head><style>table,th,td{border:1px solid "
                          "black;border-collapse:collapse;}th,td{padding:5px;}th{text-align:left;}td{white-space:"
                          "nowrap;}</style></head>\n<body><table style=\"width:300px\"><td>Parameters</td></tr>");
}

QString tableStart()
{
    return QStringLiteral("<table style=\"width:300px\">");
}

QString valueCell(double value)
{
    return QStringLiteral("<td>%1</td>").arg(value);
}

QString valueCells(const QVector<double>& values)
{
    QString cells;
    for (double value : values)
        cells += valueCell(value);
    return cells;
}

QString parameterRow(const QString& name, double value)
{
    return QStringLiteral("<td><b>%1</b></td>").arg(name) + valueCell(value) + QStringLiteral("</tr>");
}

QString sectionBreak()
{
    return QStringLiteral("</table></br></br>") + tableStart();
}

QString heading(const QString& label)
{
    return QStringLiteral("</tr><td><b>") + label + QStringLiteral("</b></td>");
}

QString labelCell(const QString& label)
{
    return QStringLiteral("</tr><td>") + label + QStringLiteral("</td>");
}

QString areaRows(const QVector<double>& partialAreas, double experimental, double theoretical)
{
    return heading(QObject::tr("AUC")) + labelCell(QObject::tr("Partials")) + valueCells(partialAreas)
        + labelCell(QObject::tr("Experimental AUC")) + valueCell(experimental)
        + labelCell(QObject::tr("Theoretical AUC")) + valueCell(theoretical);
}

QString clearanceRows(double experimental, double theoretical)
{
    return heading(QObject::tr("Total body Clearance")) + labelCell(QObject::tr("Experimental"))
        + valueCell(experimental) + labelCell(QObject::tr("Theoretical")) + valueCell(theoretical);
}

QString tail()
{
    return QStringLiteral("</table> </body> </html>");
}

} // namespace ReportHtml

QVector<double> partialAreas(const QVector<double>& times, const QVector<double>& concentrations,
                             double concentrationAtZero, double terminalRate)
{
    QVector<double> areas;
    const int n = times.size();
    if (n == 0)
        return areas;
    areas.reserve(n + 1);
    areas.append((concentrationAtZero + concentrations[0]) * 0.5 * times[0]);
    for (int i = 1; i < n; ++i) {
        const double width = times[i] - times[i - 1];
        areas.append(concentrations[i - 1] * width - (concentrations[i - 1] - concentrations[i]) * 0.5 * width);
    }
    areas.append(concentrations[n - 1] / terminalRate);
    return areas;
}
