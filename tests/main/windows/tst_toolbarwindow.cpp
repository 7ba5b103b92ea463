#include "toolbarwindow.h"

#include "testsupport.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using Korvex::ToolBarWindow;

namespace
{

QString item(const QString &type, const QString &title, int id = 0,
             const QString &time = QStringLiteral("2026-12-07 10:00:00"))
{
    return QStringLiteral(R"([{"vek_news_type":"%1","time":"%2","title":"%3","id":%4}])")
        .arg(type, time, title)
        .arg(id);
}

// The way the main window delivers an item.
void feed(ToolBarWindow &window, const QString &newsJson, bool top = false)
{
    ++window.sequenceNumber;
    window.updateTableWithNewMessage(newsJson, top);
}

QTableWidget *texts(ToolBarWindow &window)
{
    return window.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
}

QTableWidget *labels(ToolBarWindow &window)
{
    return window.findChild<QTableWidget *>(QStringLiteral("tableWidget_2"));
}

// Item texts of the rows a user sees, top to bottom, without the time.
QString shownTitles(ToolBarWindow &window)
{
    QTableWidget *table = texts(window);
    QStringList titles;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!table->isRowHidden(row)) {
            titles << table->item(row, 3)->text().section(QStringLiteral("  "), 1);
        }
    }
    return titles.join(QLatin1Char('|'));
}

QStringList allTexts(ToolBarWindow &window)
{
    QStringList all;
    for (int row = 0; row < 8; ++row)
        all << texts(window)->item(row, 3)->text() << labels(window)->item(row, 0)->text();
    return all;
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QPoint textCell(ToolBarWindow &window, int row)
{
    return texts(window)->visualItemRect(texts(window)->item(row, 3)).center();
}

} // namespace

class TestToolBarWindow final : public QObject
{
    Q_OBJECT
private slots:
    void fourFocusItemsWithinTheFocusTime();
    void expiredFocusRowReturnsInSequenceOrder();
    void heightsFollowFocusRowsAndExpansion();
    void rowTextClickAndHover();
    void draggingMovesTheWindow();
    void badItemsChangeNothingAndHostileOnesShowVerbatim();
};

void TestToolBarWindow::fourFocusItemsWithinTheFocusTime()
{
    ToolBarWindow window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.onBtnExpandClicked();
    for (int n = 1; n <= 4; ++n)
        feed(window, item(QStringLiteral("Forex"), QStringLiteral("F%1").arg(n)), true);
    // The fourth reuses the first one's timer: the first ends at once and
    // takes its place among the ordinary rows.
    QCOMPARE(shownTitles(window), QStringLiteral("F4|F3|F2|F1||"));
    QCOMPARE(labels(window)->item(0, 0)->text(), QStringLiteral("聚焦"));
    QCOMPARE(texts(window)->item(0, 3)->background().color(), QColor(255, 239, 237));
    QCOMPARE(texts(window)->item(5, 3)->background().color(), QColor(Qt::white));
    int running = 0;
    for (const QTimer *timer : window.findChildren<QTimer *>())
        running += timer->isSingleShot() && timer->isActive();
    QCOMPARE(running, 3);
}

void TestToolBarWindow::expiredFocusRowReturnsInSequenceOrder()
{
    ToolBarWindow window;
    window.setFocusDuration(20);
    feed(window, item(QStringLiteral("Oil"), QStringLiteral("A")));
    feed(window, item(QStringLiteral("PM"), QStringLiteral("B")), true);
    feed(window, item(QStringLiteral("Copper"), QStringLiteral("C")));
    QCOMPARE(shownTitles(window), QStringLiteral("B|C"));
    QTRY_VERIFY(texts(window)->isRowHidden(0));
    window.onBtnExpandClicked();
    QCOMPARE(shownTitles(window), QStringLiteral("C|B|A"));
    QVERIFY(labels(window)->isRowHidden(0));
    QCOMPARE(window.height(), 3 * 25 + 2);
}

void TestToolBarWindow::heightsFollowFocusRowsAndExpansion()
{
    ToolBarWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *label = window.findChild<QLabel *>(QStringLiteral("label"));
    auto *expand = window.findChild<QPushButton *>(QStringLiteral("button_expand"));
    QCOMPARE(texts(window)->rowHeight(5), 25);
    QCOMPARE(window.height(), 25 + 2);
    QVERIFY(!label->isVisible());
    QCOMPARE(expand->text(), QString(QChar(0xf063)));

    QTest::mouseClick(expand, Qt::LeftButton);
    QCOMPARE(window.height(), 3 * 25 + 2);
    QVERIFY(label->isVisible());
    QCOMPARE(expand->text(), QString(QChar(0xf062)));
    feed(window, item(QStringLiteral("ES"), QStringLiteral("x")), true);
    QCOMPARE(window.height(), 4 * 25 + 2);

    QTest::mouseClick(expand, Qt::LeftButton);
    QCOMPARE(window.height(), 2 * 25 + 2);
    QVERIFY(label->isVisible());
    // Rounded corners: the mask follows every resize.
    QTRY_COMPARE(window.mask().boundingRect(), window.rect());
    QVERIFY(!window.mask().contains(QPoint(0, 0)));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestToolBarWindow::rowTextClickAndHover()
{
    ToolBarWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy open(&window, &ToolBarWindow::toolBarNeedOpenContent);
    QWidget *viewport = texts(window)->viewport();

    window.onTimeZoneChanged(QStringLiteral("1"));
    feed(window, item(QStringLiteral("Forex"), QStringLiteral("no page"), 0,
                      QStringLiteral("2026-12-07 23:50:00")));
    QCOMPARE(texts(window)->item(5, 3)->text(), QStringLiteral("00:50  no page"));
    QCOMPARE(labels(window)->item(5, 0)->foreground().color(), QColor(203, 109, 0));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, textCell(window, 5));
    sendMouse(viewport, QEvent::MouseMove, textCell(window, 5), Qt::NoButton, Qt::NoButton);
    QCOMPARE(texts(window)->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(open.count(), 0);

    feed(window, item(QStringLiteral("Forex"), QStringLiteral("with page"), 42));
    QCOMPARE(texts(window)->item(5, 3)->foreground().color(), QColor(0, 0, 255));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport, &leave);
    sendMouse(viewport, QEvent::MouseMove, textCell(window, 5), Qt::NoButton, Qt::NoButton);
    QCOMPARE(texts(window)->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, textCell(window, 5));
    QCOMPARE(open.count(), 1);
    QCOMPARE(open.at(0).at(0).toString(), QStringLiteral("42"));

    QSignalSpy hide(&window, &ToolBarWindow::toolBarWindowNeedHide);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("button_close")),
                      Qt::LeftButton);
    QCOMPARE(hide.count(), 1);
}

void TestToolBarWindow::draggingMovesTheWindow()
{
    ToolBarWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy open(&window, &ToolBarWindow::toolBarNeedOpenContent);
    const QPoint start = window.pos();
    QCOMPARE(start, QPoint(10, 10));

    QWidget *strip = window.findChild<QWidget *>(QStringLiteral("centralwidget"));
    sendMouse(strip, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton);
    sendMouse(strip, QEvent::MouseMove, QPoint(33, 53), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(window.pos(), start + QPoint(30, 50));
    sendMouse(strip, QEvent::MouseButtonRelease, QPoint(33, 53), Qt::NoButton);
    sendMouse(strip, QEvent::MouseMove, QPoint(60, 60), Qt::NoButton, Qt::NoButton);
    QCOMPARE(window.pos(), start + QPoint(30, 50));

    // Dragging by an item moves the window and does not open the item.
    feed(window, item(QStringLiteral("Forex"), QStringLiteral("with page"), 42));
    QWidget *viewport = texts(window)->viewport();
    const QPoint cell = textCell(window, 5);
    sendMouse(viewport, QEvent::MouseButtonPress, cell, Qt::LeftButton);
    // Window and cursor move together, so the cursor stays over the cell.
    QMouseEvent move(QEvent::MouseMove, cell, viewport->mapToGlobal(cell) + QPoint(5, 7),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QCOMPARE(window.pos(), start + QPoint(35, 57));
    sendMouse(viewport, QEvent::MouseButtonRelease, cell, Qt::NoButton);
    QCOMPARE(open.count(), 0);
}

void TestToolBarWindow::badItemsChangeNothingAndHostileOnesShowVerbatim()
{
    ToolBarWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    feed(window, item(QStringLiteral("PM"), QStringLiteral("kept")));
    const QStringList before = allTexts(window);

    feed(window, item(QStringLiteral("FBN"), QStringLiteral("没有前缀")));
    feed(window, item(QStringLiteral("FBN"), QStringLiteral("没有前缀")), true);
    feed(window, QStringLiteral(R"([{"title":"cut off)"));
    feed(window, QString());
    feed(window, QString::fromUtf8("[{\"title\":\"\xff\xfe\xc3\"")); // invalid UTF-8, truncated
    QCOMPARE(allTexts(window), before);
    QCOMPARE(window.height(), 25 + 2);

    const QString hostile = QStringLiteral("</script>'); alert(1); ('<b>x</b>");
    feed(window, item(QStringLiteral("PM"), hostile, 7));
    QCOMPARE(texts(window)->item(5, 3)->text(), QStringLiteral("10:00  ") + hostile);
    const QString huge(100 * 1024, QChar(0x6da8));
    feed(window, item(QStringLiteral("Oil"), huge), true);
    QCOMPARE(texts(window)->item(0, 3)->text().size(), huge.size() + 7);

    // Paint and hover the huge row; the event loop keeps turning.
    QVERIFY(!window.grab().isNull());
    sendMouse(texts(window)->viewport(), QEvent::MouseMove, textCell(window, 0), Qt::NoButton,
              Qt::NoButton);
    QVERIFY(TestSupport::postedEventsHandled());
}

QTEST_MAIN(TestToolBarWindow)
#include "tst_toolbarwindow.moc"
