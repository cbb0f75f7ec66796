#pragma once

#include <QVariant>
#include <QVector>

// Removes, from both lists together, every row in which either entry is invalid; the
// remaining rows keep their order.
void dropIncompletePairs(QVector<QVariant>& times, QVector<QVariant>& concentrations);
QVector<double> asDoubleVector(QVector<QVariant> values);
