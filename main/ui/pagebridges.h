#pragma once

#include "pagebridge.h"

#include <QPointer>
#include <QString>
#include <QVariant>

#include <optional>

class QWebFrame;

// "Qtconnectjs", the object the live, calendar, advertisement and other-pages
// views place into their pages: one per view. It offers the pages exactly the
// members they use and hands each call on as a signal, so a page script cannot
// reach the window's other slots (quit, close ...). A call is refused, with a
// diagnostic, when an argument has the wrong kind or size, or when the view
// shows a document from another host than the web host.
class MainPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    // `frame`: the main frame this object is placed into; `name` names the view
    // in diagnostics.
    MainPageBridge(QWebFrame *frame, const QString &name, QObject *parent = nullptr);

    // The frame shows a page of the web host: the object may be placed and called.
    bool servesWebHost() const;

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
    bool accepts(const char *member) const;
    // An item id from a page that may call: a text or whole number of sane length.
    std::optional<QString> newsIdOf(const char *member, const QVariant &newsId) const;
    void refuse(const char *member, const QString &why) const;

    QPointer<QWebFrame> m_frame;
    QString m_name;
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
class LoginPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    explicit LoginPageBridge(LoginFormWindow *window);

public slots:
    void loginSuccess(QString state, QString userName, QString mailBox, QString isAuto,
                      QString isError);
    void regRequest();
    void regVerifyRequest(QString mail);
    void regVerifySuccess(QString state, QString userName, QString mailBox, QString isAuto);
    void resetPwdRequest();
    void resetPwdVerifyRequest(QString mail);
    void resetPwdVerifyRequest_2(QString mail);
    void changePwdRequest();
    void changePwdSuccess();

private:
    LoginFormWindow *m_window;
};
