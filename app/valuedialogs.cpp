#include "curvefitter.h"
#include "mainwindow.h"

#include <QDialog>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <vector>

namespace {

enum class LabelPlacement { Above, Beside };

struct StoredValue
{
    QString key;
    const char* label;
};

// Runs a modal dialog with one field per stored value, filled from the settings store, and
// returns the fields' values (0 for text that is not a number) once it is closed, however
// it is closed. The values are stored under their keys too.
QVector<double> askStoredValues(const QVector<StoredValue>& values, LabelPlacement placement)
{
    QStringList keys;
    for (const StoredValue& value : values)
        keys.append(value.key);

    QDialog dialog;
    dialog.setModal(true);
    std::vector<QLineEdit*> fields;
    for (int i = 0; i < keys.size(); ++i)
        fields.push_back(new QLineEdit(&dialog));

    {
        QSettings settings;
        for (int i = 0; i < keys.size(); ++i) {
            const QVariant stored = settings.value(keys[i]);
            if (stored.isValid())
                fields[i]->setText(QString::number(stored.toDouble(), 'g', 6));
        }
    }

    auto* layout = new QGridLayout;
    auto* acceptButton = new QPushButton(MainWindow::tr("Accept"));
    for (int i = 0; i < keys.size(); ++i) {
        auto* label = new QLabel(MainWindow::tr(values[i].label));
        if (placement == LabelPlacement::Above) {
            layout->addWidget(label, 2 * i, 0);
            layout->addWidget(fields[i], 2 * i + 1, 0);
        } else {
            layout->addWidget(label, i, 0);
            layout->addWidget(fields[i], i, 1);
        }
    }
    layout->addWidget(acceptButton, placement == LabelPlacement::Above ? 2 * keys.size() : keys.size(), 0);
    dialog.setLayout(layout);

    for (QLineEdit* field : fields)
        field->setValidator(new QDoubleValidator(-99999999999.0, 99999999999.0, 8, field));
    QObject::connect(acceptButton, &QPushButton::clicked, &dialog, &QDialog::close);

    dialog.exec();

    QVector<double> entered;
    for (QLineEdit* field : fields)
        entered.append(field->text().toDouble());
    QSettings settings;
    for (int i = 0; i < keys.size(); ++i)
        settings.setValue(keys[i], fields[i]->text().toDouble());
    return entered;
}

} // namespace

void MainWindow::onDoseSet()
{
    const QVector<double> values
        = askStoredValues({{QStringLiteral("dose"), QT_TR_NOOP("Dose")}}, LabelPlacement::Above);
    curveFitter->setDose(values[0]);
}

void MainWindow::onParameters()
{
    const QVector<double> values = askStoredValues({{QStringLiteral("P1"), "P1"},
                                                    {QStringLiteral("P2"), "P2"},
                                                    {QStringLiteral("P3"), "P3"},
                                                    {QStringLiteral("P4"), "P4"}},
                                                   LabelPlacement::Beside);
    curveFitter->setP1(values[0]);
    curveFitter->setP2(values[1]);
    curveFitter->setP3(values[2]);
    curveFitter->setP4(values[3]);
}
