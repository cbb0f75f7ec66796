#include "csvtable.h"

#include <QSignalBlocker>
#include <QTableWidget>
#include <cstring>

QString CsvLines::next()
{
    const char* start = data.constData() + position;
    const int left = data.size() - position;
    const void* lineFeed = std::memchr(start, '\n', left);
    const int length = lineFeed ? static_cast<int>(static_cast<const char*>(lineFeed) - start) + 1 : left;
    position += length;
    const void* nul = std::memchr(start, '\0', length);
    const int textLength = nul ? static_cast<int>(static_cast<const char*>(nul) - start) : length;
    return QString::fromUtf8(start, textLength);
}

int CsvLines::remaining() const
{
    const int left = data.size() - position;
    if (left <= 0)
        return 0;
    const char* start = data.constData() + position;
    int lines = 0;
    for (const char* p = start; (p = static_cast<const char*>(std::memchr(p, '\n', start + left - p))); ++p)
        ++lines;
    return data.endsWith('\n') ? lines : lines + 1;
}

QStringList splitFields(const QString& line, const QString& delimiter)
{
    return line.split(delimiter, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

namespace {

// Fills one row from the line's fields without building an intermediate list.
void fillRow(QTableWidget* table, int row, const QString& line, const QString& delimiter)
{
    const int columns = table->columnCount();
    if (delimiter.isEmpty()) {
        const QStringList fields = splitFields(line, delimiter);
        for (int column = 0; column < columns && column < fields.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(fields[column]));
        return;
    }
    int start = 0;
    for (int column = 0; column < columns; ++column) {
        const int end = line.indexOf(delimiter, start);
        const int length = end < 0 ? -1 : end - start;
        table->setItem(row, column, new QTableWidgetItem(line.mid(start, length)));
        if (end < 0)
            return;
        start = end + delimiter.size();
    }
}

} // namespace

QTableWidget* tableFromCsv(const QByteArray& data, const QString& delimiter, bool firstRowAsHeader)
{
    CsvLines lines(data);
    const QStringList firstFields = splitFields(lines.next(), delimiter);
    auto* table = new QTableWidget();
    table->setColumnCount(firstFields.size());
    if (firstRowAsHeader)
        table->setHorizontalHeaderLabels(firstFields);

    const int rows = (firstRowAsHeader ? 0 : 1) + lines.remaining();
    table->setRowCount(rows);
    {
        // The table is not shown yet: per-cell change signals would only cost time.
        const QSignalBlocker quiet(table->model());
        int row = 0;
        if (!firstRowAsHeader) {
            for (int column = 0; column < firstFields.size(); ++column)
                table->setItem(row, column, new QTableWidgetItem(firstFields[column]));
            ++row;
        }
        while (!lines.atEnd())
            fillRow(table, row++, lines.next(), delimiter);
    }
    return table;
}
