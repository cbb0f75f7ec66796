#include "curvefitter.h"
#include "estimates.h"
#include "testsupport.h"

#include <QTextStream>

using Vector = QVector<double>;

namespace {

const QString referenceFolder = QStringLiteral(ZELKORA_TEST_DATA "/reference/");

void readSubject(int subject, Vector& times, Vector& concentrations)
{
    QFile file(referenceFolder + QStringLiteral("indomethacin_subject_%1.csv").arg(subject));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(',');
        times << fields[0].toDouble();
        concentrations << fields[1].toDouble();
    }
}

double residualSumOfSquares(const Vector& p, const Vector& times, const Vector& concentrations)
{
    double total = 0;
    for (int i = 0; i < times.size(); ++i) {
        double model = p[0] * std::exp(-p[1] * times[i]);
        if (p.size() == 4)
            model += p[2] * std::exp(-p[3] * times[i]);
        total += (model - concentrations[i]) * (model - concentrations[i]);
    }
    return total;
}

bool sameToSixDigits(double actual, double expected)
{
    return std::fabs(actual - expected) <= 5e-6 * std::fabs(expected);
}

} // namespace

// The shipped fit module reaches independently computed optima of real data from the
// default start.
class ReferenceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void optima_data();
    void optima();

private:
    QTemporaryDir workingDirectory;
};

void ReferenceTest::initTestCase()
{
    QVERIFY(QDir::setCurrent(workingDirectory.path())); // no fit.py here: the shipped one runs
}

void ReferenceTest::optima_data()
{
    QTest::addColumn<int>("subject");
    QTest::addColumn<QString>("model");
    QTest::addColumn<Vector>("expected");
    QTest::addColumn<double>("rss");
    QFile file(referenceFolder + QStringLiteral("indomethacin_reference.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split(',');
        const QString model = QString::fromLatin1(f[1]);
        Vector expected{f[2].toDouble(), f[3].toDouble()};
        if (model == "two_compartment")
            expected << f[4].toDouble() << f[5].toDouble();
        QTest::addRow("subject %s, %s", f[0].constData(), f[1].constData())
            << f[0].toInt() << model << expected << f[6].toDouble();
    }
}

void ReferenceTest::optima()
{
    QFETCH(int, subject);
    QFETCH(QString, model);
    QFETCH(Vector, expected);
    QFETCH(double, rss);
    Vector times, concentrations;
    readSubject(subject, times, concentrations);
    CurveFitter fitter;
    Vector fitted(expected.size());
    QString error;
    if (model == "two_compartment") {
        error = fitter.fitDoubleExponentialGuarded(times, concentrations, fitted[0], fitted[2], fitted[1], fitted[3]);
    } else {
        error = fitter.fitSingleExponential(times, concentrations, fitted[0], fitted[1],
                                            logLinearIntercept(times, concentrations),
                                            logLinearSlope(times, concentrations));
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(sameToSixDigits(fitted[i], expected[i]),
                 qPrintable(QStringLiteral("P%1 = %2, expected %3")
                                .arg(i + 1)
                                .arg(fitted[i], 0, 'g', 12)
                                .arg(expected[i], 0, 'g', 12)));
    QVERIFY(fuzzyCompare(residualSumOfSquares(fitted, times, concentrations), rss, 1e-9));
}

ZELKORA_CORE_TEST_MAIN(ReferenceTest)
#include "tst_reference.moc"
