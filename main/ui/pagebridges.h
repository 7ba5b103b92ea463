#pragma once

#include "originbridge.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <optional>

class QWebFrame;

namespace Korvex
{

// "Qtconnectjs", the object the live, calendar, advertisement and other-pages
// views place into their pages: one per view. It offers the pages exactly the
// members they use and hands each call on as a signal, so a page script cannot
// reach the window's other slots (quit, close ...). A call is refused, with a
// diagnostic, when an argument has the wrong kind or size, or when the view
// shows a document from another site than the web host.
class MainPageBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    // `frame`: the main frame this object is placed into; `name` names the view
    // in diagnostics.
    MainPageBridge(QWebFrame *frame, const QString &name, QObject *parent = nullptr);

signals:
    void contentRequested(QString newsId);
    void postWindowRequested(int seconds);
    void popupContentRequested(QString newsId);
    void newsReceived(QString newsContent, QString newsType, QString newsImportance);
    // Visible to the pages: the page in front changed.
    void webViewShowStateChanged();

public slots:
    void jsCallContentWidget(const QVariant &newsId);
    void showPostWindow(const QVariant &seconds);
    void popupCallContentWidget(const QVariant &newsId);
    void onGetNewMessage(const QVariant &newsContent, const QVariant &newsType,
                         const QVariant &newsImportance);
};

// "miniconnectjs", the object the mini page calls: only the item to open, an
// id of sane kind and size from a page of the web host.
class MiniPageBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    MiniPageBridge(QWebFrame *frame, QObject *parent);

signals:
    void itemRequested(QString id);

public slots:
    void achieveid(const QVariant &id);
};

class LoginFormWindow;

// "LoginFormWindow", the object the six account pages call: exactly the members
// those pages use, each handed to the window's slot of the same name. It has no
// signals of its own, so the page sees nothing else (no close, init or mail box).
// Like "Qtconnectjs" it takes a call only from a page of the web host, and only
// texts (or whole numbers) no longer than any account value (Login::MaxValueLength).
class LoginPageBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    // `frame`: the window's page frame.
    LoginPageBridge(LoginFormWindow *window, QWebFrame *frame);

public slots:
    void loginSuccess(const QVariant &state, const QVariant &userName, const QVariant &mailBox,
                      const QVariant &isAuto, const QVariant &isError);
    void regRequest();
    void regVerifyRequest(const QVariant &mail);
    void regVerifySuccess(const QVariant &state, const QVariant &userName, const QVariant &mailBox,
                          const QVariant &isAuto);
    void resetPwdRequest();
    void resetPwdVerifyRequest(const QVariant &mail);
    void resetPwdVerifyRequest_2(const QVariant &mail);
    void changePwdRequest();
    void changePwdSuccess();

private:
    // The values of a call of `member`, when the page may call and each is an
    // account value; nothing (and a diagnostic) otherwise.
    std::optional<QStringList> valuesOf(const char *member,
                                        std::initializer_list<QVariant> values) const;

    LoginFormWindow *m_window;
};

} // namespace Korvex
