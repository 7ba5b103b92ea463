#include "mainwindow.h"
#include "desktop/dialogplacement.h"
#include "inprocessclient.h"

#include "settings/clientstate.h"
#include "closemodes.h"
#include "closeverifywindow.h"
#include "settings/configstore.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "desktopinput.h"
#include "desktop/framebands.h"
#include "loginformwindow.h"
#include "macextras.h"
#include "miniwindow.h"
#include "traycontrol.h"
#include "testsupport.h"
#include "trayhost.h"
#include "urlrecorder.h"
#include "versionswindow.h"
#include "pages/webhost.h"
#include "windowchrome.h"
#include "windowmanager.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>
#include <QtTest>

#include <memory>

using Korvex::CloseVerifyWindow;
using Korvex::MacExtras;
using Korvex::MainWindow;
using Korvex::Miniwindow;
using Korvex::VersionsWindow;

// The main window's own frame, its close dialog and its tray under a real X
// server with a window manager (openbox) and a tray host (trayer), driven by
// the real mouse and keyboard (xdotool). No companion programs: the window is
// what is tested here. The cases run in order on one window.
namespace
{

using TestSupport::child;
using TestSupport::clickAt;
using TestSupport::dragWithTheMouse;
using TestSupport::keepScreenshot;
using TestSupport::xdotool;

QString number(int value)
{
    return QString::number(value);
}

QRect screenGeometry(WId id)
{
    return TestSupport::screenGeometry(quint64(id));
}

QPoint centreOf(QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

QPoint indicatorOf(QWidget *radio)
{
    return TestSupport::radioIndicator(QRect(radio->mapToGlobal(QPoint(0, 0)), radio->size()));
}

bool near(const QPoint &a, const QPoint &b, int slack = 2)
{
    return qAbs(a.x() - b.x()) <= slack && qAbs(a.y() - b.y()) <= slack;
}

} // namespace

class TestWindowChrome final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void welcomeBalloonPointsAtTheTrayIcon();
    void titleBarButtonsSayWhatTheyDo();
    void bandsAndTitleBarOfTheRealWindow();
    void dragByTheTitleBar();
    void resizeByTheCorner();
    void maximiseAndRestore();
    void soundButtonOnBothWindows();
    void altF4AndCloseButtonOpenTheDialogAndNeverQuit();
    void trayIconSitsInTheTrayAndBringsTheWindowBack();
    void silentThenTrayRestoresSoundAndPopups();
    void trayMenuHasFourEntriesAndOneSeparator();
    void settingsWindowOpensCentredOnTheWindowAndFullyOnScreen();
    void escapeClosesADialogAsItsCross();
    void enterConfirmsADialog();
    void aboutWindowFromTheTrayMenu();
    void miniModeAndItsClose();
    void alternativeTitleBarButtonsReachTheWindow();
    void withoutATrayTheWindowIsMinimised();
    void quitFromTheTrayMenu();

private:
    QPushButton *button(const char *name) const { return child<QPushButton>(m_window.get(), name); }
    QPushButton *dialogButton(const char *name) const
    {
        return child<QPushButton>(m_window->closeVerifyWindow(), name);
    }
    QRadioButton *choice(const char *name) const
    {
        return child<QRadioButton>(m_window->closeVerifyWindow(), name);
    }
    QRect onScreen() const { return screenGeometry(m_window->winId()); }
    // Where the main window's dialogs open: centred over it, inside the free area.
    bool placedOverTheWindow(QWidget *dialog) const;
    // Brings the window to the front, active, at `topLeft`, normal size.
    void settle(const QPoint &topLeft = QPoint(100, 80));
    // Confirms `which` (radioButton, radioButton_2 ...) in the dialog with the mouse.
    // The close dialog shown, active, and where the window manager has put it
    // (it may still be placing it: clicks go where it is).
    void waitForTheDialog();
    void confirm(const char *which);
    void clickTrayIcon(int button = 1);

    WindowManager m_windowManager;
    TrayHost m_tray;
    TestSupport::InProcessClient m_client;
    TestSupport::UrlRecorder m_browser;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QSignalSpy> m_quits;
};

void TestWindowChrome::initTestCase()
{
    QString error;
    QVERIFY2(m_windowManager.start(&error), qPrintable(error));
    QVERIFY2(m_tray.start(&error), qPrintable(error));
    QVERIFY2(m_client.start(TestSupport::InProcessClient::English, &error), qPrintable(error));
    // Nothing answers there: no page ever loads, and no test depends on one.
    Korvex::setWebHost(QStringLiteral("http://127.0.0.1:9"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The table window stays on top at the screen's top: not in the way here.
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("toolBarWindow")},
                        {QStringLiteral("0")});

    m_window = std::make_unique<MainWindow>();
    m_quits = std::make_unique<QSignalSpy>(qApp, &QCoreApplication::aboutToQuit);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_VERIFY_WITH_TIMEOUT(Korvex::TrayControl::available(), 10000);
    keepScreenshot(QStringLiteral("chrome-start"));
}

void TestWindowChrome::cleanupTestCase()
{
    m_window.reset();
    m_tray.stop();
    m_windowManager.stop();
}

void TestWindowChrome::settle(const QPoint &topLeft)
{
    if (m_window->isMaximized() || m_window->isMinimized())
        m_window->showNormal();
    m_window->show();
    m_window->resize(1045, 700);
    m_window->move(topLeft);
    m_window->raise();
    m_window->activateWindow();
    QTRY_VERIFY2(m_window->isActiveWindow(),
                 qPrintable(QStringLiteral("active: %1, state %2, visible %3")
                                .arg(QApplication::activeWindow()
                                         ? QApplication::activeWindow()->objectName()
                                         : QStringLiteral("none"))
                                .arg(int(m_window->windowState()))
                                .arg(m_window->isVisible())));
    QTRY_COMPARE(onScreen(), QRect(topLeft, QSize(1045, 700)));
    QTRY_COMPARE(m_window->geometry(), QRect(topLeft, QSize(1045, 700)));
}

void TestWindowChrome::waitForTheDialog()
{
    CloseVerifyWindow *dialog = m_window->closeVerifyWindow();
    QTRY_VERIFY(dialog->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTRY_COMPARE(screenGeometry(dialog->winId()), dialog->geometry());
}

void TestWindowChrome::confirm(const char *which)
{
    waitForTheDialog();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(clickAt(indicatorOf(choice(which))));
    QTRY_VERIFY(choice(which)->isChecked());
    QVERIFY(clickAt(centreOf(dialogButton("button_confirm"))));
}

void TestWindowChrome::clickTrayIcon(int button)
{
    QVERIFY(m_tray.clickIcon(Korvex::applicationName(), button));
}

void TestWindowChrome::welcomeBalloonPointsAtTheTrayIcon()
{
    // Shown once the tray host has taken the icon in, beside it, not in the
    // screen's corner where the icon waited before.
    const auto shownBalloon = []() -> QWidget * {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->inherits("QBalloonTip"))
                return w;
        }
        return nullptr;
    };
    QTRY_VERIFY_WITH_TIMEOUT(shownBalloon(), Korvex::TrayControl::BalloonMs);
    const QWidget *balloon = shownBalloon();
    const QPoint icon = m_window->trayControl()->icon()->geometry().center();
    QVERIFY2(balloon->frameGeometry().adjusted(-40, -40, 40, 40).contains(icon),
             qPrintable(QStringLiteral("balloon at %1,%2, icon at %3,%4")
                            .arg(balloon->x())
                            .arg(balloon->y())
                            .arg(icon.x())
                            .arg(icon.y())));
    QVERIFY(icon.y() > QGuiApplication::primaryScreen()->geometry().center().y());
}

void TestWindowChrome::titleBarButtonsSayWhatTheyDo()
{
    // No system title bar: the window draws its own.
    QVERIFY(m_window->windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(!(m_window->windowFlags() & Qt::WindowTitleHint));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kelvora"));
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    QCOMPARE(QApplication::palette(), fusion->standardPalette());
    QVERIFY(qApp->styleSheet().contains(QLatin1String("QWidget#widget_2")));

    const QList<std::pair<const char *, QString>> words{
        {"button_close", QStringLiteral("Close")},
        {"button_min", QStringLiteral("Minimise")},
        {"button_max", QStringLiteral("Maximise")},
        {"button_info", QStringLiteral("About")},
        {"button_sound", QStringLiteral("Sound on or off")}};
    for (const auto &[name, text] : words) {
        QCOMPARE(button(name)->accessibleName(), text);
        QCOMPARE(button(name)->toolTip(), text);
    }
    QCOMPARE(button("button_close")->text(), QString(QChar(0xf00d)));
    QCOMPARE(button("button_min")->text(), QString(QChar(0xf068)));
    QCOMPARE(button("button_max")->text(), QString(QChar(0xf096)));
    QVERIFY(button("button_sound")->text().isEmpty());
    QVERIFY(!button("button_sound")->icon().isNull());
    QCOMPARE(button("button3_minimoshi")->text(), QStringLiteral("Mini view"));
    QVERIFY(button("button3_toolBarWindow")->isVisible());
    QCOMPARE(button("button3_toolBarWindow")->text(), QStringLiteral("Ticker"));
    // The filter bar's button and the subscription drop-down's read differently.
    QVERIFY(button("button2_newsFeed")->text().startsWith(QLatin1String("Filter ")));
    QCOMPARE(button("button2_customSet")->text(), QStringLiteral("Subscriptions ▾"));
    QVERIFY(!button("button_loginOut")->isVisible());

    // Rounded corners: the corner pixels are cut off, the rest is window.
    const QRegion mask = m_window->mask();
    QCOMPARE(mask.boundingRect(), m_window->rect());
    QVERIFY(!mask.contains(QPoint(0, 0)));
    QVERIFY(!mask.contains(QPoint(m_window->width() - 1, m_window->height() - 1)));
    QVERIFY(mask.contains(QPoint(2, 2)));
    QVERIFY(mask.contains(QPoint(m_window->width() / 2, 0)));
    keepScreenshot(QStringLiteral("chrome-frame"));
}

void TestWindowChrome::bandsAndTitleBarOfTheRealWindow()
{
    settle();
    const Korvex::FrameLayout layout = m_window->chrome()->frameLayout();
    const int w = m_window->width();
    const auto hit = [&](const QPoint &pos) { return Korvex::frameHit(pos, layout); };
    QCOMPARE(hit(QPoint(w - 3, 3)), Korvex::FrameHit::TopRight);
    QWidget *controls = child<QWidget>(m_window.get(), "widget_6");
    const QPoint loginBlock = controls->mapTo(m_window.get(), QPoint(0, 0));
    QCOMPARE(hit(QPoint(loginBlock.x() - 5, 20)), Korvex::FrameHit::Caption);
    QCOMPARE(hit(QPoint(200, 20)), Korvex::FrameHit::Caption);
    QPushButton *login = button("button_loginIn");
    QCOMPARE(hit(login->mapTo(m_window.get(), login->rect().center())), Korvex::FrameHit::Client);
    QCOMPARE(hit(QPoint(w / 2, m_window->height() / 2)), Korvex::FrameHit::Client);

    // Over a band the cursor says which way the window resizes.
    QVERIFY(xdotool(
        {QStringLiteral("mousemove"), number(m_window->x() + w - 3), number(m_window->y() + 300)}));
    QTRY_COMPARE(m_window->cursor().shape(), Qt::SizeHorCursor);
    QVERIFY(xdotool(
        {QStringLiteral("mousemove"), number(m_window->x() + w / 2), number(m_window->y() + 300)}));
    QTRY_COMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
}

void TestWindowChrome::dragByTheTitleBar()
{
    settle();
    const QRect before = onScreen();
    const QPoint by(120, 70);
    QVERIFY(dragWithTheMouse(before.topLeft() + QPoint(200, 25), by));
    // The window trails the mouse by the first one-pixel step at most.
    QTRY_VERIFY2(near(onScreen().topLeft(), before.topLeft() + by),
                 qPrintable(QStringLiteral("%1,%2").arg(onScreen().x()).arg(onScreen().y())));
    QCOMPARE(onScreen().size(), before.size());
    QTRY_VERIFY(near(m_window->geometry().topLeft(), onScreen().topLeft(), 0));
}

void TestWindowChrome::resizeByTheCorner()
{
    settle();
    QSignalSpy refreshes(m_window->chrome(), &Korvex::WindowChrome::resizeRefreshDue);
    const QRect before = onScreen();
    const QPoint by(80, 50);
    QVERIFY(dragWithTheMouse(before.bottomRight() - QPoint(2, 2), by));
    QTRY_VERIFY2(
        near(QPoint(onScreen().width(), onScreen().height()),
             QPoint(before.width(), before.height()) + by),
        qPrintable(QStringLiteral("%1x%2").arg(onScreen().width()).arg(onScreen().height())));
    QCOMPARE(onScreen().topLeft(), before.topLeft());
    QTRY_COMPARE(m_window->size(), onScreen().size());
    // The corners follow, and the page area is refreshed once the resizing settles.
    QCOMPARE(m_window->mask().boundingRect(), m_window->rect());
    QTRY_VERIFY(refreshes.count() >= 1);

    // The left band moves the left edge; the right one stays.
    settle();
    const QRect start = onScreen();
    QVERIFY(dragWithTheMouse(start.topLeft() + QPoint(2, 300), QPoint(-40, 0)));
    QTRY_VERIFY(near(QPoint(onScreen().left(), onScreen().right()),
                     QPoint(start.left() - 40, start.right())));
    // Never below the minimum size: a second drag starts from the corner the
    // first one left, so it lands where it does only when the first stopped there.
    settle();
    QVERIFY(dragWithTheMouse(onScreen().bottomRight() - QPoint(2, 2), QPoint(-200, -150)));
    const QRect smallest(onScreen().topLeft(), QSize(1000, 700));
    QTRY_COMPARE(onScreen(), smallest);
    QVERIFY(dragWithTheMouse(smallest.bottomRight() - QPoint(2, 2), QPoint(10, 10)));
    QTRY_COMPARE(onScreen().size(), QSize(1010, 710));
}

void TestWindowChrome::maximiseAndRestore()
{
    settle();
    QTest::mouseClick(button("button_max"), Qt::LeftButton);
    QTRY_VERIFY(m_window->isMaximized());
    QCOMPARE(button("button_max")->text(), QString(QChar(0xf079)));
    QCOMPARE(button("button_max")->accessibleName(), QStringLiteral("Restore"));
    QTRY_COMPARE(onScreen().size(), m_window->screen()->availableGeometry().size());
    QTest::mouseClick(button("button_max"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->isMaximized());
    QCOMPARE(button("button_max")->text(), QString(QChar(0xf096)));
    QTRY_COMPARE(onScreen().size(), QSize(1045, 700));

    // A double-click on the title bar does the same.
    settle();
    const QPoint title = onScreen().topLeft() + QPoint(200, 25);
    QVERIFY(clickAt(title, 1, 2));
    QTRY_VERIFY(m_window->isMaximized());
    QTest::mouseClick(button("button_max"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->isMaximized());
    // A single click does nothing, once the window has had it.
    settle();
    QSignalSpy pressed(m_window->chrome(), &Korvex::WindowChrome::framePressed);
    QVERIFY(clickAt(title));
    QTRY_COMPARE(pressed.count(), 1);
    QVERIFY(TestSupport::postedEventsHandled());
    QVERIFY(!m_window->isMaximized());
    QCOMPARE(onScreen().topLeft(), QPoint(100, 80));

    // The tray's "Maximise" is the same button.
    m_window->trayControl()->action(Korvex::TrayControl::Entry::Maximise)->trigger();
    QTRY_VERIFY(m_window->isMaximized());
    m_window->onBtnMaxClicked();
    QTRY_VERIFY(!m_window->isMaximized());
}

void TestWindowChrome::soundButtonOnBothWindows()
{
    settle();
    Korvex::ClientState &state = m_window->clientState();
    QVERIFY(state.soundOn());
    QPushButton *sound = button("button_sound");
    const auto shows = [sound](const char *resource) {
        const QImage expected =
            QPixmap(QLatin1String(resource))
                .scaled(sound->iconSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .toImage()
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage shown = sound->icon()
                                 .pixmap(sound->iconSize())
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return shown == expected;
    };
    QVERIFY(shows(":/img/sound.png"));
    QCOMPARE(sound->iconSize(), QSize(qRound(sound->width() * 0.7), qRound(sound->height() * 0.7)));
    QVERIFY(clickAt(centreOf(sound)));
    QTRY_VERIFY(!state.soundOn());
    QVERIFY(!m_window->miniWindow()->soundOn);
    QVERIFY(shows(":/img/no_sound.png"));

    // The strip's sound button is the same switch.
    auto *miniSound =
        m_window->miniWindow()->findChild<QPushButton *>(QStringLiteral("mini_sound"));
    QVERIFY(miniSound);
    QTest::mouseClick(miniSound, Qt::LeftButton);
    QVERIFY(state.soundOn());
    QVERIFY(m_window->miniWindow()->soundOn);
    QVERIFY(shows(":/img/sound.png"));
}

void TestWindowChrome::altF4AndCloseButtonOpenTheDialogAndNeverQuit()
{
    settle();
    CloseVerifyWindow *dialog = m_window->closeVerifyWindow();
    QSignalSpy keep(dialog, &CloseVerifyWindow::radioButton1Clicked);
    QSignalSpy silent(dialog, &CloseVerifyWindow::radioButton2Clicked);
    QSignalSpy quit(dialog, &CloseVerifyWindow::radioButton3Clicked);
    const auto sent = [&] { return keep.count() + silent.count() + quit.count(); };

    // Alt+F4, taken by the window manager or reaching the window.
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}));
    waitForTheDialog();
    QVERIFY(choice("radioButton")->isChecked());
    QVERIFY(m_window->isVisible());
    keepScreenshot(QStringLiteral("close-dialog"));

    // Another choice, then cancel: nothing is sent, the window stays.
    QVERIFY(clickAt(indicatorOf(choice("radioButton_3"))));
    QTRY_VERIFY(choice("radioButton_3")->isChecked());
    QVERIFY(clickAt(centreOf(dialogButton("button_cancel"))));
    QTRY_VERIFY(!dialog->isVisible());

    // The close button opens it again, on the first choice.
    settle();
    QVERIFY(clickAt(centreOf(button("button_close"))));
    waitForTheDialog();
    QVERIFY(choice("radioButton")->isChecked());
    QVERIFY(!choice("radioButton_3")->isChecked());
    QVERIFY(clickAt(indicatorOf(choice("radioButton_2"))));
    QTRY_VERIFY(choice("radioButton_2")->isChecked());
    // The cross: nothing sent either.
    QVERIFY(clickAt(centreOf(dialogButton("close_close"))));
    QTRY_VERIFY(!dialog->isVisible());

    // Alt+F4 once more: the first choice again.
    settle();
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}));
    waitForTheDialog();
    QVERIFY(choice("radioButton")->isChecked());
    QVERIFY(clickAt(centreOf(dialogButton("button_cancel"))));
    QTRY_VERIFY(!dialog->isVisible());

    // Alt+F4 that the window manager lets through to the window: the same dialog.
    settle();
    QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
    waitForTheDialog();
    QVERIFY(choice("radioButton")->isChecked());
    QVERIFY(clickAt(centreOf(dialogButton("button_cancel"))));
    QTRY_VERIFY(!dialog->isVisible());

    QCOMPARE(sent(), 0);
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->closeModes()->isSilent());
    QVERIFY(m_window->trayControl()->icon()->isVisible());
    QCOMPARE(m_quits->count(), 0);
}

void TestWindowChrome::trayIconSitsInTheTrayAndBringsTheWindowBack()
{
    // The icon is a window of its own inside the tray host's panel.
    QTRY_COMPARE(m_tray.embeddedWindows(Korvex::applicationName()).size(), 1);
    QCOMPARE(m_window->trayControl()->icon()->toolTip(), QStringLiteral("VEK"));

    settle();
    m_window->close();
    confirm("radioButton");
    QTRY_VERIFY(m_window->isHidden());
    QVERIFY(!m_window->closeVerifyWindow()->isVisible());
    QVERIFY(!m_window->closeModes()->isSilent());
    QVERIFY(m_window->clientState().popupOn());

    clickTrayIcon();
    QTRY_VERIFY(m_window->isVisible());
    QTRY_VERIFY(m_window->isActiveWindow());
    QTRY_VERIFY(onScreen().isValid());
    QCOMPARE(m_quits->count(), 0);
}

void TestWindowChrome::silentThenTrayRestoresSoundAndPopups()
{
    // Sound off before stays off (every combination before: tst_silentmode); the
    // ways back below start with it on, and it comes back on.
    Korvex::ClientState &state = m_window->clientState();
    settle();
    if (state.soundOn())
        m_window->onBtnSoundClicked();
    QVERIFY(state.popupOn());
    m_window->close();
    confirm("radioButton_2");
    QTRY_VERIFY(m_window->isHidden());
    QVERIFY(m_window->closeModes()->isSilent());
    QVERIFY(!state.soundOn());
    QVERIFY(!state.popupOn());
    QVERIFY(!m_window->miniWindow()->soundOn);

    clickTrayIcon();
    QTRY_VERIFY(m_window->isVisible());
    QTRY_VERIFY(m_window->isActiveWindow());
    QVERIFY(!m_window->closeModes()->isSilent());
    QVERIFY(!state.soundOn());
    QVERIFY(!m_window->miniWindow()->soundOn);
    QVERIFY(state.popupOn());
    m_window->onBtnSoundClicked(); // back on
    QVERIFY(state.soundOn());

    // The tray's hidden "show" entry is a double-click on the icon.
    m_window->close();
    confirm("radioButton_2");
    QTRY_VERIFY(m_window->isHidden());
    m_window->trayControl()->action(Korvex::TrayControl::Entry::ShowWindow)->trigger();
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(state.soundOn());
    QVERIFY(state.popupOn());

    // The menu's "Maximise" and "Minimise" come back the same way.
    using Entry = Korvex::TrayControl::Entry;
    for (const Entry entry : {Entry::Maximise, Entry::Minimise}) {
        settle();
        m_window->close();
        confirm("radioButton_2");
        QTRY_VERIFY(m_window->isHidden());
        QVERIFY(!state.popupOn());
        m_window->trayControl()->action(entry)->trigger();
        QTRY_VERIFY(m_window->isVisible());
        QVERIFY(!m_window->closeModes()->isSilent());
        QVERIFY(state.soundOn());
        QVERIFY(state.popupOn());
        QTRY_COMPARE(entry == Entry::Maximise ? m_window->isMaximized() : m_window->isMinimized(),
                     true);
        m_window->showNormal();
    }
}

bool TestWindowChrome::placedOverTheWindow(QWidget *dialog) const
{
    const QRect available = m_window->screen()->availableGeometry();
    const QSize size = dialog->frameGeometry().size();
    const QRect placed(Korvex::Placement::centredOver(size, m_window->frameGeometry(), available),
                       size);
    // Where the window manager has it, not where the toolkit believes it is.
    return available.contains(placed) && screenGeometry(dialog->winId()) == placed;
}

// Centred over the window; wholly inside the screen's free area (above the
// tray's panel) however far the window reaches off it.
void TestWindowChrome::settingsWindowOpensCentredOnTheWindowAndFullyOnScreen()
{
    QWidget *settings = m_window->funcOrderWindow();
    const QRect available = m_window->screen()->availableGeometry();
    for (const QPoint &at : {QPoint(100, 80), QPoint(100, 500)}) {
        settle(at);
        QVERIFY(clickAt(centreOf(button("button3_gongnengdingzhi"))));
        QTRY_VERIFY(settings->isVisible());
        QTRY_VERIFY(placedOverTheWindow(settings));
        if (available.contains(m_window->frameGeometry())) {
            QVERIFY(near(screenGeometry(settings->winId()).center(),
                         m_window->frameGeometry().center(), 1));
        }
        keepScreenshot(QStringLiteral("settings-over-window"));
        settings->hide();
    }
    // The second time the window reached below the free area.
    QVERIFY(!available.contains(m_window->frameGeometry()));
}

// Escape is the dialog's cross: the close dialog goes, nothing is chosen.
void TestWindowChrome::escapeClosesADialogAsItsCross()
{
    settle();
    CloseVerifyWindow *dialog = m_window->closeVerifyWindow();
    QSignalSpy keep(dialog, &CloseVerifyWindow::radioButton1Clicked);
    m_window->close();
    waitForTheDialog();
    QVERIFY(placedOverTheWindow(dialog));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(keep.count(), 0);
    QVERIFY(m_window->isVisible());
}

// Enter is the confirm button: the checked choice (the tray) is taken.
void TestWindowChrome::enterConfirmsADialog()
{
    settle();
    CloseVerifyWindow *dialog = m_window->closeVerifyWindow();
    QSignalSpy keep(dialog, &CloseVerifyWindow::radioButton1Clicked);
    m_window->close();
    waitForTheDialog();
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QTRY_COMPARE(keep.count(), 1);
    QTRY_VERIFY(m_window->isHidden());
    m_window->mainWindowShow();
    QTRY_VERIFY(m_window->isVisible());
}

void TestWindowChrome::trayMenuHasFourEntriesAndOneSeparator()
{
    QMenu *menu = m_window->trayControl()->menu();
    QStringList entries;
    int separators = 0;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            ++separators;
        else
            entries << action->text();
    }
    QCOMPARE(entries, (QStringList{QStringLiteral("Maximise   "), QStringLiteral("Minimise   "),
                                   QStringLiteral("About   "), QStringLiteral("Exit   ")}));
    QCOMPARE(separators, 1);
    QVERIFY(menu->actions().at(2)->isSeparator());
    QVERIFY(!menu->actions().contains(
        m_window->trayControl()->action(Korvex::TrayControl::Entry::ShowWindow)));

    // A right click on the icon opens it.
    settle();
    clickTrayIcon(3);
    QTRY_VERIFY(menu->isVisible());
    keepScreenshot(QStringLiteral("tray-menu"));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QTRY_VERIFY(!menu->isVisible());

    // "Minimise" minimises; the icon brings the window back.
    m_window->trayControl()->action(Korvex::TrayControl::Entry::Minimise)->trigger();
    QTRY_VERIFY(m_window->isMinimized());
    clickTrayIcon();
    QTRY_VERIFY(!m_window->isMinimized());
    QTRY_VERIFY(m_window->isActiveWindow());
}

void TestWindowChrome::aboutWindowFromTheTrayMenu()
{
    settle();
    // Opened through the menu with the keyboard: the entry above "Exit". The
    // window is made then, and still reaches the main window's link handler.
    clickTrayIcon(3);
    QTRY_VERIFY(m_window->trayControl()->menu()->isVisible());
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Up"),
                     QStringLiteral("Return")}));
    VersionsWindow *about = m_window->versionsWindow();
    QTRY_VERIFY(about->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(about));
    // Over the main window.
    QTRY_VERIFY(near(about->geometry().center(), m_window->frameGeometry().center(), 3));
    keepScreenshot(QStringLiteral("about"));

    // Its link buttons go through the main window's link handler: an address
    // on the web host opens in the other-pages view, not in the browser.
    auto *site = about->findChild<QPushButton *>(QStringLiteral("pushButton_kelvora"));
    auto *otherPages = m_window->findChild<QWebView *>(QStringLiteral("webView_oth"));
    QVERIFY(otherPages);
    m_browser.urls.clear();
    QVERIFY(clickAt(centreOf(site)));
    const QUrl address = QUrl(QStringLiteral("http://") + site->text());
    // The site's root page: no path, or "/".
    QTRY_COMPARE(otherPages->page()->mainFrame()->requestedUrl().authority(), address.authority());
    QVERIFY(otherPages->page()->mainFrame()->requestedUrl().path().length() <= 1);
    QVERIFY(m_browser.urls.isEmpty());
    auto *close = about->findChild<QPushButton *>(QStringLiteral("version_close"));
    QVERIFY(clickAt(centreOf(close)));
    QTRY_VERIFY(!about->isVisible());

    // The title bar's button opens it too.
    QVERIFY(clickAt(centreOf(button("button_info"))));
    QTRY_VERIFY(about->isVisible());
    about->onBtnCloseClicked();
}

void TestWindowChrome::miniModeAndItsClose()
{
    settle();
    Korvex::ClientState &state = m_window->clientState();
    Miniwindow *mini = m_window->miniWindow();
    QVERIFY(clickAt(centreOf(button("button3_minimoshi"))));
    QTRY_VERIFY(mini->isVisible());
    QTRY_VERIFY(m_window->isHidden());
    QVERIFY(state.miniModeActive());

    // The strip's close button asks as the window's does.
    auto *miniClose = mini->findChild<QPushButton *>(QStringLiteral("mini_close"));
    QVERIFY(QTest::qWaitForWindowExposed(mini));
    QVERIFY(clickAt(centreOf(miniClose)));
    QTRY_VERIFY(m_window->closeVerifyWindow()->isVisible());
    QVERIFY(choice("radioButton")->isChecked());
    confirm("radioButton");
    // To the tray: the strip goes, and mini mode with it.
    QTRY_VERIFY(!mini->isVisible());
    QVERIFY(!state.miniModeActive());
    QVERIFY(m_window->isHidden());
    clickTrayIcon();
    QTRY_VERIFY(m_window->isVisible());
}

void TestWindowChrome::alternativeTitleBarButtonsReachTheWindow()
{
    MacExtras *bar = m_window->macExtras();
    QVERIFY(!bar->isVisible());
    Korvex::ClientState &state = m_window->clientState();
    // A page twin opens the same page as the main form's button.
    bar->button(QStringLiteral("button2_caijingrili"))->click();
    QCOMPARE(state.currentPage(), Korvex::Content::CalendarPage);
    bar->button(QStringLiteral("button2_kuaixunzhibo"))->click();
    QVERIFY(state.currentPage() != Korvex::Content::CalendarPage);
    // The subscription and login twins: the drop-down and the login window.
    bar->button(QStringLiteral("button2_customSet"))->click();
    QTRY_VERIFY(m_window->customSetButtonFormWindow()->isVisible());
    m_window->hideCustomSetButtonFormWindow();
    state.setLogin(false, QString());
    bar->button(QStringLiteral("mac_button_login"))->click();
    QTRY_VERIFY(m_window->loginWindow()->isVisible());
    m_window->loginWindow()->hide();
}

void TestWindowChrome::withoutATrayTheWindowIsMinimised()
{
    Korvex::ClientState &state = m_window->clientState();
    m_tray.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!Korvex::TrayControl::available(), 10000);
    const QString id = QString::number(m_window->winId());

    // "Keep running in the tray": the window stays in reach, minimised.
    settle();
    m_window->close();
    confirm("radioButton");
    QTRY_VERIFY(m_window->isMinimized());
    QVERIFY(m_window->closeModes()->isAwayWithoutTray());
    QVERIFY(!m_window->isHidden());
    // Brought back the way a task bar does it.
    QVERIFY(xdotool({QStringLiteral("windowactivate"), id}));
    QTRY_VERIFY(!m_window->isMinimized());
    QTRY_VERIFY(m_window->isActiveWindow());
    QVERIFY(!m_window->closeModes()->isAwayWithoutTray());

    // Silent: minimised too, and back from there with sound and pop-ups.
    settle();
    QVERIFY(state.soundOn());
    m_window->close();
    confirm("radioButton_2");
    QTRY_VERIFY(m_window->isMinimized());
    QVERIFY(!state.soundOn());
    QVERIFY(!state.popupOn());
    QVERIFY(xdotool({QStringLiteral("windowactivate"), id}));
    QTRY_VERIFY(!m_window->isMinimized());
    QTRY_VERIFY(state.soundOn());
    QVERIFY(state.popupOn());
    QVERIFY(!m_window->closeModes()->isSilent());

    // The pop-up's "more" brings the window back from there too, and
    // silent mode ends that way as well.
    settle();
    m_window->close();
    confirm("radioButton_2");
    QTRY_VERIFY(m_window->isMinimized());
    m_window->mainWindowShow();
    QTRY_VERIFY(!m_window->isMinimized());
    QTRY_VERIFY(onScreen().isValid());
    QVERIFY(state.soundOn());
    QVERIFY(state.popupOn());
    QCOMPARE(m_quits->count(), 0);

    // The tray comes back; so does the icon in it.
    QString error;
    QVERIFY2(m_tray.start(&error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(Korvex::TrayControl::available(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_tray.embeddedWindows(Korvex::applicationName()).size(), 1, 10000);
}

void TestWindowChrome::quitFromTheTrayMenu()
{
    settle();
    // Closed before quitting: remembered as closed.
    QVERIFY(!m_window->isToolBarWindowShown());
    m_window->trayControl()->action(Korvex::TrayControl::Entry::Quit)->trigger();
    QVERIFY(!m_window->trayControl()->icon()->isVisible());
    QTRY_VERIFY(m_tray.embeddedWindows(Korvex::applicationName()).isEmpty());
    QCOMPARE(
        Korvex::readConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("toolBarWindow")}),
        QStringList{QStringLiteral("0")});
}

QTEST_MAIN(TestWindowChrome)
#include "tst_windowchrome.moc"
