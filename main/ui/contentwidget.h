#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

namespace Common
{
class NetworkCookie;
}
class QWebView;

namespace Ui
{
class ContentWidget;
}

namespace Korvex
{

// The details window of one news item: a frameless window with its own cookie
// jar, dragged by its title strip, destroyed (with the jar) when closed. Links
// to the web host stay in the window; any other goes to the system's browser.
class ContentWidget final : public QWidget
{
    Q_OBJECT
public:
    explicit ContentWidget(QWidget *parent = nullptr);
    ~ContentWidget() override;

    Common::NetworkCookie *cookieJar = nullptr;

    QWebView *pageView() const;

public slots:
    void onBtnCloseClicked();
    void onWidget3WebviewLinkClicked(QUrl url);

private:
    std::unique_ptr<Ui::ContentWidget> ui;
};

} // namespace Korvex
