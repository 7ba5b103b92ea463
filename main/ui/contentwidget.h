#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

class NetworkCookie;
class QWebView;

namespace Ui
{
class ContentWidget;
}

// The details window of one news item: a frameless window with its own cookie
// jar, dragged by its title strip, destroyed (with the jar) when closed. Links
// to the web host stay in the window; any other goes to the system's browser.
class ContentWidget final : public QWidget
{
    Q_OBJECT
public:
    explicit ContentWidget(QWidget *parent = nullptr);
    ~ContentWidget() override;

    NetworkCookie *cookieJar = nullptr;

    QWebView *pageView() const;

public slots:
    void onBtnCloseClicked();
    void onWidget3WebviewLinkClicked(QUrl url);

private:
    std::unique_ptr<Ui::ContentWidget> ui;
};
