#include "pagebridges.h"

#include "logging.h"
#include "loginformwindow.h"
#include "pages/loginrules.h"
#include "pagecontract.h"
#include "pageinput.h"
#include "pages/webhost.h"

#include <QWebFrame>

namespace Korvex
{

MainPageBridge::MainPageBridge(QWebFrame *frame, const QString &name, QObject *parent)
    : Common::OriginBridge(frame, QUrl(Korvex::webHost()), QString(Pages::MainBridge), name,
                           lcPages, parent)
{
}

void MainPageBridge::jsCallContentWidget(const QVariant &newsId)
{
    if (const auto id = textOf("jsCallContentWidget", newsId, PageInput::MaxIdChars))
        emit contentRequested(*id);
}

void MainPageBridge::showPostWindow(const QVariant &seconds)
{
    if (!accepts("showPostWindow"))
        return;
    const auto value = PageInput::seconds(seconds);
    if (!value)
        return refuse("showPostWindow", PageInput::describe(seconds));
    emit postWindowRequested(*value);
}

void MainPageBridge::popupCallContentWidget(const QVariant &newsId)
{
    if (const auto id = textOf("popupCallContentWidget", newsId, PageInput::MaxIdChars))
        emit popupContentRequested(*id);
}

MiniPageBridge::MiniPageBridge(QWebFrame *frame, QObject *parent)
    : Common::OriginBridge(frame, QUrl(Korvex::webHost()), QString(Pages::MiniBridge),
                           QStringLiteral("the mini page"), lcPages, parent)
{
}

void MiniPageBridge::achieveid(const QVariant &id)
{
    if (const auto text = textOf("achieveid", id, PageInput::MaxIdChars))
        emit itemRequested(*text);
}

void MainPageBridge::onGetNewMessage(const QVariant &newsContent, const QVariant &newsType,
                                     const QVariant &newsImportance)
{
    if (!accepts("onGetNewMessage"))
        return;
    const auto content = PageInput::text(newsContent, PageInput::MaxItemChars);
    const auto type = PageInput::text(newsType, PageInput::MaxTypeChars);
    const auto importance = PageInput::text(newsImportance, PageInput::MaxImportanceChars);
    if (!content || !type || !importance)
        return refuse("onGetNewMessage", PageInput::describe(newsContent) + QLatin1String(", ") +
                                             PageInput::describe(newsType) + QLatin1String(", ") +
                                             PageInput::describe(newsImportance));
    emit newsReceived(*content, *type, *importance);
}

LoginPageBridge::LoginPageBridge(LoginFormWindow *window, QWebFrame *frame)
    : Common::OriginBridge(frame, QUrl(Korvex::webHost()), QString(Pages::LoginBridge),
                           QStringLiteral("an account window"), lcPages, window)
    , m_window(window)
{
}

std::optional<QStringList> LoginPageBridge::valuesOf(const char *member,
                                                     std::initializer_list<QVariant> values) const
{
    if (!accepts(member))
        return std::nullopt;
    QStringList texts;
    QStringList kinds;
    bool good = true;
    for (const QVariant &value : values) {
        const std::optional<QString> text = PageInput::text(value, Korvex::Login::MaxValueLength);
        good = good && text.has_value();
        texts << text.value_or(QString());
        kinds << PageInput::describe(value);
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

} // namespace Korvex
