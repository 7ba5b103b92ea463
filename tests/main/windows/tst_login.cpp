// Logging in, registering and recovering a password through the stand-in
// service's real account pages, in the real main window and its six account
// windows under X: what the title bar shows, group "state" of the store, the
// next start, and what a page can and cannot make the client do.
#include "mainwindow.h"
#include "inprocessclient.h"

#include "bridgeprobe.h"
#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "jsliteral.h"
#include "loginflow.h"
#include "loginformwindow.h"
#include "pages/loginrules.h"
#include "pagebridges.h"
#include "testsupport.h"
#include "servicefixture.h"
#include "pages/webhost.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <memory>

using Korvex::LoginFormWindow;
using Korvex::MainWindow;

namespace
{

using TestSupport::child;

const QString Demo = QStringLiteral("demo@korvex.test");
const QString DemoName = QStringLiteral("演示用户");
const QString Pending = QStringLiteral("pending@korvex.test");
const QString PendingName = QStringLiteral("待激活用户");
const QString Password = QStringLiteral("korvex123");

QStringList storedState()
{
    return Korvex::readConfig(Korvex::Login::stateGroup(), Korvex::Login::stateKeys());
}

QList<Korvex::LoginFlow::Window> only(Korvex::LoginFlow::Window which)
{
    return {which};
}

QWebFrame *frameOf(LoginFormWindow *window)
{
    return window->pageView()->page()->mainFrame();
}

} // namespace

class TestLogin final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startsLoggedOut();
    void loginThroughThePageAndTheNextStartLogsInAutomatically();
    void autoOffStaysLoggedOutAtTheNextStart();
    void logoutClearsEverythingAndLeavesTheFavourites();
    void wrongPasswordChangesNothing();
    void registrationCheckGetsTheAddressAfterEveryLoad();
    void pendingAccountIsCheckedThenLoggedIn();
    void addressReachesThePageExactlyWhateverItHolds();
    void passwordRecoveryRunsThroughAllFourWindows();
    void onlyResultOneOrMinusOneChangesAnything();
    void loginButtonWhileRegisteringShowsAFreshLoginPage();
    void pageSeesOnlyTheMembersItUses();
    void pageOfAnotherHostCannotLogIn();

private:
    void startWindow();
    // The window's page `path` has loaded and its form is there.
    bool pageReady(LoginFormWindow *window, const QString &path) const;
    // Focuses the page's field `id` and types `text` into it as a user would.
    void type(LoginFormWindow *window, const QString &id, const QString &text);
    // A real click in the middle of the page's element `id`.
    void click(LoginFormWindow *window, const QString &id);
    // The text of the page's element `id`, as the page set it.
    QString pageText(LoginFormWindow *window, const QString &id) const;
    LoginFormWindow *shown(Korvex::LoginFlow::Window which) const
    {
        return m_window->loginFlow()->window(which);
    }
    QList<Korvex::LoginFlow::Window> visibleWindows() const;
    // Arguments of every call of the page function `function` in `path`.
    QList<QStringList> pageCalls(const QString &function, const QString &path)
    {
        return m_service.callArguments(function, path);
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(m_window.get(), name); }
    QLabel *userLabel() const { return child<QLabel>(m_window.get(), "label_userName"); }
    void logInAs(const QString &mail, const QString &password);
    // The live page was told `greeting` (mailbox, status); every event is printed when not.
    bool liveGreeted(const QStringList &greeting)
    {
        const auto greeted = [&] {
            return pageCalls(QStringLiteral("login"), QStringLiteral("/Expresslive"))
                .contains(greeting);
        };
        if (QTest::qWaitFor(greeted, 20000))
            return true;
        qInfo().noquote() << m_service.control("GET", QStringLiteral("/events")).toJson();
        auto *live = m_window->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo"));
        qInfo() << "live page" << live->url()
                << live->page()->mainFrame()->evaluateJavaScript(QStringLiteral(
                       "document.readyState + ' ' + document.getElementById('user').textContent"));
        return false;
    }
    // Script errors the pages reported.
    QJsonArray scriptErrors() { return m_service.pageEvents(QStringLiteral("error")); }
    void verifyLoggedOutLook() const;
    void verifyLoggedInLook(const QString &name) const;

    TestSupport::InProcessClient m_client;
    ServiceFixture &m_service = m_client.service;
    std::unique_ptr<MainWindow> m_window;
};

void TestLogin::initTestCase()
{
    // No companion program: the window and its account pages are what is tested.
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::WithService |
                                TestSupport::InProcessClient::English,
                            &error),
             qPrintable(error));
}

void TestLogin::init()
{
    QVERIFY(m_service.reset());
    QFile::remove(TestSupport::storePath());
}

void TestLogin::cleanup()
{
    m_window.reset();
}

void TestLogin::cleanupTestCase()
{
    m_window.reset();
    m_service.stop();
}

void TestLogin::startWindow()
{
    m_window.reset();
    m_window = std::make_unique<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

bool TestLogin::pageReady(LoginFormWindow *window, const QString &path) const
{
    QWebFrame *frame = frameOf(window);
    return window->isVisible() && window->pageView()->url().path() == path &&
           frame->evaluateJavaScript(QStringLiteral("document.readyState")).toString() ==
               QLatin1String("complete") &&
           !frame->findFirstElement(QStringLiteral("#submit")).isNull();
}

void TestLogin::type(LoginFormWindow *window, const QString &id, const QString &text)
{
    QWebView *view = window->pageView();
    window->activateWindow();
    view->setFocus();
    frameOf(window)->evaluateJavaScript(
        QStringLiteral("document.getElementById(%1).focus()").arg(JsLiteral::quote(id)));
    QTest::keyClicks(view, text);
    QCOMPARE(frameOf(window)
                 ->evaluateJavaScript(
                     QStringLiteral("document.getElementById(%1).value").arg(JsLiteral::quote(id)))
                 .toString(),
             text);
}

void TestLogin::click(LoginFormWindow *window, const QString &id)
{
    QWebFrame *frame = frameOf(window);
    const QWebElement element = frame->findFirstElement(QLatin1Char('#') + id);
    QVERIFY2(!element.isNull(), qPrintable(id));
    const QPoint centre = element.geometry().center() - frame->scrollPosition();
    QTest::mouseClick(window->pageView(), Qt::LeftButton, Qt::NoModifier, centre);
}

QString TestLogin::pageText(LoginFormWindow *window, const QString &id) const
{
    return frameOf(window)
        ->evaluateJavaScript(
            QStringLiteral("document.getElementById(%1).textContent").arg(JsLiteral::quote(id)))
        .toString();
}

QList<Korvex::LoginFlow::Window> TestLogin::visibleWindows() const
{
    QList<Korvex::LoginFlow::Window> visible;
    for (int i = Korvex::LoginFlow::Login; i <= Korvex::LoginFlow::RecoveryCheck; ++i) {
        const auto which = static_cast<Korvex::LoginFlow::Window>(i);
        if (shown(which)->isVisible())
            visible << which;
    }
    return visible;
}

void TestLogin::logInAs(const QString &mail, const QString &password)
{
    QTest::mouseClick(button("button_loginIn"), Qt::LeftButton);
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    type(login, QStringLiteral("email"), mail);
    type(login, QStringLiteral("password"), password);
    click(login, QStringLiteral("submit"));
}

void TestLogin::verifyLoggedOutLook() const
{
    QVERIFY(userLabel()->text().trimmed().isEmpty());
    QVERIFY(button("button_loginIn")->isVisible());
    QVERIFY(button("button_reg")->isVisible());
    QVERIFY(!button("button_loginOut")->isVisible());
    QVERIFY(!m_window->clientState().loggedIn());
    QVERIFY(m_window->clientState().userMailbox().isEmpty());
}

void TestLogin::verifyLoggedInLook(const QString &name) const
{
    QCOMPARE(userLabel()->text(), QStringLiteral("User: ") + name);
    QVERIFY(!button("button_loginIn")->isVisible());
    QVERIFY(!button("button_reg")->isVisible());
    QVERIFY(button("button_loginOut")->isVisible());
    QVERIFY(m_window->clientState().loggedIn());
}

void TestLogin::startsLoggedOut()
{
    startWindow();
    verifyLoggedOutLook();
    QCOMPARE(userLabel()->text(), QString());
    QVERIFY(visibleWindows().isEmpty());
    QCOMPARE(button("button_loginIn")->text(), QStringLiteral("Log in"));
    QCOMPARE(button("button_reg")->text(), QStringLiteral("Register"));
    QCOMPARE(button("button_loginOut")->text(), QStringLiteral("Log out"));
    // The name is the service's data: never read as markup (no pictures, no links).
    QCOMPARE(userLabel()->textFormat(), Qt::PlainText);
}

void TestLogin::loginThroughThePageAndTheNextStartLogsInAutomatically()
{
    startWindow();
    logInAs(Demo, Password);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->clientState().loggedIn(), 20000);
    verifyLoggedInLook(DemoName);
    QCOMPARE(m_window->clientState().userMailbox(), Demo);
    QCOMPARE(storedState(),
             QStringList({QStringLiteral("1"), DemoName, Demo, QStringLiteral("1")}));
    QTRY_VERIFY(visibleWindows().isEmpty());
    // The live page is told who is logged in, once it is there.
    const QStringList greeting{Demo, QStringLiteral("1")};
    QVERIFY(liveGreeted(greeting));

    // The next start: logged in before the window shows, the live page told after its load.
    QVERIFY(m_service.reset());
    startWindow();
    verifyLoggedInLook(DemoName);
    QCOMPARE(m_window->clientState().userMailbox(), Demo);
    QVERIFY(visibleWindows().isEmpty());
    QCOMPARE(storedState(),
             QStringList({QStringLiteral("1"), DemoName, Demo, QStringLiteral("1")}));
    QVERIFY(liveGreeted(greeting));
}

// Each stored state's verdict: tst_loginrules.
void TestLogin::autoOffStaysLoggedOutAtTheNextStart()
{
    const QStringList stored{QStringLiteral("1"), DemoName, Demo, QStringLiteral("0")};
    Korvex::writeConfig(Korvex::Login::stateGroup(), Korvex::Login::stateKeys(), stored);
    startWindow();
    verifyLoggedOutLook();
    QCOMPARE(storedState(), stored);
}

void TestLogin::logoutClearsEverythingAndLeavesTheFavourites()
{
    Korvex::writeConfig(Korvex::Login::stateGroup(), Korvex::Login::stateKeys(),
                        {QStringLiteral("1"), DemoName, Demo, QStringLiteral("1")});
    startWindow();
    verifyLoggedInLook(DemoName);
    const QStringList greeting{Demo, QStringLiteral("1")};
    QVERIFY(liveGreeted(greeting));
    // The favourites page (12) is in front when the user logs out.
    m_window->clientState().setCurrentPage(Korvex::Content::FavouritesPage);
    QTest::mouseClick(button("button_loginOut"), Qt::LeftButton);

    verifyLoggedOutLook();
    QCOMPARE(userLabel()->text(), QStringLiteral(" "));
    QCOMPARE(storedState(), QStringList({QStringLiteral("0"), QStringLiteral(" "),
                                         QStringLiteral(" "), QStringLiteral("0")}));
    // Away from the favourites, onto the live page.
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::LivePage);
    const QStringList loggedOut{QStringLiteral(" "), QStringLiteral("0")};
    QTRY_VERIFY_WITH_TIMEOUT(
        pageCalls(QStringLiteral("login"), QStringLiteral("/Expresslive")).contains(loggedOut),
        20000);

    // Logging out elsewhere leaves the page in front as it is.
    logInAs(Demo, Password);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->clientState().loggedIn(), 20000);
    m_window->clientState().setCurrentPage(Korvex::Content::CalendarPage);
    QTest::mouseClick(button("button_loginOut"), Qt::LeftButton);
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::CalendarPage);

    startWindow();
    verifyLoggedOutLook();
}

void TestLogin::wrongPasswordChangesNothing()
{
    startWindow();
    logInAs(Demo, QStringLiteral("not-the-password"));
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTRY_VERIFY_WITH_TIMEOUT(!pageText(login, QStringLiteral("message")).isEmpty(), 20000);
    // The page has handled the answer: a failed login calls nothing.
    QCOMPARE(pageText(login, QStringLiteral("message")), QStringLiteral("邮箱或密码错误"));
    verifyLoggedOutLook();
    QCOMPARE(userLabel()->text(), QString());
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Login));
    QCOMPARE(storedState(), QStringList({QString(), QString(), QString(), QString()}));
}

void TestLogin::registrationCheckGetsTheAddressAfterEveryLoad()
{
    startWindow();
    QTest::mouseClick(button("button_reg"), Qt::LeftButton);
    LoginFormWindow *registration = shown(Korvex::LoginFlow::Register);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(registration, QStringLiteral("/register/register")), 20000);
    QCOMPARE(registration->windowTitle(), QStringLiteral("Register"));
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Register));
    const QString mail = QStringLiteral("new.reader@korvex.test");
    type(registration, QStringLiteral("email"), mail);
    type(registration, QStringLiteral("name"), QStringLiteral("Reader"));
    type(registration, QStringLiteral("password"), QStringLiteral("secret12"));
    type(registration, QStringLiteral("password2"), QStringLiteral("secret12"));
    click(registration, QStringLiteral("submit"));

    LoginFormWindow *check = shown(Korvex::LoginFlow::RegisterCheck);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(check, QStringLiteral("/register/regactive")), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::RegisterCheck));
    QCOMPARE(check->windowTitle(), QStringLiteral("Verify registration"));
    const QString path = QStringLiteral("/register/regactive");
    QTRY_COMPARE_WITH_TIMEOUT(pageCalls(QStringLiteral("getemial"), path),
                              QList<QStringList>{{mail}}, 20000);
    QTRY_COMPARE(pageText(check, QStringLiteral("mail")), mail);

    // Every load hears it again: a reload of the page, and a new showing.
    check->pageView()->reload();
    QTRY_COMPARE_WITH_TIMEOUT(pageCalls(QStringLiteral("getemial"), path).size(), 2, 20000);
    m_window->loginFlow()->showRegistrationCheck(mail);
    QTRY_COMPARE_WITH_TIMEOUT(pageCalls(QStringLiteral("getemial"), path).size(), 3, 20000);
    QCOMPARE(pageCalls(QStringLiteral("getemial"), path),
             QList<QStringList>({{mail}, {mail}, {mail}}));

    // The code the page shows (no mail is sent here) activates the account and logs it in.
    QTRY_VERIFY_WITH_TIMEOUT(pageText(check, QStringLiteral("hint")).contains(QStringLiteral("：")),
                             20000);
    const QString code = pageText(check, QStringLiteral("hint")).section(QStringLiteral("："), -1);
    QCOMPARE(code.size(), 6);
    type(check, QStringLiteral("code"), code);
    click(check, QStringLiteral("submit"));
    QTRY_VERIFY_WITH_TIMEOUT(m_window->clientState().loggedIn(), 20000);
    verifyLoggedInLook(QStringLiteral("Reader"));
    QCOMPARE(m_window->clientState().userMailbox(), mail);
    QCOMPARE(storedState(), QStringList({QStringLiteral("1"), QStringLiteral("Reader"), mail,
                                         QStringLiteral("0")}));
    QTRY_VERIFY(visibleWindows().isEmpty());
    QCOMPARE(scriptErrors(), QJsonArray());
}

void TestLogin::pendingAccountIsCheckedThenLoggedIn()
{
    startWindow();
    logInAs(Pending, Password);
    LoginFormWindow *check = shown(Korvex::LoginFlow::RegisterCheck);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(check, QStringLiteral("/register/regactive")), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::RegisterCheck));
    QTRY_COMPARE_WITH_TIMEOUT(
        pageCalls(QStringLiteral("getemial"), QStringLiteral("/register/regactive")),
        QList<QStringList>{{Pending}}, 20000);
    // Not logged in yet, nothing stored.
    verifyLoggedOutLook();
    QCOMPARE(storedState().at(0), QString());

    type(check, QStringLiteral("code"), QStringLiteral("000000"));
    click(check, QStringLiteral("submit"));
    QTRY_COMPARE_WITH_TIMEOUT(pageText(check, QStringLiteral("message")),
                              QStringLiteral("验证码不正确"), 20000);
    verifyLoggedOutLook();

    check->activateWindow();
    frameOf(check)->evaluateJavaScript(QStringLiteral("document.getElementById('code').value=''"));
    type(check, QStringLiteral("code"), QStringLiteral("135790"));
    click(check, QStringLiteral("submit"));
    QTRY_VERIFY_WITH_TIMEOUT(m_window->clientState().loggedIn(), 20000);
    verifyLoggedInLook(PendingName);
    QCOMPARE(m_window->clientState().userMailbox(), Pending);
    QCOMPARE(storedState(),
             QStringList({QStringLiteral("1"), PendingName, Pending, QStringLiteral("0")}));
    QTRY_VERIFY(visibleWindows().isEmpty());
}

void TestLogin::addressReachesThePageExactlyWhateverItHolds()
{
    // Quotes, backslashes, a line break and a script end: an escaped literal, never code.
    const QString awkward =
        QStringLiteral("o'ne\\il\"</script>\n\u2028x@korvex.test');alert(1);//");
    QCOMPARE(LoginFormWindow::mailBoxScript(3, awkward),
             JsLiteral::call(QStringLiteral("getemial"), {awkward}));
    QCOMPARE(LoginFormWindow::mailBoxScript(4, awkward),
             JsLiteral::call(QStringLiteral("getdatapwd"), {awkward}));
    QCOMPARE(LoginFormWindow::mailBoxScript(6, awkward),
             JsLiteral::call(QStringLiteral("getdatap"), {awkward}));
    for (int kind : {0, 1, 2, 5, 7})
        QVERIFY(LoginFormWindow::mailBoxScript(kind, awkward).isEmpty());

    startWindow();
    struct Case {
        Korvex::LoginFlow::Window window;
        QString path;
        QString function;
        std::function<void()> show;
    };
    const QList<Case> cases{
        {Korvex::LoginFlow::RegisterCheck, QStringLiteral("/register/regactive"),
         QStringLiteral("getemial"),
         [&] { m_window->loginFlow()->showRegistrationCheck(awkward); }},
        {Korvex::LoginFlow::RecoveryCheck, QStringLiteral("/retrievepassword/emailfindcode02"),
         QStringLiteral("getdatap"), [&] { m_window->loginFlow()->showRecoveryCheck(awkward); }},
        {Korvex::LoginFlow::ChangePassword, QStringLiteral("/retrievepassword/emailfindcode03"),
         QStringLiteral("getdatapwd"), [&] { m_window->loginFlow()->showPasswordChange(awkward); }},
    };
    for (const Case &c : cases) {
        c.show();
        QTRY_VERIFY_WITH_TIMEOUT(pageReady(shown(c.window), c.path), 20000);
        if (!QTest::qWaitFor([&] { return !pageCalls(c.function, c.path).isEmpty(); }, 20000))
            qInfo().noquote() << m_service.control("GET", QStringLiteral("/events")).toJson();
        QTRY_COMPARE_WITH_TIMEOUT(pageCalls(c.function, c.path), QList<QStringList>{{awkward}},
                                  20000);
        QCOMPARE(pageText(shown(c.window), QStringLiteral("mail")), awkward);
    }
    QCOMPARE(scriptErrors(), QJsonArray());
}

void TestLogin::passwordRecoveryRunsThroughAllFourWindows()
{
    startWindow();
    QTest::mouseClick(button("button_loginIn"), Qt::LeftButton);
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    click(login, QStringLiteral("forgot"));

    LoginFormWindow *recovery = shown(Korvex::LoginFlow::Recovery);
    QTRY_VERIFY_WITH_TIMEOUT(
        pageReady(recovery, QStringLiteral("/retrievepassword/emailfindcode01")), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Recovery));
    QCOMPARE(recovery->windowTitle(), QStringLiteral("Recover password"));
    type(recovery, QStringLiteral("email"), Demo);
    click(recovery, QStringLiteral("submit"));

    LoginFormWindow *check = shown(Korvex::LoginFlow::RecoveryCheck);
    const QString checkPath = QStringLiteral("/retrievepassword/emailfindcode02");
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(check, checkPath), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::RecoveryCheck));
    QCOMPARE(check->windowTitle(), QStringLiteral("Verify recovery"));
    QTRY_COMPARE_WITH_TIMEOUT(pageCalls(QStringLiteral("getdatap"), checkPath),
                              QList<QStringList>{{Demo}}, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(pageText(check, QStringLiteral("hint")).contains(QStringLiteral("：")),
                             20000);
    type(check, QStringLiteral("code"),
         pageText(check, QStringLiteral("hint")).section(QStringLiteral("："), -1));
    click(check, QStringLiteral("submit"));

    LoginFormWindow *change = shown(Korvex::LoginFlow::ChangePassword);
    const QString changePath = QStringLiteral("/retrievepassword/emailfindcode03");
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(change, changePath), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::ChangePassword));
    QCOMPARE(change->windowTitle(), QStringLiteral("Change password"));
    QTRY_COMPARE_WITH_TIMEOUT(pageCalls(QStringLiteral("getdatapwd"), changePath),
                              QList<QStringList>{{Demo}}, 20000);
    type(change, QStringLiteral("password"), QStringLiteral("changed99"));
    type(change, QStringLiteral("password2"), QStringLiteral("changed99"));
    click(change, QStringLiteral("submit"));

    // Back at a freshly loaded login page, where the new password works.
    QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(), only(Korvex::LoginFlow::Login), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    QVERIFY(!m_window->clientState().loggedIn());
    type(login, QStringLiteral("email"), Demo);
    type(login, QStringLiteral("password"), QStringLiteral("changed99"));
    click(login, QStringLiteral("submit"));
    QTRY_VERIFY_WITH_TIMEOUT(m_window->clientState().loggedIn(), 20000);
    verifyLoggedInLook(DemoName);
}

void TestLogin::onlyResultOneOrMinusOneChangesAnything()
{
    startWindow();
    QTest::mouseClick(button("button_loginIn"), Qt::LeftButton);
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    QSignalSpy reports(login, &LoginFormWindow::sendFromLoginSuccessRequest);
    // What a page script may send: forwarded unchanged, judged by the main window
    // only (each value's verdict: tst_loginrules).
    frameOf(login)->evaluateJavaScript(
        QStringLiteral("LoginFormWindow.loginSuccess('1', 'x', 'x@korvex.test', '1', '2')"));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.at(0).at(4).toString(), QStringLiteral("2"));
    // A value no account has: refused by the bridge, so not shown, not stored.
    frameOf(login)->evaluateJavaScript(
        QStringLiteral("LoginFormWindow.loginSuccess('1', new Array(100001).join('x'), "
                       "'x@korvex.test', '1', '1')"));
    QCOMPARE(reports.size(), 1);
    frameOf(login)->evaluateJavaScript(QStringLiteral("LoginFormWindow.changePwdRequest()"));
    QVERIFY(TestSupport::postedEventsHandled());
    verifyLoggedOutLook();
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Login));
    QCOMPARE(storedState().at(0), QString());

    // A confirmed registration is a login: four values, the fifth is "1". (The
    // window's own slot: its bridge takes calls only from a page, and none is loaded.)
    LoginFormWindow *check = shown(Korvex::LoginFlow::RegisterCheck);
    QSignalSpy confirmed(check, &LoginFormWindow::sendFromRegVerifySuccess);
    check->regVerifySuccess(QStringLiteral("1"), QStringLiteral("<b>Bold</b>"),
                            QStringLiteral("bold@korvex.test"), QStringLiteral("0"));
    QCOMPARE(confirmed.size(), 1);
    QCOMPARE(confirmed.at(0).at(4).toString(), QStringLiteral("1"));
    verifyLoggedInLook(QStringLiteral("<b>Bold</b>"));
    QTRY_VERIFY(visibleWindows().isEmpty());
}

void TestLogin::loginButtonWhileRegisteringShowsAFreshLoginPage()
{
    startWindow();
    QTest::mouseClick(button("button_reg"), Qt::LeftButton);
    LoginFormWindow *registration = shown(Korvex::LoginFlow::Register);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(registration, QStringLiteral("/register/register")), 20000);
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTest::mouseClick(button("button_loginIn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Login));
    type(login, QStringLiteral("email"), Demo);

    // Pressed again while it shows: the page loads anew, the typed text is gone.
    QSignalSpy loads(login->pageView(), &QWebView::loadFinished);
    QTest::mouseClick(button("button_loginIn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    QCOMPARE(frameOf(login)
                 ->evaluateJavaScript(QStringLiteral("document.getElementById('email').value"))
                 .toString(),
             QString());
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Login));

    // The page's own link to the registration, and its cross.
    click(login, QStringLiteral("register"));
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(registration, QStringLiteral("/register/register")), 20000);
    QCOMPARE(visibleWindows(), only(Korvex::LoginFlow::Register));
    auto *cross = registration->findChild<QPushButton *>(QStringLiteral("loginButton_close"));
    QCOMPARE(cross->accessibleName(), QStringLiteral("Close"));
    QTest::mouseClick(cross, Qt::LeftButton);
    QVERIFY(visibleWindows().isEmpty());
}

void TestLogin::pageSeesOnlyTheMembersItUses()
{
    startWindow();
    m_window->loginFlow()->showLogin();
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, QStringLiteral("/login/login")), 20000);
    QWebFrame *frame = frameOf(login);
    // Each member is listed by name and by signature: the names are what counts.
    const QStringList listed =
        frame
            ->evaluateJavaScript(QStringLiteral(
                "(function () { var names = []; for (var k in LoginFormWindow) names.push(k); "
                "return names.join('|'); })()"))
            .toString()
            .split(QLatin1Char('|'));
    QStringList members;
    for (const QString &member : listed)
        members << member.section(QLatin1Char('('), 0, 0);
    members.removeDuplicates();
    members.sort();
    // QObject's own members are there for every object a page gets; nothing else is.
    QStringList expected{QStringLiteral("loginSuccess"),
                         QStringLiteral("regRequest"),
                         QStringLiteral("regVerifyRequest"),
                         QStringLiteral("regVerifySuccess"),
                         QStringLiteral("resetPwdRequest"),
                         QStringLiteral("resetPwdVerifyRequest"),
                         QStringLiteral("resetPwdVerifyRequest_2"),
                         QStringLiteral("changePwdRequest"),
                         QStringLiteral("changePwdSuccess"),
                         QStringLiteral("objectName"),
                         QStringLiteral("objectNameChanged"),
                         QStringLiteral("destroyed"),
                         QStringLiteral("deleteLater")};
    expected.sort();
    QCOMPARE(members.join(QLatin1Char(',')), expected.join(QLatin1Char(',')));
    for (const char *member : {"init", "close", "hide", "setMailBox", "sendMailBoxToJS",
                               "onBtnCloseClicked", "addJsObject", "sendFromLoginSuccessRequest"}) {
        QCOMPARE(frame
                     ->evaluateJavaScript(
                         QStringLiteral("typeof LoginFormWindow.%1").arg(QLatin1String(member)))
                     .toString(),
                 QStringLiteral("undefined"));
    }
    QVERIFY(TestSupport::bridgeSurvivesWindowCalls(frame, QStringLiteral("LoginFormWindow"),
                                                   QStringLiteral("regRequest")));
    QVERIFY(login->isVisible());
    QCOMPARE(login->bridge()->parent(), login);
}

// The same login form under another host name: the page gets no
// "LoginFormWindow", a login there leaves the client logged out, and a call on
// the object while the window shows that page is refused.
void TestLogin::pageOfAnotherHostCannotLogIn()
{
    startWindow();
    m_window->loginFlow()->showLogin();
    LoginFormWindow *login = shown(Korvex::LoginFlow::Login);
    const QString path = QStringLiteral("/login/login");
    QTRY_VERIFY_WITH_TIMEOUT(pageReady(login, path), 20000);
    const QUrl foreign(QStringLiteral("http://localhost:%1%2").arg(m_service.webPort()).arg(path));
    login->pageView()->load(foreign);
    QTRY_VERIFY_WITH_TIMEOUT(login->pageView()->url() == foreign && pageReady(login, path), 20000);
    QCOMPARE(
        frameOf(login)->evaluateJavaScript(QStringLiteral("typeof LoginFormWindow")).toString(),
        QStringLiteral("undefined"));

    QSignalSpy reports(login, &LoginFormWindow::sendFromLoginSuccessRequest);
    type(login, QStringLiteral("email"), Demo);
    type(login, QStringLiteral("password"), Password);
    click(login, QStringLiteral("submit"));
    // The page says so once the service answered, right before it calls the object.
    QTRY_COMPARE_WITH_TIMEOUT(pageText(login, QStringLiteral("message")),
                              QStringLiteral("登录成功"), 20000);
    login->bridge()->loginSuccess(QStringLiteral("1"), DemoName, Demo, QStringLiteral("1"),
                                  QStringLiteral("1"));
    QCOMPARE(reports.size(), 0);
    verifyLoggedOutLook();
    QCOMPARE(storedState().at(0), QString());
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
