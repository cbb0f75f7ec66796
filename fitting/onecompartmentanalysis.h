#pragma once

#include <QString>
#include <QVector>

// Pharmacokinetic quantities and the HTML report of a fitted one-compartment model
// c(t) = p1 e^(-p2 t). A dose of exactly -1 means none was entered: the report then leaves
// out half life and clearance.
class OneCompartmentAnalysis
{
public:
    void setSamples(const QVector<double>& times, const QVector<double>& concentrations);
    void setP1(double p1) { this->p1 = p1; }
    void setP2(double p2) { this->p2 = p2; }
    void setDose(double dose) { this->dose = dose; }

    void computePartialAucs();
    void computeEstimates(const QVector<double>& times);
    QString htmlReport();

    const QVector<double>& partialAreas() const { return partialAucs; }
    const QVector<double>& estimatedConcentrations() const { return estimates; }

private:
    QVector<double> times;
    QVector<double> concentrations;
    double p1 = 0.0;
    double p2 = 0.0;
    QVector<double> estimates;
    double halfLife = 0.0;
    double aucExperimental = 0.0;
    double volumeExperimental = 0.0;
    double clearanceExperimental = 0.0;
    double aucTheoretical = 0.0;
    double clearanceTheoretical = 0.0;
    double dose = -1.0;
    QVector<double> partialAucs;
};
