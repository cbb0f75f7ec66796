#include "estimates.h"
#include "testsupport.h"
#include "twocompartmentanalysis.h"
#include "vectorkit.h"

#include <limits>

using Vector = QVector<double>;
Q_DECLARE_METATYPE(Vector)

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

// Equal element by element (to rounding), NaN equal to NaN.
bool sameValues(const Vector& actual, const Vector& expected)
{
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < actual.size(); ++i) {
        if (std::isnan(expected[i]) != std::isnan(actual[i]))
            return false;
        if (actual[i] == expected[i])
            continue;
        if (!std::isnan(expected[i]) && !qFuzzyCompare(1.0 + actual[i], 1.0 + expected[i]))
            return false;
    }
    return true;
}

} // namespace

class NumericsTest : public QObject
{
    Q_OBJECT
private slots:
    void reductions_data();
    void reductions();
    void varianceEdges();
    void elementWise_data();
    void elementWise();
    void firstArgumentSetsLength();
    void logLinearRegression();
    void logLinearDegenerateInput_data();
    void logLinearDegenerateInput();
    void scaledResidualSum_data();
    void scaledResidualSum();
    void twoCompartmentQuantities();
};

void NumericsTest::reductions_data()
{
    QTest::addColumn<Vector>("v");
    QTest::addColumn<double>("sum");
    QTest::addColumn<double>("dotWithItself");
    QTest::newRow("empty") << Vector{} << 0.0 << 0.0;
    QTest::newRow("one element") << Vector{3} << 3.0 << 9.0;
    QTest::newRow("1 to 4") << Vector{1, 2, 3, 4} << 10.0 << 30.0;
    QTest::newRow("infinity passes") << Vector{1, inf} << inf << inf;
    QTest::newRow("nan passes") << Vector{1, notANumber} << notANumber << notANumber;
    QTest::newRow("opposite infinities") << Vector{inf, -inf} << notANumber << inf;
}

void NumericsTest::reductions()
{
    QFETCH(Vector, v);
    QFETCH(double, sum);
    QFETCH(double, dotWithItself);
    QVERIFY(sameValues({vectorSum(v)}, {sum}));
    QVERIFY(sameValues({vectorDot(v, v)}, {dotWithItself}));
}

void NumericsTest::varianceEdges()
{
    QCOMPARE(vectorVariance({1, 2, 3, 4}, false), 1.25);
    QVERIFY(qFuzzyCompare(vectorVariance({1, 2, 3, 4}, true), 5.0 / 3.0));
    QVERIFY(qFuzzyCompare(vectorStdDev({1, 2, 3, 4}, true), std::sqrt(5.0 / 3.0)));
    QCOMPARE(vectorVariance({7}, false), 0.0);
    QVERIFY(std::isnan(vectorVariance({7}, true)));
    QVERIFY(std::isnan(vectorVariance({}, false)));
    const double emptySample = vectorVariance({}, true);
    QCOMPARE(emptySample, 0.0);
    QVERIFY(std::signbit(emptySample));
    QVERIFY(std::signbit(vectorStdDev({}, true)));
    QVERIFY(std::isnan(vectorStdDev({7}, true)));
}

void NumericsTest::elementWise_data()
{
    QTest::addColumn<Vector>("actual");
    QTest::addColumn<Vector>("expected");
    QTest::newRow("subtract a minus b") << vectorSubtract({5, 1}, {2, 3}) << Vector{3, -2};
    QTest::newRow("scale, scalar first") << vectorScale(2, {1, -1.5}) << Vector{2, -3};
    QTest::newRow("divide by scalar") << vectorDivide({3, 1}, 2) << Vector{1.5, 0.5};
    QTest::newRow("divide by zero") << vectorDivide({1, 0}, 0) << Vector{inf, notANumber};
    QTest::newRow("log edges") << vectorLog({1, 0, -1, M_E}) << Vector{0, -inf, notANumber, 1};
    QTest::newRow("pow 2") << vectorPow({-3, 0.5}, 2) << Vector{9, 0.25};
    QTest::newRow("exp with factor") << vectorExp({0, 1, 2}, -0.5) << Vector{1, std::exp(-0.5), std::exp(-1.0)};
    QTest::newRow("exp overflow") << vectorExp({1000}, 1) << Vector{inf};
    QTest::newRow("nan passes through") << vectorScale(2, {notANumber, 1}) << Vector{notANumber, 2};
    QTest::newRow("empty subtract") << vectorSubtract({}, {}) << Vector{};
    QTest::newRow("empty scale") << vectorScale(2, {}) << Vector{};
    QTest::newRow("empty divide") << vectorDivide({}, 2) << Vector{};
    QTest::newRow("empty log") << vectorLog({}) << Vector{};
    QTest::newRow("empty pow") << vectorPow({}, 2) << Vector{};
    QTest::newRow("empty exp") << vectorExp({}, 2) << Vector{};
}

void NumericsTest::elementWise()
{
    QFETCH(Vector, actual);
    QFETCH(Vector, expected);
    QVERIFY2(sameValues(actual, expected), qPrintable(QString("got %1 values").arg(actual.size())));
}

void NumericsTest::firstArgumentSetsLength()
{
    QCOMPARE(vectorSubtract({1, 2}, {1, 1, 1}), (Vector{0, 1}));
    QCOMPARE(vectorDot({1, 2}, {3, 4, 100}), 11.0);
}

void NumericsTest::logLinearRegression()
{
    const Vector times{0, 1, 2, 3};
    const Vector concentrations = vectorScale(10, vectorExp(times, -0.5));
    QVERIFY(fuzzyCompare(logLinearSlope(times, concentrations), -0.5, 1e-12));
    QVERIFY(fuzzyCompare(logLinearIntercept(times, concentrations), std::log(10.0), 1e-12));
    // The first argument is always the times.
    QVERIFY(!fuzzyCompare(logLinearSlope(concentrations, times), -0.5, 1e-3));
}

void NumericsTest::logLinearDegenerateInput_data()
{
    QTest::addColumn<Vector>("times");
    QTest::addColumn<Vector>("concentrations");
    QTest::newRow("zero concentration") << Vector{1, 2, 3} << Vector{4, 0, 1};
    QTest::newRow("negative concentration") << Vector{1, 2, 3} << Vector{4, -1, 1};
    QTest::newRow("one point") << Vector{1} << Vector{4};
    QTest::newRow("equal times") << Vector{2, 2, 2} << Vector{4, 3, 1};
}

void NumericsTest::logLinearDegenerateInput()
{
    QFETCH(Vector, times);
    QFETCH(Vector, concentrations);
    QVERIFY(!std::isfinite(logLinearSlope(times, concentrations)));
    QVERIFY(!std::isfinite(logLinearIntercept(times, concentrations)));
}

void NumericsTest::scaledResidualSum_data()
{
    QTest::addColumn<Vector>("a");
    QTest::addColumn<Vector>("b");
    QTest::addColumn<double>("expected");
    QTest::newRow("zeros against 1..5") << Vector{0, 0, 0, 0, 0} << Vector{1, 2, 3, 4, 5} << 55 / std::sqrt(93.5);
    QTest::newRow("swapped") << Vector{1, 2, 3, 4, 5} << Vector{0, 0, 0, 0, 0} << 55 / std::sqrt(93.5);
    QTest::newRow("equal squares") << Vector{0, 0} << Vector{1, -1} << inf;
    QTest::newRow("no differences") << Vector{1, 2} << Vector{1, 2} << notANumber;
}

void NumericsTest::scaledResidualSum()
{
    QFETCH(Vector, a);
    QFETCH(Vector, b);
    QFETCH(double, expected);
    QVERIFY(sameValues({::scaledResidualSum(a, b)}, {expected}));
}

void NumericsTest::twoCompartmentQuantities()
{
    TwoCompartmentAnalysis analysis({0.5, 1, 2, 4, 8}, {12, 9, 7, 5, 3}, 100);
    analysis.setParameters(10, 1.5, 5, 0.2);
    analysis.computePartialAucs();
    QCOMPARE(analysis.partialAreas(), (Vector{6.75, 5.25, 8, 12, 16, 15}));
    analysis.computeEstimates();
    QCOMPARE(analysis.estimatedConcentrations().size(), 5);
    QVERIFY(fuzzyCompare(analysis.estimatedConcentrations()[2], 10 * std::exp(-3.0) + 5 * std::exp(-0.4), 1e-15));

    TwoCompartmentAnalysis decreasing({8, 4, 2}, {3, 5, 7}, 100);
    decreasing.setParameters(10, 1.5, 5, 0.2);
    decreasing.computePartialAucs();
    QVERIFY(decreasing.partialAreas()[1] < 0);
}

ZELKORA_CORE_TEST_MAIN(NumericsTest)
#include "tst_numerics.moc"
