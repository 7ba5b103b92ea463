#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

// A tiny HTTP server on loopback for window tests that need a real page: every
// path answers with `page`, except "/report?fn=F&arg=A", which records a call
// that the page's script reports back.
class PageServer final : public QObject
{
    Q_OBJECT
public:
    struct Request {
        QString path;
        QString cookie; // the Cookie header
    };
    struct Call {
        QString function;
        QString argument;
    };

    explicit PageServer(const QByteArray &page, QObject *parent = nullptr);

    // "http://127.0.0.1:PORT"
    QString baseUrl() const;
    QList<Request> requests;
    QList<Call> calls;
    // While set, page requests wait unanswered until releasePages().
    bool holdPages = false;
    void releasePages();

    // A page that defines iojieshou(t) and delNews() and reports each call.
    static QByteArray reportingPage();

signals:
    void called(const QString &function, const QString &argument);

private:
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &body);

    QTcpServer m_server;
    QByteArray m_page;
    QList<QPointer<QTcpSocket>> m_held;
};
