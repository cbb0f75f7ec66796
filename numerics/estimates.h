#pragma once

#include <QVector>

// Least-squares line of ln(y) against x over all points, unweighted. A zero or negative y,
// or fewer than two distinct x, gives a non-finite result.
double logLinearSlope(const QVector<double>& x, const QVector<double>& y);
double logLinearIntercept(const QVector<double>& x, const QVector<double>& y);

// Sum of the squared differences (b - a)^2, each divided by their sample standard deviation.
double scaledResidualSum(const QVector<double>& a, const QVector<double>& b);
