#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWebView;

namespace Korvex
{

// Tells, after every load of a view's page, when the page can be called: its
// document has been read and its scripts have run. QtWebKit now and then
// reports a load finished while the document is still being read
// (document.readyState "loading", the page's functions not defined yet), seen
// here for a page loaded right after another view was torn down mid-load; a
// call made then is lost. The document is then asked again every 25 ms, up to
// 10 s, and `ready` follows as soon as it has been read.
class PageReady final : public QObject
{
    Q_OBJECT
public:
    explicit PageReady(QWebView *view, QObject *parent = nullptr);

signals:
    // Once per load, with the load's own result.
    void ready(bool ok);

private:
    void check();

    QPointer<QWebView> m_view;
    QTimer m_poll;
    bool m_ok = false;
    int m_checks = 0;
};

} // namespace Korvex
