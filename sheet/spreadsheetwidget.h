#pragma once

#include <QStringList>
#include <QTableWidget>
#include <QVariant>
#include <QVector>

// The editable grid of samples (time in column 0, concentration in column 1), with a copy
// and paste buffer of its own that never touches the system clipboard.
class SpreadSheetWidget : public QTableWidget
{
    Q_OBJECT
public:
    // A grid with an empty item in every cell.
    SpreadSheetWidget(const int& rows, const int& columns, QWidget* parent);
    explicit SpreadSheetWidget(QWidget* parent);

    void appendRow();
    const QVector<QStringList>& copiedCells() const { return copyBuffer; }

    // One entry per row of the table: invalid for an empty cell (text of length 0, or no
    // item), otherwise the cell's text read as a number (QString::toDouble, 0 for text that
    // is not a number).
    static QVector<QVariant> columnValues(QTableWidget* table, int column);

signals:
    // A paste was refused because more than one range is selected.
    void sPaste();
    void sKeyEnter(int, int);

public slots:
    void onDelete();
    // Places the copied block with its top-left cell at the selection's top-left cell,
    // dropping what falls outside the grid.
    void onPaste();
    void onCut();
    void onCopy();
    void onMultipleSelectionPaste();

private:
    int selectionTopRow();
    int selectionLeftColumn();

    QVector<QStringList> copyBuffer;
};

// Binds the platform's copy, cut, paste and delete keys to the sheet's editing slots while
// the sheet itself has the focus (an open cell editor keeps its own keys), and makes a
// refused paste tell the user why.
void bindEditingKeys(SpreadSheetWidget* sheet);
