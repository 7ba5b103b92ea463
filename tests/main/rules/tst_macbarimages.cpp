#include "desktop/macbarimages.h"

#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

using Korvex::MacBar::ButtonImages;

// Which pictures the alternative title bar's circle buttons take.
class TestMacBarImages final : public QObject
{
    Q_OBJECT
private slots:
    void pictures_data();
    void pictures();
    void darkVariantFromThePreferences();
};

namespace
{
QString image(const char *name)
{
    return QStringLiteral(":/images/mac_%1.png").arg(QLatin1String(name));
}
} // namespace

void TestMacBarImages::pictures_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QStringList>("expected"); // close, min, full; empty: nothing changes
    const QString off = image("deactive_back");
    QTest::newRow("idle") << 0 << 111 << 2 << false
                          << QStringList{image("close_back"), image("min_back"),
                                         image("full_back")};
    QTest::newRow("idle dark") << 0 << 111 << 2 << true
                               << QStringList{image("dark_back"), image("dark_back"),
                                              image("dark_back")};
    QTest::newRow("idle full screen: no minimise")
        << 0 << 111 << 3 << false << QStringList{image("close_back"), off, image("full_back")};
    QTest::newRow("inactive") << 1 << 111 << 2 << true << QStringList{off, off, off};
    QTest::newRow("hover") << 2 << 111 << 2 << false
                           << QStringList{image("close"), image("min"), image("full")};
    QTest::newRow("hover dark") << 2 << 111 << 2 << true
                                << QStringList{image("dark_close"), image("dark_min"),
                                               image("dark_full")};
    QTest::newRow("hover full screen")
        << 2 << 111 << 3 << false << QStringList{image("close"), off, image("normal")};
    QTest::newRow("hover full screen dark")
        << 2 << 111 << 3 << true << QStringList{image("dark_close"), off, image("dark_normal")};
    QTest::newRow("hover, close and full screen off")
        << 2 << 10 << 2 << false << QStringList{off, image("min"), off};
    QTest::newRow("other mode") << 5 << 111 << 2 << false << QStringList{};
}

void TestMacBarImages::pictures()
{
    QFETCH(int, mode);
    QFETCH(int, flags);
    QFETCH(int, state);
    QFETCH(bool, dark);
    QFETCH(QStringList, expected);
    const std::optional<ButtonImages> images =
        Korvex::MacBar::buttonImages(mode, flags, state, dark);
    QCOMPARE(images.has_value(), !expected.isEmpty());
    if (images)
        QCOMPARE((QStringList{images->close, images->min, images->full}), expected);
}

void TestMacBarImages::darkVariantFromThePreferences()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation);
    QVERIFY(!Korvex::MacBar::isDarkVariant(config)); // no file
    {
        QSettings preferences(config + QStringLiteral("/.GlobalPreferences.plist"),
                              QSettings::NativeFormat);
        preferences.setValue(QStringLiteral("AppleAquaColorVariant"), 6);
    }
    QVERIFY(Korvex::MacBar::isDarkVariant(config));
    QFile::remove(config + QStringLiteral("/.GlobalPreferences.plist"));
}

QTEST_GUILESS_MAIN(TestMacBarImages)
#include "tst_macbarimages.moc"
