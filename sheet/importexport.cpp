#include "importexport.h"

#include "csvtable.h"
#include "filedialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

ImportExport::ImportExport(QObject* parent)
    : QObject(parent)
{}

QString ImportExport::delimiterFor(const QString& itemText)
{
    if (itemText == QLatin1String("' '"))
        return QStringLiteral(" ");
    if (itemText == QLatin1String("\\t"))
        return QStringLiteral("\t");
    return itemText;
}

QTableWidget* ImportExport::importCsv()
{
    firstRowAsHeader = false;
    fileName = FileDialog::getOpenFileName(tr("Open File"), QDir::homePath(), QStringLiteral("csv File (*.csv)"));
    if (fileName.isEmpty())
        return nullptr;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(qobject_cast<QWidget*>(parent()), tr("Open File"),
                             tr("Cannot open %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
        return nullptr;
    }
    const QString delimiter = delimiterFor(askCsvOptions());
    const QByteArray contents = file.readAll();
    file.close();
    return tableFromCsv(contents, delimiter, firstRowAsHeader);
}

QString ImportExport::askCsvOptions()
{
    auto* delimiterBox = new QComboBox;
    auto* headerBox = new QCheckBox(tr("First Row as Header"));
    auto* acceptButton = new QPushButton(tr("Accept"));
    auto* label = new QLabel(tr("Choose a csv delimiter"));
    auto* layout = new QGridLayout;
    delimiterBox->addItems({QStringLiteral(","), QStringLiteral(";"), QStringLiteral("' '"), QStringLiteral("\\t")});

    layout->addWidget(label, 0, 0);
    layout->addWidget(delimiterBox, 0, 1);
    layout->addWidget(headerBox, 1, 0);
    layout->addWidget(acceptButton, 2, 0);
    optionsDialog.setLayout(layout);
    connect(
        acceptButton, &QPushButton::pressed, acceptButton, [this] { optionsDialog.close(); }, Qt::DirectConnection);

    optionsDialog.exec();

    firstRowAsHeader = headerBox->isChecked();
    const QString delimiter = delimiterBox->currentText();
    delete layout; // the widgets of this run go with the run
    qDeleteAll(optionsDialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    return delimiter;
}

QString ImportExport::shortFileName() const
{
    return fileName.split(QLatin1Char('/'), Qt::KeepEmptyParts, Qt::CaseSensitive).last();
}
