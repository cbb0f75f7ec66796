#pragma once

#include <QVector>

// Whole-vector arithmetic on sample vectors. The first vector argument sets the number of
// elements processed; a second vector argument must be at least as long. Nothing is
// checked: infinities and NaNs pass through as the arithmetic makes them.

double vectorSum(const QVector<double>& v);
double vectorDot(const QVector<double>& a, const QVector<double>& b);
// Two-pass variance; divides by n - 1 when sample is true, by n otherwise.
double vectorVariance(const QVector<double>& v, bool sample);
double vectorStdDev(const QVector<double>& v, bool sample);

QVector<double> vectorSubtract(const QVector<double>& a, const QVector<double>& b);
QVector<double> vectorScale(double s, const QVector<double>& v);
QVector<double> vectorDivide(const QVector<double>& v, double s);
QVector<double> vectorLog(const QVector<double>& v);
QVector<double> vectorPow(const QVector<double>& v, int k);
// exp(k * v[i]), the product formed first.
QVector<double> vectorExp(const QVector<double>& v, double k);
