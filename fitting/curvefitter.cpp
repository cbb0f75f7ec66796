#include "curvefitter.h"

#include "estimates.h"
#include "onecompartmentanalysis.h"
#include "pythoninterpreter.h"
#include "twocompartmentanalysis.h"

#include <QSettings>

namespace {

const QString convergenceUnreachable = QStringLiteral("Convergence unreacheable");

} // namespace

CurveFitter::CurveFitter()
{
    const QVariant storedDose = QSettings().value(QStringLiteral("dose"));
    if (storedDose.isValid())
        dose = storedDose.toDouble();
    interpreter = std::make_unique<PythonInterpreter>();
}

CurveFitter::~CurveFitter() = default;

void CurveFitter::setSamples(const QVector<double>& times, const QVector<double>& concentrations)
{
    this->times = times;
    this->concentrations = concentrations;
}

QVector<double> CurveFitter::callFit(const char* function, const QList<QVariant>& arguments, int parameterCount,
                                     QString& error)
{
    const QVector<double> values = interpreter->callFunction(QStringLiteral("."), QStringLiteral("fit"),
                                                             QString::fromLatin1(function), arguments, error);
    callFailed = !interpreter->lastFailure().isEmpty();
    if (callFailed) {
        error = interpreter->lastFailure();
    } else if (error.isEmpty() && values.size() < parameterCount) {
        callFailed = true;
        error = values.isEmpty() ? convergenceUnreachable
                                 : QStringLiteral("fit.%1 returned %2 values for the %3 parameters of the model")
                                       .arg(QString::fromLatin1(function))
                                       .arg(values.size())
                                       .arg(parameterCount);
    }
    return values;
}

QString CurveFitter::fitSingleExponential(const QVector<double>& times, const QVector<double>& concentrations,
                                          double& p1, double& p2, double intercept, double slope)
{
    QString error;
    const QList<QVariant> arguments{QVariant::fromValue(times), QVariant::fromValue(concentrations),
                                    QVariant(intercept), QVariant(slope)};
    const QVector<double> values = callFit("LM1COMP", arguments, 2, error);
    if (!error.isEmpty())
        return error;
    p1 = values[0];
    p2 = values[1];
    return error;
}

QString CurveFitter::fitDoubleExponential(const QVector<double>& times, const QVector<double>& concentrations,
                                          double& w1, double& w2, double& w3, double& w4, double p1, double p2,
                                          double p3, double p4)
{
    QString error;
    const QList<QVariant> arguments{QVariant::fromValue(times),
                                    QVariant::fromValue(concentrations),
                                    QVariant(p1),
                                    QVariant(p2),
                                    QVariant(p3),
                                    QVariant(p4)};
    const QVector<double> values = callFit("doubleExpFit", arguments, 4, error);
    if (!error.isEmpty())
        return error;
    w1 = values[0];
    w2 = values[1];
    w3 = values[2];
    w4 = values[3];
    return error;
}

QString CurveFitter::fitDoubleExponentialGuarded(const QVector<double>& times, const QVector<double>& concentrations,
                                                 double& a, double& b, double& alpha, double& beta)
{
    double w1 = 0.0, w2 = 0.0, w3 = 0.0, w4 = 0.0;
    const QString error = fitDoubleExponential(times, concentrations, w1, w2, w3, w4, p1, p2, p3, p4);
    if (!error.isEmpty())
        return error;
    if (w1 > 0 && w2 > 0 && w3 > 0 && w4 > 0) {
        a = w1;
        b = w3;
        alpha = w2;
        beta = w4;
        residualSum = scaledResidualSum(times, concentrations);
    } else {
        a = b = alpha = beta = -1.0;
    }
    return error;
}

QString CurveFitter::oneCompartmentReport()
{
    OneCompartmentAnalysis analysis;
    analysis.setDose(dose);
    analysis.setSamples(times, concentrations);
    const double intercept = logLinearIntercept(times, concentrations);
    const double slope = logLinearSlope(times, concentrations);
    double fittedP1 = 0.0, fittedP2 = 0.0;
    const QString error = fitSingleExponential(times, concentrations, fittedP1, fittedP2, intercept, slope);
    if (!error.isEmpty())
        return callFailed ? error : convergenceUnreachable;
    analysis.setP1(fittedP1);
    analysis.setP2(fittedP2);
    const QString report = analysis.htmlReport();
    estimates = analysis.estimatedConcentrations(); // P1 e^(-P2 t) at each time, for the plot
    return report;
}

QString CurveFitter::twoCompartmentReport()
{
    if (times.size() < 5)
        return QStringLiteral("Cannot fit using double exponential model using less than five entries");
    double a = 0.0, b = 0.0, alpha = 0.0, beta = 0.0;
    const QString error = fitDoubleExponentialGuarded(times, concentrations, a, b, alpha, beta);
    if (!error.isEmpty())
        return error;
    if (a == -1.0 && alpha == -1.0 && b == -1.0 && beta == -1.0)
        return convergenceUnreachable;
    TwoCompartmentAnalysis analysis(times, concentrations, dose);
    analysis.setParameters(a, alpha, b, beta);
    analysis.setResidualSum(residualSum);
    analysis.computePartialAucs();
    analysis.computeTheoreticalAuc();
    const QString report = analysis.htmlReport();
    estimates = analysis.estimatedConcentrations(); // the fitted curve at each time, for the plot
    return report;
}
