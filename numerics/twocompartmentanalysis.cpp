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
{}

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

    QString html = head();
    html += parameterRow(QStringLiteral("P1"), a);
    html += parameterRow(QStringLiteral("P2"), alpha);
    html += parameterRow(QStringLiteral("P3"), b);
    html += parameterRow(QStringLiteral("P4"), beta);
    html += sectionBreak();
    html += QStringLiteral("<td><b>Residual sum</b></td></tr>") + valueCell(residualSum);
    html += sectionBreak();
    html += QStringLiteral("<td><b>Data</b></td></tr><td><b>X</b></td>") + valueCells(times);
    html += QStringLiteral("</tr><td><b>Y</b></td>") + valueCells(concentrations);
    html += QStringLiteral("</tr><td><b>Y (est.)</b></td>") + valueCells(estimates);
    html += sectionBreak();
    html += areaRows(partialAucs, aucExperimental, aucTheoretical);
    html += sectionBreak();
    html += heading(QObject::tr("Concentration at time 0")) + QStringLiteral("</tr>") + valueCell(a + b);
    html += sectionBreak();
    html += heading(QObject::tr("Half Life"));
    html += labelCell(QObject::tr("Alpha Phase")) + valueCell(halfLifeAlpha);
    html += labelCell(QObject::tr("Beta Phase")) + valueCell(halfLifeBeta);
    html += sectionBreak() + sectionBreak(); // the second table stays empty
    html += clearanceRows(clearanceExperimental, clearanceTheoretical);
    html += tail();
    return html;
}
