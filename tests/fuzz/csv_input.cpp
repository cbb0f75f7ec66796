// One fuzz input through the CSV reader as the Open command runs it: the first byte picks
// the delimiter item and the header option, the rest is the file. The table is then read
// back through sample extraction.
#include "csv_input.h"

#include "csvtable.h"
#include "importexport.h"
#include "sampleextraction.h"
#include "spreadsheetwidget.h"

#include <QTableWidget>
#include <memory>

void runCsvInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    static const char* const items[] = {",", ";", "' '", "\\t"};
    const QString delimiter = ImportExport::delimiterFor(QString::fromLatin1(items[data[0] & 3]));
    const bool header = data[0] & 4;
    const QByteArray contents(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));

    std::unique_ptr<QTableWidget> table(tableFromCsv(contents, delimiter, header));
    QVector<QVariant> times = SpreadSheetWidget::columnValues(table.get(), 0);
    QVector<QVariant> concentrations = SpreadSheetWidget::columnValues(table.get(), 1);
    if (times.size() != table->rowCount() || concentrations.size() != table->rowCount())
        abort();
    dropIncompletePairs(times, concentrations);
    if (asDoubleVector(times).size() != asDoubleVector(concentrations).size())
        abort();
}
