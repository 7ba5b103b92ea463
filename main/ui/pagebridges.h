#pragma once

#include "pagebridge.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <optional>

class QWebFrame;

// A bridge placed into a page of the web host: calls are taken only while its
// frame shows a document of that host, and a refused call leaves a diagnostic
// ("OBJECT.MEMBER refused on NAME: why").
class WebHostBridge : public PageBridge
{
    Q_OBJECT
public:
    // The frame shows a page of the web host: the object may be placed and called.
    bool servesWebHost() const;
    // The host of the document in the frame, for diagnostics.
    QString frameHost() const;
    // Places the object into the frame's page under its script name, when the
    // page is one of the web host's; a page of another host gets nothing.
    bool placeIntoPage();

protected:
    // `frame`: the main frame this object is placed into; `scriptName` is the
    // name the page knows it by, `name` names the view in diagnostics.
    WebHostBridge(QWebFrame *frame, const QString &scriptName, const QString &name,
                  QObject *parent);
    bool accepts(const char *member) const;
    void refuse(const char *member, const QString &why) const;

private:
    QPointer<QWebFrame> m_frame;
    QString m_scriptName;
    QString m_name;
};

// "Qtconnectjs", the object the live, calendar, advertisement and other-pages
// views place into their pages: one per view. It offers the pages exactly the
// members they use and hands each call on as a signal, so a page script cannot
// reach the window's other slots (quit, close ...). A call is refused, with a
// diagnostic, when an argument has the wrong kind or size, or when the view
// shows a document from another host than the web host.
class MainPageBridge final : public WebHostBridge
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

private:
    // An item id from a page that may call: a text or whole number of sane length.
    std::optional<QString> newsIdOf(const char *member, const QVariant &newsId) const;
};

// "miniconnectjs", the object the mini page calls: only the item to open.
class MiniPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    using PageBridge::PageBridge;

signals:
    void itemRequested(QString id);

public slots:
    void achieveid(QString id) { emit itemRequested(id); }
};

class LoginFormWindow;

// "LoginFormWindow", the object the six account pages call: exactly the members
// those pages use, each handed to the window's slot of the same name. It has no
// signals of its own, so the page sees nothing else (no close, init or mail box).
// Like "Qtconnectjs" it takes a call only from a page of the web host, and only
// texts (or whole numbers) no longer than any account value (Login::MaxValueLength).
class LoginPageBridge final : public WebHostBridge
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
