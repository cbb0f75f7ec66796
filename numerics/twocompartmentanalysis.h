#pragma once

#include <QString>
#include <QVector>

// Pharmacokinetic quantities and the HTML report of a fitted two-compartment model
// c(t) = a e^(-alpha t) + b e^(-beta t). beta is always the rate of the extrapolated tail.
class TwoCompartmentAnalysis
{
public:
    TwoCompartmentAnalysis(const QVector<double>& times, const QVector<double>& concentrations, double dose);

    void setParameters(double a, double alpha, double b, double beta);
    void setResidualSum(double residualSum);
    void computePartialAucs();
    void computeTheoreticalAuc();
    void computeEstimates();
    // Recomputes every derived value, then builds the report.
    QString htmlReport();

    const QVector<double>& partialAreas() const { return partialAucs; }
    const QVector<double>& estimatedConcentrations() const { return estimates; }

private:
    double a = 0.0;
    double alpha = 0.0;
    double b = 0.0;
    double beta = 0.0;
    QVector<double> times;
    QVector<double> concentrations;
    QVector<double> partialAucs;
    QVector<double> estimates;
    double dose;
    double aucTheoretical = 0.0;
    double aucExperimental = 0.0;
    double residualSum = 0.0;
    double clearanceExperimental = 0.0;
    double clearanceTheoretical = 0.0;
    double halfLifeAlpha = 0.0;
    double halfLifeBeta = 0.0;
};
