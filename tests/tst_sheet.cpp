#include "sampleextraction.h"
#include "spreadsheetwidget.h"
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>

using Cells = QVector<QStringList>;
Q_DECLARE_METATYPE(Cells)

namespace {

struct Range
{
    int top, left, bottom, right;
};

} // namespace

Q_DECLARE_METATYPE(Range)

namespace {

void fill(QTableWidget& sheet, int rows, int columns)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            sheet.item(r, c)->setText(QStringLiteral("%1%2").arg(QChar('a' + r)).arg(c));
}

void select(QTableWidget& sheet, const QVector<Range>& ranges)
{
    sheet.clearSelection();
    for (const Range& r : ranges)
        sheet.setRangeSelected(QTableWidgetSelectionRange(r.top, r.left, r.bottom, r.right), true);
}

QString text(const QTableWidget& sheet, int row, int column)
{
    const QTableWidgetItem* item = sheet.item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

} // namespace

class SheetTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void newSheetHasAnEmptyItemInEveryCell();
    void metaObjectOrder();
    void copyTakesSelectedCellsByRow_data();
    void copyTakesSelectedCellsByRow();
    void pasteAnchorsAtSelection_data();
    void pasteAnchorsAtSelection();
    void cutEmptiesCellsButKeepsItems();
    void multipleRangesRefusePasteAndWarn();
    void keysWorkOnTheSheet();
    void keysLeaveAnOpenEditorAlone();
    void extraction_data();
    void extraction();
};

void SheetTest::cleanup()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(widget))
            widget->close();
}

void SheetTest::newSheetHasAnEmptyItemInEveryCell()
{
    SpreadSheetWidget sheet(50, 10, nullptr);
    QCOMPARE(sheet.rowCount(), 50);
    QCOMPARE(sheet.columnCount(), 10);
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 10; ++c) {
            QVERIFY(sheet.item(r, c));
            QCOMPARE(sheet.item(r, c)->type(), int(QTableWidgetItem::Type));
            QCOMPARE(sheet.item(r, c)->text(), QString());
        }
    QCOMPARE(sheet.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("1"));
    QCOMPARE(sheet.model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("10"));
    QCOMPARE(sheet.model()->headerData(49, Qt::Vertical).toString(), QStringLiteral("50"));
    QCOMPARE(sheet.focusPolicy(), Qt::ClickFocus);
    QCOMPARE(sheet.selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(sheet.copiedCells().isEmpty());

    SpreadSheetWidget empty(nullptr);
    QCOMPARE(empty.rowCount(), 0);
    QCOMPARE(empty.columnCount(), 0);
    QCOMPARE(empty.selectionMode(), QAbstractItemView::ExtendedSelection);
}

void SheetTest::metaObjectOrder()
{
    const QMetaObject& meta = SpreadSheetWidget::staticMetaObject;
    QCOMPARE(QString(meta.className()), QStringLiteral("SpreadSheetWidget"));
    const QStringList expected{"sPaste()", "sKeyEnter(int,int)",        "onDelete()", "onPaste()", "onCut()",
                               "onCopy()", "onMultipleSelectionPaste()"};
    QStringList actual;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        actual << QString::fromLatin1(meta.method(i).methodSignature());
    QCOMPARE(actual, expected);
    QCOMPARE(meta.method(meta.methodOffset()).methodType(), QMetaMethod::Signal);
    QCOMPARE(meta.method(meta.methodOffset() + 2).access(), QMetaMethod::Public);
}

void SheetTest::copyTakesSelectedCellsByRow_data()
{
    QTest::addColumn<QVector<Range>>("ranges");
    QTest::addColumn<Cells>("buffer");
    QTest::newRow("block") << QVector<Range>{{0, 0, 1, 1}} << Cells{{"a0", "a1"}, {"b0", "b1"}};
    QTest::newRow("two cells of one row") << QVector<Range>{{0, 0, 0, 0}, {0, 2, 0, 2}} << Cells{{"a0", "a2"}};
    QTest::newRow("rows without selection leave no gap")
        << QVector<Range>{{0, 0, 0, 0}, {2, 0, 2, 0}} << Cells{{"a0"}, {"c0"}};
    QTest::newRow("nothing selected") << QVector<Range>{} << Cells{};
}

void SheetTest::copyTakesSelectedCellsByRow()
{
    QFETCH(QVector<Range>, ranges);
    QFETCH(Cells, buffer);
    SpreadSheetWidget sheet(10, 5, nullptr);
    fill(sheet, 3, 3);
    select(sheet, {{4, 4, 4, 4}});
    sheet.onCopy(); // replaced by the next copy
    select(sheet, ranges);
    sheet.onCopy();
    QCOMPARE(sheet.copiedCells(), buffer);
}

void SheetTest::pasteAnchorsAtSelection_data()
{
    QTest::addColumn<QVector<Range>>("copied");
    QTest::addColumn<Range>("target");
    QTest::addColumn<QStringList>("expected"); // "row,column=text"
    QTest::newRow("block at a single cell") << QVector<Range>{{0, 0, 1, 1}} << Range{5, 3, 5, 3}
                                            << QStringList{"5,3=a0", "5,4=a1", "6,3=b0", "6,4=b1", "7,3="};
    QTest::newRow("range size plays no part")
        << QVector<Range>{{0, 0, 0, 0}} << Range{2, 2, 4, 4} << QStringList{"2,2=a0", "2,3=", "3,2="};
    QTest::newRow("ctrl cells pasted side by side")
        << QVector<Range>{{0, 0, 0, 0}, {0, 2, 0, 2}} << Range{4, 0, 4, 0} << QStringList{"4,0=a0", "4,1=a2", "4,2="};
    QTest::newRow("rows close up") << QVector<Range>{{0, 0, 0, 0}, {2, 0, 2, 0}} << Range{7, 1, 7, 1}
                                   << QStringList{"7,1=a0", "8,1=c0", "9,1="};
    QTest::newRow("clipped at the bottom")
        << QVector<Range>{{0, 0, 2, 0}} << Range{49, 0, 49, 0} << QStringList{"49,0=a0", "48,0="};
    QTest::newRow("clipped at the right")
        << QVector<Range>{{0, 0, 0, 2}} << Range{0, 8, 0, 8} << QStringList{"0,8=a0", "0,9=a1"};
    QTest::newRow("empty buffer changes nothing") << QVector<Range>{} << Range{0, 0, 0, 0} << QStringList{"0,0=a0"};
}

void SheetTest::pasteAnchorsAtSelection()
{
    QFETCH(QVector<Range>, copied);
    QFETCH(Range, target);
    QFETCH(QStringList, expected);
    SpreadSheetWidget sheet(50, 10, nullptr);
    fill(sheet, 3, 3);
    select(sheet, copied);
    sheet.onCopy();
    select(sheet, {target});
    sheet.onPaste();
    for (const QString& cell : expected) {
        const QStringList parts = cell.split('=');
        const QStringList position = parts[0].split(',');
        QCOMPARE(text(sheet, position[0].toInt(), position[1].toInt()), parts[1]);
    }
    QCOMPARE(sheet.rowCount(), 50);
    QCOMPARE(sheet.columnCount(), 10);
    const Cells buffer = sheet.copiedCells();
    sheet.onPaste();
    QCOMPARE(sheet.copiedCells(), buffer);
}

void SheetTest::cutEmptiesCellsButKeepsItems()
{
    SpreadSheetWidget sheet(10, 5, nullptr);
    fill(sheet, 3, 3);
    QTableWidgetItem* kept = sheet.item(1, 1);
    select(sheet, {{0, 0, 1, 1}});
    sheet.onCut();
    QCOMPARE(sheet.copiedCells(), (Cells{{"a0", "a1"}, {"b0", "b1"}}));
    QCOMPARE(sheet.item(1, 1), kept);
    QCOMPARE(kept->text(), QString());
    QCOMPARE(text(sheet, 2, 2), QStringLiteral("c2"));
    sheet.onPaste();
    QCOMPARE(text(sheet, 1, 1), QStringLiteral("b1"));
}

void SheetTest::multipleRangesRefusePasteAndWarn()
{
    SpreadSheetWidget sheet(10, 5, nullptr);
    bindEditingKeys(&sheet);
    fill(sheet, 3, 3);
    select(sheet, {{0, 0, 0, 0}});
    sheet.onCopy();
    select(sheet, {{4, 0, 4, 0}, {6, 2, 6, 2}});
    QSignalSpy refused(&sheet, &SpreadSheetWidget::sPaste);
    sheet.onPaste();
    QCOMPARE(refused.count(), 1);
    QCOMPARE(text(sheet, 4, 0), QString());
    QCOMPARE(text(sheet, 6, 2), QString());

    sheet.onMultipleSelectionPaste();
    QList<QMessageBox*> boxes = sheet.findChildren<QMessageBox*>();
    QCOMPARE(boxes.size(), 2); // the refused paste's box and this one
    for (QMessageBox* box : boxes) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Warning"));
        QCOMPARE(box->text(), QStringLiteral("You cannot paste with multiple selections"));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(box->isVisible());
    }
}

void SheetTest::keysWorkOnTheSheet()
{
    SpreadSheetWidget sheet(10, 5, nullptr);
    bindEditingKeys(&sheet);
    sheet.show();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    sheet.setFocus();
    fill(sheet, 2, 2);
    select(sheet, {{0, 0, 1, 0}});
    QTest::keySequence(&sheet, QKeySequence::Copy);
    QCOMPARE(sheet.copiedCells(), (Cells{{"a0"}, {"b0"}}));
    select(sheet, {{5, 3, 5, 3}});
    QTest::keySequence(&sheet, QKeySequence::Paste);
    QCOMPARE(text(sheet, 6, 3), QStringLiteral("b0"));
    select(sheet, {{0, 1, 0, 1}});
    QTest::keySequence(&sheet, QKeySequence::Cut);
    QCOMPARE(text(sheet, 0, 1), QString());
    QCOMPARE(sheet.copiedCells(), (Cells{{"a1"}}));
    select(sheet, {{5, 3, 6, 3}});
    QTest::keyClick(&sheet, Qt::Key_Delete);
    QCOMPARE(text(sheet, 6, 3), QString());
}

void SheetTest::keysLeaveAnOpenEditorAlone()
{
    SpreadSheetWidget sheet(10, 5, nullptr);
    bindEditingKeys(&sheet);
    sheet.show();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    fill(sheet, 2, 2);
    select(sheet, {{1, 1, 1, 1}});
    sheet.onCopy();
    sheet.setCurrentCell(0, 0);
    sheet.editItem(sheet.item(0, 0));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keySequence(editor, QKeySequence::Cut); // the editor's own cut
    QCOMPARE(editor->text(), QString());
    QCOMPARE(sheet.copiedCells(), (Cells{{"b1"}}));
    QTest::keySequence(editor, QKeySequence::Paste);
    QCOMPARE(editor->text(), QStringLiteral("a0"));
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete); // the editor's own delete
    QCOMPARE(editor->text(), QStringLiteral("0"));
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(text(sheet, 0, 0), QStringLiteral("x0")); // the delegate commits queued
}

void SheetTest::extraction_data()
{
    QTest::addColumn<QStringList>("timeCells"); // "<none>" for a cell without an item
    QTest::addColumn<QStringList>("concentrationCells");
    QTest::addColumn<QVector<double>>("times");
    QTest::addColumn<QVector<double>>("concentrations");
    QTest::newRow("complete rows") << QStringList{"1", "2"} << QStringList{"8", "4"} << QVector<double>{1, 2}
                                   << QVector<double>{8, 4};
    QTest::newRow("missing concentration dropped")
        << QStringList{"1", "2", "3"} << QStringList{"8", "", "2"} << QVector<double>{1, 3} << QVector<double>{8, 2};
    QTest::newRow("missing time dropped")
        << QStringList{"", "2"} << QStringList{"8", "4"} << QVector<double>{2} << QVector<double>{4};
    QTest::newRow("gap row") << QStringList{"1", "2", "", "4", "5"} << QStringList{"9", "8", "", "6", "5"}
                             << QVector<double>{1, 2, 4, 5} << QVector<double>{9, 8, 6, 5};
    QTest::newRow("text is zero") << QStringList{"abc"} << QStringList{"5"} << QVector<double>{0} << QVector<double>{5};
    QTest::newRow("a blank is zero") << QStringList{" "} << QStringList{"1"} << QVector<double>{0}
                                     << QVector<double>{1};
    QTest::newRow("number syntax") << QStringList{"1e-3", " 2.5 ", "2.5\r\n", "1,5"} << QStringList{"1", "1", "1", "1"}
                                   << QVector<double>{0.001, 2.5, 2.5, 0} << QVector<double>{1, 1, 1, 1};
    QTest::newRow("cell without item is empty")
        << QStringList{"1", "2"} << QStringList{"3", "<none>"} << QVector<double>{1} << QVector<double>{3};
    QTest::newRow("no rows") << QStringList{} << QStringList{} << QVector<double>{} << QVector<double>{};
}

void SheetTest::extraction()
{
    QFETCH(QStringList, timeCells);
    QFETCH(QStringList, concentrationCells);
    QFETCH(QVector<double>, times);
    QFETCH(QVector<double>, concentrations);
    QTableWidget table(timeCells.size(), 2);
    for (int row = 0; row < timeCells.size(); ++row) {
        if (timeCells[row] != "<none>")
            table.setItem(row, 0, new QTableWidgetItem(timeCells[row]));
        if (concentrationCells[row] != "<none>")
            table.setItem(row, 1, new QTableWidgetItem(concentrationCells[row]));
    }
    QVector<QVariant> timeList = SpreadSheetWidget::columnValues(&table, 0);
    QVector<QVariant> concentrationList = SpreadSheetWidget::columnValues(&table, 1);
    QCOMPARE(timeList.size(), timeCells.size());
    QVERIFY(SpreadSheetWidget::columnValues(&table, 7).count(QVariant()) == timeCells.size());
    dropIncompletePairs(timeList, concentrationList);
    QCOMPARE(asDoubleVector(timeList), times);
    QCOMPARE(asDoubleVector(concentrationList), concentrations);
}

ZELKORA_TEST_MAIN(SheetTest)
#include "tst_sheet.moc"
