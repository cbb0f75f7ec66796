#include "spreadsheetwidget.h"

#include <QMessageBox>
#include <QShortcut>
#include <algorithm>

SpreadSheetWidget::SpreadSheetWidget(const int& rows, const int& columns, QWidget* parent)
    : QTableWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnCount(columns);
    for (int i = 0; i < rows; ++i)
        appendRow();
}

SpreadSheetWidget::SpreadSheetWidget(QWidget* parent)
    : QTableWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void SpreadSheetWidget::appendRow()
{
    const int row = rowCount();
    setRowCount(row + 1);
    for (int column = 0; column < columnCount(); ++column)
        setItem(row, column, new QTableWidgetItem());
}

QVector<QVariant> SpreadSheetWidget::columnValues(QTableWidget* table, int column)
{
    QVector<QVariant> values;
    const int rows = table->rowCount();
    values.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QTableWidgetItem* item = table->item(row, column);
        const QString text = item ? item->data(Qt::DisplayRole).toString() : QString();
        values.append(text.isEmpty() ? QVariant() : QVariant(text.toDouble()));
    }
    return values;
}

int SpreadSheetWidget::selectionTopRow()
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.size() > 1 ? -1 : ranges.first().topRow();
}

int SpreadSheetWidget::selectionLeftColumn()
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.size() > 1 ? -1 : ranges.first().leftColumn();
}

void SpreadSheetWidget::onCopy()
{
    copyBuffer.clear();
    QModelIndexList indexes = selectionModel()->selectedIndexes();
    if (indexes.isEmpty())
        return;
    std::sort(indexes.begin(), indexes.end());
    QStringList row;
    for (int i = 0; i < indexes.size(); ++i) {
        row.append(model()->data(indexes[i], Qt::DisplayRole).toString());
        if (i + 1 < indexes.size() && indexes[i + 1].row() != indexes[i].row()) {
            copyBuffer.append(row);
            row.clear();
        }
    }
    copyBuffer.append(row);
}

void SpreadSheetWidget::onCut()
{
    onCopy();
    onDelete();
}

void SpreadSheetWidget::onDelete()
{
    for (QTableWidgetItem* item : selectedItems())
        item->setData(Qt::DisplayRole, QString());
}

void SpreadSheetWidget::onPaste()
{
    if (selectedRanges().isEmpty())
        return;
    const int top = selectionTopRow();
    if (top == -1) {
        emit sPaste();
        return;
    }
    const int left = selectionLeftColumn();
    for (int k = 0; k < copyBuffer.size() && top + k < rowCount(); ++k) {
        const QStringList& texts = copyBuffer[k];
        for (int j = 0; j < texts.size() && left + j < columnCount(); ++j)
            setItem(top + k, left + j, new QTableWidgetItem(texts[j]));
    }
}

void SpreadSheetWidget::onMultipleSelectionPaste()
{
    auto* box = new QMessageBox(this);
    box->setWindowTitle(tr("Warning"));
    box->setText(tr("You cannot paste with multiple selections"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void bindEditingKeys(SpreadSheetWidget* sheet)
{
    const auto bind = [sheet](QKeySequence::StandardKey key, void (SpreadSheetWidget::*slot)()) {
        auto* shortcut = new QShortcut(QKeySequence(key), sheet);
        shortcut->setContext(Qt::WidgetShortcut);
        QObject::connect(shortcut, &QShortcut::activated, sheet, slot);
    };
    bind(QKeySequence::Copy, &SpreadSheetWidget::onCopy);
    bind(QKeySequence::Cut, &SpreadSheetWidget::onCut);
    bind(QKeySequence::Paste, &SpreadSheetWidget::onPaste);
    bind(QKeySequence::Delete, &SpreadSheetWidget::onDelete);
    QObject::connect(sheet, &SpreadSheetWidget::sPaste, sheet, &SpreadSheetWidget::onMultipleSelectionPaste);
}
