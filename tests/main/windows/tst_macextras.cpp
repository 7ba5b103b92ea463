#include "macextras.h"

#include "desktop/macbarimages.h"

#include <QPushButton>
#include <QtTest>

using Korvex::MacExtras;

// The alternative title bar: what its buttons do (their pictures: tst_macbarimages).
class TestMacExtras final : public QObject
{
    Q_OBJECT
private slots:
    void subBarAndWindowButtons();
};

void TestMacExtras::subBarAndWindowButtons()
{
    MacExtras bar(nullptr, 101); // minimise not active
    bar.show();
    QWidget *pages = bar.findChild<QWidget *>(QStringLiteral("widget_menu"));
    QWidget *subscription = bar.findChild<QWidget *>(QStringLiteral("widget_dingYue"));
    QVERIFY(pages->isVisible());
    QVERIFY(!subscription->isVisible());
    QTest::mouseClick(bar.button(QStringLiteral("button2_dingYueShow")), Qt::LeftButton);
    QVERIFY(!pages->isVisible());
    QVERIFY(subscription->isVisible());
    QTest::mouseClick(bar.button(QStringLiteral("button2_menuShow")), Qt::LeftButton);
    QVERIFY(pages->isVisible());

    // Pictures, not the form's placeholder texts; each says what it does.
    for (const char *name : {"button_close", "button_min", "button_max"}) {
        QPushButton *circle = bar.button(QLatin1String(name));
        QVERIFY(circle->text().isEmpty());
        QVERIFY(!circle->icon().isNull());
        QVERIFY(!circle->accessibleName().isEmpty());
    }
    QTest::mouseClick(bar.button(QStringLiteral("button_min")), Qt::LeftButton);
    QVERIFY(!bar.isMinimized());
    QTest::mouseClick(bar.button(QStringLiteral("button_max")), Qt::LeftButton);
    QCOMPARE(bar.barState(), int(Korvex::MacBar::FullScreen));
    QTest::mouseClick(bar.button(QStringLiteral("button_max")), Qt::LeftButton);
    QCOMPARE(bar.barState(), int(Korvex::MacBar::Normal));
    QTest::mouseClick(bar.button(QStringLiteral("button_close")), Qt::LeftButton);
    QVERIFY(!bar.isVisible());
}

QTEST_MAIN(TestMacExtras)
#include "tst_macextras.moc"
