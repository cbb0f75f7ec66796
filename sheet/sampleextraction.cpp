#include "sampleextraction.h"

void dropIncompletePairs(QVector<QVariant>& times, QVector<QVariant>& concentrations)
{
    // One compacting pass: removing rows one at a time is quadratic on long imports.
    int kept = 0;
    for (int i = 0; i < times.size(); ++i) {
        if (times[i].isValid() && concentrations[i].isValid()) {
            times[kept] = times[i];
            concentrations[kept] = concentrations[i];
            ++kept;
        }
    }
    times.resize(kept);
    concentrations.resize(kept);
}

QVector<double> asDoubleVector(QVector<QVariant> values)
{
    QVector<double> result;
    result.reserve(values.size());
    for (const QVariant& value : values)
        result.append(value.toDouble());
    return result;
}
