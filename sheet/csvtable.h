#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTableWidget;

// Splits delimited text into lines the way the Open command reads a file: a line is the
// bytes up to and including the next line feed (or to the end), decoded as UTF-8 up to the
// first NUL byte, with its line end kept.
class CsvLines
{
public:
    explicit CsvLines(const QByteArray& data)
        : data(data)
    {}
    bool atEnd() const { return position >= data.size(); }
    QString next();
    // How many lines next() still returns.
    int remaining() const;

private:
    QByteArray data;
    int position = 0;
};

// The line split at every occurrence of the delimiter, empty fields kept, no quoting.
QStringList splitFields(const QString& line, const QString& delimiter);

// A new table holding the text: the first line fixes the column count and either names the
// columns or is the first row; every further line is a row. Cells past a short line's last
// field get no item; fields past the column count are dropped.
QTableWidget* tableFromCsv(const QByteArray& data, const QString& delimiter, bool firstRowAsHeader);
