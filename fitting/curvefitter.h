#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

class PythonInterpreter;

// The fitting object: the samples of the current fit, the estimated curve of the last fit
// that produced a report, the dose, the starting values of the two-compartment fit and the
// embedded interpreter that runs the fit module.
class CurveFitter
{
public:
    // Reads the stored dose (-1 when none is stored) and starts the interpreter.
    CurveFitter();
    ~CurveFitter();
    CurveFitter(const CurveFitter&) = delete;
    CurveFitter& operator=(const CurveFitter&) = delete;

    void setSamples(const QVector<double>& times, const QVector<double>& concentrations);
    void setDose(double dose) { this->dose = dose; }
    void setP1(double value) { p1 = value; }
    void setP2(double value) { p2 = value; }
    void setP3(double value) { p3 = value; }
    void setP4(double value) { p4 = value; }
    QVector<double> estimatedConcentrations() const { return estimates; }

    double currentDose() const { return dose; }
    QVector<double> initialParameters() const { return {p1, p2, p3, p4}; }
    double lastResidualSum() const { return residualSum; }
    PythonInterpreter& pythonInterpreter() const { return *interpreter; }

    // The one-compartment HTML report, or a one-line message when no fit was made.
    QString oneCompartmentReport();
    // The two-compartment HTML report, or a one-line message when no fit was made.
    QString twoCompartmentReport();

    // Runs fit.LM1COMP; returns an empty text when p1 and p2 were written, otherwise the
    // module's own text or why the call failed.
    QString fitSingleExponential(const QVector<double>& times, const QVector<double>& concentrations, double& p1,
                                 double& p2, double intercept, double slope);
    // Runs fit.doubleExpFit from the given start; outputs in model order P1, P2, P3, P4.
    QString fitDoubleExponential(const QVector<double>& times, const QVector<double>& concentrations, double& w1,
                                 double& w2, double& w3, double& w4, double p1, double p2, double p3, double p4);
    // As fitDoubleExponential from the held starting values; outputs in the order P1, P3,
    // P2, P4, all -1 unless every fitted value is positive.
    QString fitDoubleExponentialGuarded(const QVector<double>& times, const QVector<double>& concentrations, double& a,
                                        double& b, double& alpha, double& beta);

private:
    QVector<double> callFit(const char* function, const QList<QVariant>& arguments, int parameterCount, QString& error);

    QVector<double> times;
    QVector<double> concentrations;
    QVector<double> estimates;
    double p1 = 1.0;
    double p2 = 0.1;
    double p3 = 1.0;
    double p4 = 0.1;
    std::unique_ptr<PythonInterpreter> interpreter;
    double residualSum = 0.0;
    double dose = -1.0;
    // Set when the error of the last fit call is a failure of the call, not the module's text.
    bool callFailed = false;
};
