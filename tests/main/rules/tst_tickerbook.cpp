#include "intake/tickerbook.h"

#include <QtTest>

using Korvex::TickerBook;
namespace Ticker = Korvex::Ticker;

namespace
{

Ticker::Row item(int sequence, bool focus = false)
{
    Ticker::Row row;
    row.sequence = sequence;
    row.text = QString::number(sequence);
    if (focus) {
        row.label = Ticker::focusLabel().text;
        row.textColour = Ticker::FocusRed;
        row.background = Ticker::FocusBackground;
    }
    return row;
}

// Sequence numbers of the visible rows, top to bottom; placeholders as 0.
QList<int> visible(const TickerBook &book)
{
    QList<int> rows;
    for (int row = 0; row < TickerBook::RowCount; ++row) {
        if (book.rowVisible(row))
            rows << book.slot(row).row.sequence;
    }
    return rows;
}

} // namespace

class TestTickerBook final : public QObject
{
    Q_OBJECT
private slots:
    void startsEmptyAndCollapsed();
    void focusRowsReturnInSequenceOrder();
    void fourthFocusItemEndsTheOldest();
    void heights();
};

void TestTickerBook::startsEmptyAndCollapsed()
{
    TickerBook book;
    QCOMPARE(visible(book), QList<int>{0});
    QVERIFY(!book.sideLabelVisible());
    book.setExpanded(true);
    QCOMPARE(visible(book), (QList<int>{0, 0, 0}));
}

void TestTickerBook::focusRowsReturnInSequenceOrder()
{
    TickerBook book;
    book.setExpanded(true);
    book.addOrdinary(item(1));
    book.addFocus(item(2, true));
    book.addOrdinary(item(3));
    book.addFocus(item(4, true));
    book.addOrdinary(item(5));
    QCOMPARE(visible(book), (QList<int>{4, 2, 5, 3, 1}));

    book.endOldestFocus(); // 2 is newer than 1, which leaves
    QCOMPARE(visible(book), (QList<int>{4, 5, 3, 2}));
    const Ticker::Row &back = book.slot(7).row;
    QCOMPARE(back.label, QStringLiteral("聚焦"));
    QCOMPARE(back.textColour, Ticker::FocusRed);
    QCOMPARE(back.background, Ticker::OrdinaryBackground);

    book.endOldestFocus();
    QCOMPARE(visible(book), (QList<int>{5, 4, 3}));
    QCOMPARE(book.focusCount(), 0);

    // Older than every ordinary row: not shown again.
    book.addFocus(item(0, true));
    book.endOldestFocus();
    QCOMPARE(visible(book), (QList<int>{5, 4, 3}));
    book.endOldestFocus(); // a stray timer changes nothing
    QCOMPARE(book.focusCount(), 0);
}

void TestTickerBook::fourthFocusItemEndsTheOldest()
{
    TickerBook book;
    book.setExpanded(true);
    QList<int> timers;
    for (int sequence = 1; sequence <= 4; ++sequence) {
        timers << book.nextFocusTimer();
        // The window ends the oldest row first when the timer is still running.
        if (sequence == 4)
            book.endOldestFocus();
        book.addFocus(item(sequence, true));
    }
    QCOMPARE(timers, (QList<int>{1, 2, 0, 1}));
    QCOMPARE(book.focusCount(), 3);
    QCOMPARE(visible(book), (QList<int>{4, 3, 2, 1, 0, 0}));
}

void TestTickerBook::heights()
{
    TickerBook book;
    const auto height = [&book] { return book.windowHeight(25); };
    QCOMPARE(height(), 27);
    book.addFocus(item(1, true));
    QCOMPARE(height(), 52);
    QVERIFY(book.sideLabelVisible());
    book.addFocus(item(2, true));
    book.addFocus(item(3, true));
    QCOMPARE(height(), 52); // collapsed: at most two rows
    book.setExpanded(true);
    QCOMPARE(height(), 102); // expanded: at most four rows
    book.endOldestFocus();
    book.endOldestFocus();
    QCOMPARE(height(), 102);
    book.endOldestFocus();
    QCOMPARE(height(), 77);
}

QTEST_GUILESS_MAIN(TestTickerBook)
#include "tst_tickerbook.moc"
