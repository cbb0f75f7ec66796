#include "estimates.h"

#include "vectorkit.h"

namespace {

struct LogLinearSums
{
    double n;
    double sx;
    double sxx;
    double sl;
    double sxl;

    LogLinearSums(const QVector<double>& x, const QVector<double>& y)
        : n(x.size())
        , sx(vectorSum(x))
        , sxx(vectorSum(vectorPow(x, 2)))
        , sl(vectorSum(vectorLog(y)))
        , sxl(vectorDot(x, vectorLog(y)))
    {}

    double denominator() const { return n * sxx - sx * sx; }
};

} // namespace

double logLinearSlope(const QVector<double>& x, const QVector<double>& y)
{
    const LogLinearSums s(x, y);
    return (s.n * s.sxl - s.sx * s.sl) / s.denominator();
}

double logLinearIntercept(const QVector<double>& x, const QVector<double>& y)
{
    const LogLinearSums s(x, y);
    return (s.sxx * s.sl - s.sx * s.sxl) / s.denominator();
}

double scaledResidualSum(const QVector<double>& a, const QVector<double>& b)
{
    const QVector<double> squares = vectorPow(vectorSubtract(b, a), 2);
    const double spread = vectorStdDev(squares, true);
    return vectorSum(vectorDivide(squares, spread));
}
