#include "pagebridges.h"

#include "logging.h"
#include "loginformwindow.h"
#include "loginrules.h"
#include "pagecontract.h"
#include "pageinput.h"
#include "webhost.h"

#include <QWebFrame>
#include <QWebSecurityOrigin>

WebHostBridge::WebHostBridge(QWebFrame *frame, const QString &scriptName, const QString &name,
                             QObject *parent)
    : PageBridge(parent)
    , m_frame(frame)
    , m_scriptName(scriptName)
    , m_name(name)
{
}

QString WebHostBridge::frameHost() const
{
    // The origin of the document in the frame: while a new document is being
    // set up, the frame's address can still be the one before.
    return m_frame ? m_frame->securityOrigin().host() : QString();
}

bool WebHostBridge::servesWebHost() const
{
    const QString host = frameHost();
    return !host.isEmpty() && host == QUrl(Korvex::webHost()).host(QUrl::FullyDecoded);
}

bool WebHostBridge::placeIntoPage()
{
    // A blank page has nothing to call; a page of another host gets nothing.
    if (!servesWebHost()) {
        const QString host = frameHost();
        if (!host.isEmpty())
            qCWarning(lcPages).noquote()
                << m_scriptName << "not placed into a page of another host:" << host
                << QStringLiteral("(%1)").arg(m_name);
        return false;
    }
    // The bridge stays ours: the page's script never owns (or deletes) it.
    m_frame->addToJavaScriptWindowObject(m_scriptName, this, QWebFrame::QtOwnership);
    return true;
}

bool WebHostBridge::accepts(const char *member) const
{
    if (servesWebHost())
        return true;
    refuse(member, QStringLiteral("the page is not on the web host (%1)").arg(frameHost()));
    return false;
}

void WebHostBridge::refuse(const char *member, const QString &why) const
{
    qCWarning(lcPages).noquote()
        << QStringLiteral("%1.%2 refused on %3:").arg(m_scriptName, QLatin1String(member), m_name)
        << why;
}

MainPageBridge::MainPageBridge(QWebFrame *frame, const QString &name, QObject *parent)
    : WebHostBridge(frame, QString(Pages::MainBridge), name, parent)
{
}

std::optional<QString> MainPageBridge::newsIdOf(const char *member, const QVariant &newsId) const
{
    if (!accepts(member))
        return std::nullopt;
    std::optional<QString> id = Korvex::PageInput::text(newsId, Korvex::PageInput::MaxIdChars);
    if (!id)
        refuse(member, Korvex::PageInput::describe(newsId));
    return id;
}

void MainPageBridge::jsCallContentWidget(const QVariant &newsId)
{
    if (const auto id = newsIdOf("jsCallContentWidget", newsId))
        emit contentRequested(*id);
}

void MainPageBridge::showPostWindow(const QVariant &seconds)
{
    if (!accepts("showPostWindow"))
        return;
    const auto value = Korvex::PageInput::seconds(seconds);
    if (!value)
        return refuse("showPostWindow", Korvex::PageInput::describe(seconds));
    emit postWindowRequested(*value);
}

void MainPageBridge::popupCallContentWidget(const QVariant &newsId)
{
    if (const auto id = newsIdOf("popupCallContentWidget", newsId))
        emit popupContentRequested(*id);
}

void MainPageBridge::onGetNewMessage(const QVariant &newsContent, const QVariant &newsType,
                                     const QVariant &newsImportance)
{
    if (!accepts("onGetNewMessage"))
        return;
    namespace In = Korvex::PageInput;
    const auto content = In::text(newsContent, In::MaxItemChars);
    const auto type = In::text(newsType, In::MaxTypeChars);
    const auto importance = In::text(newsImportance, In::MaxImportanceChars);
    if (!content || !type || !importance)
        return refuse("onGetNewMessage", In::describe(newsContent) + QLatin1String(", ") +
                                             In::describe(newsType) + QLatin1String(", ") +
                                             In::describe(newsImportance));
    emit newsReceived(*content, *type, *importance);
}

LoginPageBridge::LoginPageBridge(LoginFormWindow *window, QWebFrame *frame)
    : WebHostBridge(frame, QString(Pages::LoginBridge), QStringLiteral("an account window"), window)
    , m_window(window)
{
}

std::optional<QStringList> LoginPageBridge::valuesOf(const char *member,
                                                     std::initializer_list<QVariant> values) const
{
    if (!accepts(member))
        return std::nullopt;
    namespace In = Korvex::PageInput;
    QStringList texts;
    QStringList kinds;
    bool good = true;
    for (const QVariant &value : values) {
        const std::optional<QString> text = In::text(value, Korvex::Login::MaxValueLength);
        good = good && text.has_value();
        texts << text.value_or(QString());
        kinds << In::describe(value);
    }
    if (good)
        return texts;
    refuse(member, kinds.join(QLatin1String(", ")));
    return std::nullopt;
}

void LoginPageBridge::loginSuccess(const QVariant &state, const QVariant &userName,
                                   const QVariant &mailBox, const QVariant &isAuto,
                                   const QVariant &isError)
{
    if (const auto v = valuesOf("loginSuccess", {state, userName, mailBox, isAuto, isError}))
        m_window->loginSuccess(v->at(0), v->at(1), v->at(2), v->at(3), v->at(4));
}

void LoginPageBridge::regRequest()
{
    if (accepts("regRequest"))
        m_window->regRequest();
}

void LoginPageBridge::regVerifyRequest(const QVariant &mail)
{
    if (const auto v = valuesOf("regVerifyRequest", {mail}))
        m_window->regVerifyRequest(v->at(0));
}

void LoginPageBridge::regVerifySuccess(const QVariant &state, const QVariant &userName,
                                       const QVariant &mailBox, const QVariant &isAuto)
{
    if (const auto v = valuesOf("regVerifySuccess", {state, userName, mailBox, isAuto}))
        m_window->regVerifySuccess(v->at(0), v->at(1), v->at(2), v->at(3));
}

void LoginPageBridge::resetPwdRequest()
{
    if (accepts("resetPwdRequest"))
        m_window->resetPwdRequest();
}

void LoginPageBridge::resetPwdVerifyRequest(const QVariant &mail)
{
    if (const auto v = valuesOf("resetPwdVerifyRequest", {mail}))
        m_window->resetPwdVerifyRequest(v->at(0));
}

void LoginPageBridge::resetPwdVerifyRequest_2(const QVariant &mail)
{
    if (const auto v = valuesOf("resetPwdVerifyRequest_2", {mail}))
        m_window->resetPwdVerifyRequest_2(v->at(0));
}

void LoginPageBridge::changePwdRequest()
{
    if (accepts("changePwdRequest"))
        m_window->changePwdRequest();
}

void LoginPageBridge::changePwdSuccess()
{
    if (accepts("changePwdSuccess"))
        m_window->changePwdSuccess();
}
