#pragma once

#include <QDialog>
#include <QObject>
#include <QString>

class QTableWidget;

// One Open command: asks for a CSV file and its delimiter, and builds a table of its lines.
class ImportExport : public QObject
{
    Q_OBJECT
public:
    explicit ImportExport(QObject* parent);

    // A new table without a parent, or null when the dialog was cancelled or the file cannot
    // be read (the user is told why).
    QTableWidget* importCsv();
    // The chosen path after its last "/".
    QString shortFileName() const;
    QString chosenFileName() const { return fileName; }

    // The text a delimiter item stands for: the blank for "' '", the tab for "\t".
    static QString delimiterFor(const QString& itemText);

private:
    // Runs the options dialog; sets firstRowAsHeader and returns the chosen item's text.
    QString askCsvOptions();

    QDialog optionsDialog;
    bool firstRowAsHeader = false;
    QString fileName;
};
