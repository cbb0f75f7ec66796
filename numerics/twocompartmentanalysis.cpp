#include "twocompartmentanalysis.h"

#include "reporthtml.h"
#include "vectorkit.h"

#include <QObject>
#include <cmath>

TwoCompartmentAnalysis::TwoCompartmentAnalysis(const QVector<double>& times, const QVector<double>& concentrations,
                                               double dose)
    : times(times)
    , concentrations(concentrations)
    , dose(dose)
{ }

void TwoCompartmentAnalysis::setParameters(double a, double alpha, double b, double beta)
{
    this->a = a;
    this->alpha = alpha;
    this->b = b;
    this->beta = beta;
}

void TwoCompartmentAnalysis::setResidualSum(double residualSum)
{
    this->residualSum = residualSum;
}

void TwoCompartmentAnalysis::computePartialAucs()
{
    partialAucs = ::partialAreas(times, concentrations, a + b, beta);
    aucExperimental = vectorSum(partialAucs);
}

void TwoCompartmentAnalysis::computeTheoreticalAuc()
{
    aucTheoretical = a / alpha + b / beta;
}

void TwoCompartmentAnalysis::computeEstimates()
{
    estimates.clear();
    estimates.reserve(times.size());
    for (double t : times)
        estimates.append(a * std::exp(-alpha * t) + b * std::exp(-beta * t));
}

QString TwoCompartmentAnalysis::htmlReport()
{
    using namespace ReportHtml;
    computePartialAucs();
    computeTheoreticalAuc();
    clearanceExperimental = dose / aucExperimental;
    clearanceTheoretical = dose / aucTheoretical;
    halfLifeAlpha = ln2 / alpha;
    halfLifeBeta = ln2 / beta;
    computeEstimates();

    const QString sectionBreak = QStringLiteral("</table></br></br>") + tableStart();
    QString html = head();
    html += parameterRow(QStringLiteral("P1"), a);
    html += parameterRow(QStringLiteral("P2"), alpha);
    html += parameterRow(QStringLiteral("P3"), b);
    html += parameterRow(QStringLiteral("P4"), beta);
    html += sectionBreak;
    html += QStringLiteral("<td><b>Residual sum</b></td></tr>") + valueCell(residualSum);
    html += sectionBreak;
    html += QStringLiteral("<td><b>Data</b></td></tr><td><b>X</b></td>") + valueCells(times);
    html += QStringLiteral("</tr><td><b>Y</b></td>") + valueCells(concentrations);
    html += QStringLiteral("</tr><td><b>Y (est.)</b></td>") + valueCells(estimates);
    html += sectionBreak;
    html += QStringLiteral("</tr><td><b>") + QObject::tr("AUC") + QStringLiteral("</b></td>");
    html += QStringLiteral("</tr><td>") + QObject::tr("Partials") + QStringLiteral("</td>") + valueCells(partialAucs);
    html += QStringLiteral("</tr><td>") + QObject::tr("Experimental AUC") + QStringLiteral("</td>")
        + valueCell(aucExperimental);
    html += QStringLiteral("</tr><td>") + QObject::tr("Theoretical AUC") + QStringLiteral("</td>")
        + valueCell(aucTheoretical);
    html += sectionBreak;
    html += QStringLiteral("</tr><td><b>") + QObject::tr("Concentration at time 0") + QStringLiteral("</b></td></tr>")
        + valueCell(a + b);
    html += sectionBreak;
    html += QStringLiteral("</tr><td><b>") + QObject::tr("Half Life") + QStringLiteral("</b></td>");
    html += QStringLiteral("</tr><td>") + QObject::tr("Alpha Phase") + QStringLiteral("</td>")
        + valueCell(halfLifeAlpha);
    html += QStringLiteral("</tr><td>") + QObject::tr("Beta Phase") + QStringLiteral("</td>") + valueCell(halfLifeBeta);
    html += sectionBreak + sectionBreak;
    html += QStringLiteral("</tr><td><b>") + QObject::tr("Total body Clearance") + QStringLiteral("</b></td>");
    html += QStringLiteral("</tr><td>") + QObject::tr("Experimental") + QStringLiteral("</td>")
        + valueCell(clearanceExperimental);
    html += QStringLiteral("</tr><td>") + QObject::tr("Theoretical") + QStringLiteral("</td>")
        + valueCell(clearanceTheoretical);
    html += tail();
    return html;
}
