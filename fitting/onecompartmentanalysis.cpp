#include "onecompartmentanalysis.h"

#include "reporthtml.h"
#include "vectorkit.h"

#include <QObject>

void OneCompartmentAnalysis::setSamples(const QVector<double>& times, const QVector<double>& concentrations)
{
    this->times = times;
    this->concentrations = concentrations;
}

void OneCompartmentAnalysis::computePartialAucs()
{
    partialAucs = ::partialAreas(times, concentrations, p1, p2);
    aucExperimental = vectorSum(partialAucs);
}

void OneCompartmentAnalysis::computeEstimates(const QVector<double>& times)
{
    estimates = vectorScale(p1, vectorExp(times, -p2));
}

QString OneCompartmentAnalysis::htmlReport()
{
    using namespace ReportHtml;
    computePartialAucs();
    aucTheoretical = p1 / p2;
    volumeExperimental = dose / (p2 * aucExperimental);
    clearanceExperimental = dose / aucExperimental;
    clearanceTheoretical = dose / aucTheoretical;
    halfLife = volumeExperimental / clearanceExperimental * ln2;

    QString html = head();
    html += parameterRow(QStringLiteral("P1"), p1);
    html += parameterRow(QStringLiteral("P2"), p2);
    html += QStringLiteral("</table>") + tableStart();
    html += QStringLiteral("</tr><td><b>Data</b></td></br>");
    html += QStringLiteral("</tr><td><b>X</b></td></br>") + valueCells(times);
    html += QStringLiteral("</br></tr><td><b>Y</b></td>") + valueCells(concentrations);
    computeEstimates(times);
    html += QStringLiteral("</tr><td><b>Y (est.)</b></td>") + valueCells(estimates);
    html += sectionBreak();
    html += areaRows(partialAucs, aucExperimental, aucTheoretical);
    html += sectionBreak();
    if (dose != -1.0) {
        html += heading(QObject::tr("Half Life")) + QStringLiteral("</br>") + valueCell(halfLife);
        html += sectionBreak();
        html += clearanceRows(clearanceExperimental, clearanceTheoretical);
    }
    html += tail();
    return html;
}
