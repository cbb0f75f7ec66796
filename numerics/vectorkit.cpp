#include "vectorkit.h"

#include <cmath>

namespace {

template <typename Op> QVector<double> elementWise(const QVector<double>& v, Op op)
{
    QVector<double> result;
    result.reserve(v.size());
    for (int i = 0; i < v.size(); ++i)
        result.append(op(i));
    return result;
}

} // namespace

double vectorSum(const QVector<double>& v)
{
    double total = 0.0;
    for (double x : v)
        total += x;
    return total;
}

double vectorDot(const QVector<double>& a, const QVector<double>& b)
{
    double total = 0.0;
    for (int i = 0; i < a.size(); ++i)
        total += a[i] * b[i];
    return total;
}

double vectorVariance(const QVector<double>& v, bool sample)
{
    const double n = v.size();
    const double mean = vectorSum(v) / n;
    double squares = 0.0;
    for (double x : v)
        squares += (x - mean) * (x - mean);
    return squares / (sample ? n - 1.0 : n);
}

double vectorStdDev(const QVector<double>& v, bool sample)
{
    return std::sqrt(vectorVariance(v, sample));
}

QVector<double> vectorSubtract(const QVector<double>& a, const QVector<double>& b)
{
    return elementWise(a, [&](int i) { return a[i] - b[i]; });
}

QVector<double> vectorScale(double s, const QVector<double>& v)
{
    return elementWise(v, [&](int i) { return s * v[i]; });
}

QVector<double> vectorDivide(const QVector<double>& v, double s)
{
    return elementWise(v, [&](int i) { return v[i] / s; });
}

QVector<double> vectorLog(const QVector<double>& v)
{
    return elementWise(v, [&](int i) { return std::log(v[i]); });
}

QVector<double> vectorPow(const QVector<double>& v, int k)
{
    return elementWise(v, [&](int i) { return std::pow(v[i], static_cast<double>(k)); });
}

QVector<double> vectorExp(const QVector<double>& v, double k)
{
    return elementWise(v, [&](int i) { return std::exp(k * v[i]); });
}
