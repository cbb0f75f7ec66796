#include "curvefitter.h"
#include "estimates.h"
#include "pythoninterpreter.h"
#include "scriptedfit.h"
#include "testsupport.h"

#include <limits>
#include <memory>

using Vector = QVector<double>;
Q_DECLARE_METATYPE(Vector)

namespace {

const double ln2 = 0.6931471805599453;
const double notANumber = std::numeric_limits<double>::quiet_NaN();

QString golden(const QString& name)
{
    QFile file(QStringLiteral(ZELKORA_TEST_DATA "/golden/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

Vector toVector(const QJsonValue& value)
{
    Vector result;
    for (const QJsonValue& item : value.toArray())
        result.append(item.toDouble());
    return result;
}

} // namespace

class ReportsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void oneCompartmentGolden_data();
    void oneCompartmentGolden();
    void oneCompartmentReceivesLogLinearStart();
    void oneCompartmentMessages_data();
    void oneCompartmentMessages();
    void twoCompartmentGolden();
    void twoCompartmentReceivesStartingValues();
    void twoCompartmentMessages_data();
    void twoCompartmentMessages();
    void fewerThanFiveSamplesDoNotCallTheModule();
    void estimatesKeptAfterFailedFit();
    void missingModuleNamesTheCause();

private:
    std::unique_ptr<ScriptedFit> script;
    std::unique_ptr<CurveFitter> fitter;
};

void ReportsTest::init()
{
    script = std::make_unique<ScriptedFit>();
    fitter = std::make_unique<CurveFitter>();
    fitter->pythonInterpreter().forgetModule(QStringLiteral("fit"));
    PythonInterpreter::setShippedModuleDirectory(QString());
}

void ReportsTest::oneCompartmentGolden_data()
{
    QTest::addColumn<double>("dose");
    QTest::addColumn<QString>("file");
    QTest::newRow("dose 100") << 100.0 << "one_compartment_dose_100.html";
    QTest::newRow("no dose") << -1.0 << "one_compartment_no_dose.html";
}

void ReportsTest::oneCompartmentGolden()
{
    QFETCH(double, dose);
    QFETCH(QString, file);
    script->answerValues({16, ln2, 99}); // items past the second are ignored
    fitter->setDose(dose);
    fitter->setSamples({1, 2, 4}, {8, 4, 1});
    QCOMPARE(fitter->oneCompartmentReport(), golden(file));
    const Vector estimates = fitter->estimatedConcentrations();
    QCOMPARE(estimates.size(), 3);
    QVERIFY(fuzzyCompare(estimates[0], 8, 1e-15) && fuzzyCompare(estimates[2], 1, 1e-15));
}

void ReportsTest::oneCompartmentReceivesLogLinearStart()
{
    script->answerValues({8, 0.5});
    const Vector times{0.5, 1, 1.5}, concentrations{6, 4, 3};
    fitter->setSamples(times, concentrations);
    const QString report = fitter->oneCompartmentReport();
    QVERIFY(report.contains("<td>Partials</td><td>3.5</td><td>2.5</td><td>1.75</td><td>6</td>"));
    QVERIFY(report.contains("<td>Experimental AUC</td><td>13.75</td>"));
    QCOMPARE(script->lastFunction(), QStringLiteral("LM1COMP"));
    const QJsonArray arguments = script->lastArguments();
    QCOMPARE(arguments.size(), 4);
    QCOMPARE(toVector(arguments[0]), times);
    QCOMPARE(toVector(arguments[1]), concentrations);
    QCOMPARE(arguments[2].toDouble(), logLinearIntercept(times, concentrations));
    QCOMPARE(arguments[3].toDouble(), logLinearSlope(times, concentrations));
}

void ReportsTest::oneCompartmentMessages_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Vector>("values");
    QTest::addColumn<QString>("report");
    QTest::newRow("module string") << "str" << Vector{} << "Convergence unreacheable";
    QTest::newRow("raised") << "raise" << Vector{} << "fit.LM1COMP raised ValueError: no luck";
    QTest::newRow("None") << "none" << Vector{} << "fit.LM1COMP returned a NoneType instead of a list of numbers";
    QTest::newRow("empty list") << "list" << Vector{} << "Convergence unreacheable";
    QTest::newRow("short list") << "list" << Vector{3}
                                << "fit.LM1COMP returned 1 values for the 2 parameters of the model";
}

void ReportsTest::oneCompartmentMessages()
{
    QFETCH(QString, kind);
    QFETCH(Vector, values);
    QFETCH(QString, report);
    script->answerAs(kind, values, kind == "str" ? "singular matrix" : "no luck");
    fitter->setSamples({1, 2, 4}, {8, 4, 1});
    QCOMPARE(fitter->oneCompartmentReport(), report);
    QVERIFY(fitter->estimatedConcentrations().isEmpty());
}

void ReportsTest::twoCompartmentGolden()
{
    script->answerValues({10, 1.5, 5, 0.2});
    fitter->setDose(100);
    const Vector times{0.5, 1, 2, 4, 8}, concentrations{12, 9, 7, 5, 3};
    fitter->setSamples(times, concentrations);
    QCOMPARE(fitter->twoCompartmentReport(), golden("two_compartment_dose_100.html"));
    QCOMPARE(fitter->lastResidualSum(), scaledResidualSum(times, concentrations));
    QVERIFY(fuzzyCompare(fitter->estimatedConcentrations()[0], 10 * std::exp(-0.75) + 5 * std::exp(-0.1), 1e-15));
}

void ReportsTest::twoCompartmentReceivesStartingValues()
{
    script->answerValues({2, 1, 1, 0.1});
    fitter->setSamples({0, 1, 2, 3, 4}, {3, 2, 1.5, 1.2, 1});
    QVERIFY(fitter->twoCompartmentReport().startsWith("<!DOCTYPE html>"));
    QJsonArray arguments = script->lastArguments();
    QCOMPARE(arguments.size(), 6);
    QCOMPARE(
        (Vector{arguments[2].toDouble(), arguments[3].toDouble(), arguments[4].toDouble(), arguments[5].toDouble()}),
        (Vector{1, 0.1, 1, 0.1}));
    const Vector estimates = fitter->estimatedConcentrations();
    QCOMPARE(estimates[0], 3.0);
    QCOMPARE(estimates[1], std::exp(-1.0) * 2 + std::exp(-0.1) * 1);

    fitter->setP1(5);
    fitter->setP2(2);
    fitter->setP3(0.5);
    fitter->setP4(0.05);
    fitter->twoCompartmentReport();
    arguments = script->lastArguments();
    QCOMPARE(
        (Vector{arguments[2].toDouble(), arguments[3].toDouble(), arguments[4].toDouble(), arguments[5].toDouble()}),
        (Vector{5, 2, 0.5, 0.05}));
}

void ReportsTest::twoCompartmentMessages_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Vector>("values");
    QTest::addColumn<QString>("report");
    QTest::newRow("module string is the report") << "str" << Vector{} << "singular matrix";
    QTest::newRow("zero rate") << "list" << Vector{2, 1, 1, 0} << "Convergence unreacheable";
    QTest::newRow("negative coefficient") << "list" << Vector{2, 1, -1, 0.1} << "Convergence unreacheable";
    QTest::newRow("nan") << "list" << Vector{2, notANumber, 1, 0.1} << "Convergence unreacheable";
    QTest::newRow("all -1") << "list" << Vector{-1, -1, -1, -1} << "Convergence unreacheable";
    QTest::newRow("raised") << "raise" << Vector{} << "fit.doubleExpFit raised ValueError: no luck";
    QTest::newRow("short list") << "list" << Vector{1, 2, 3}
                                << "fit.doubleExpFit returned 3 values for the 4 parameters of the model";
    QTest::newRow("None") << "none" << Vector{} << "fit.doubleExpFit returned a NoneType instead of a list of numbers";
}

void ReportsTest::twoCompartmentMessages()
{
    QFETCH(QString, kind);
    QFETCH(Vector, values);
    QFETCH(QString, report);
    script->answerAs(kind, values, kind == "str" ? "singular matrix" : "no luck");
    fitter->setSamples({0.5, 1, 2, 4, 8}, {12, 9, 7, 5, 3});
    QCOMPARE(fitter->twoCompartmentReport(), report);
    QVERIFY(fitter->estimatedConcentrations().isEmpty());
}

void ReportsTest::fewerThanFiveSamplesDoNotCallTheModule()
{
    script->answerValues({2, 1, 1, 0.1});
    fitter->setSamples({1, 2, 3, 4}, {4, 3, 2, 1});
    QCOMPARE(fitter->twoCompartmentReport(),
             QStringLiteral("Cannot fit using double exponential model using less than five entries"));
    QVERIFY(script->lastFunction().isEmpty());
    fitter->setSamples({1, 2, 3, 4, 5}, {5, 4, 3, 2, 1});
    fitter->twoCompartmentReport();
    QCOMPARE(script->lastFunction(), QStringLiteral("doubleExpFit"));
}

void ReportsTest::estimatesKeptAfterFailedFit()
{
    script->answerValues({2, 1, 1, 0.1});
    fitter->setSamples({0, 1, 2, 3, 4}, {3, 2, 1.5, 1.2, 1});
    fitter->twoCompartmentReport();
    const Vector twoCompartmentCurve = fitter->estimatedConcentrations();
    QCOMPARE(twoCompartmentCurve.size(), 5);
    script->answerText("no convergence");
    QCOMPARE(fitter->oneCompartmentReport(), QStringLiteral("Convergence unreacheable"));
    script->answerValues({2, 1, 1, 0});
    QCOMPARE(fitter->twoCompartmentReport(), QStringLiteral("Convergence unreacheable"));
    QCOMPARE(fitter->estimatedConcentrations(), twoCompartmentCurve);
}

void ReportsTest::missingModuleNamesTheCause()
{
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    fitter->setSamples({0.5, 1, 2, 4, 8}, {12, 9, 7, 5, 3});
    const QString expected = "The fit module 'fit' could not be loaded: ModuleNotFoundError: No module named 'fit'";
    QCOMPARE(fitter->oneCompartmentReport(), expected);
    QCOMPARE(fitter->twoCompartmentReport(), expected);
}

ZELKORA_CORE_TEST_MAIN(ReportsTest)
#include "tst_reports.moc"
