#pragma once

#include <QWidget>

#include <memory>

class MiniPageBridge;
class QWebView;

namespace Ui
{
class Miniwindow;
}

// The narrow mini-mode strip: shows the service's mini page and turns the
// page's requests into signals for the main window. The main window owns the
// one instance for its whole life, shown or not; the page keeps receiving
// every news item either way.
class Miniwindow final : public QWidget
{
    Q_OBJECT
public:
    explicit Miniwindow(QWidget *parent = nullptr);
    ~Miniwindow() override;

    QWebView *pageView() const;

signals:
    // The page asked to open news item `id`.
    void sendUrlId(QString id);

public slots:
    void webViewLoadFinished(bool ok);
    void jsWindowObjectCleared();
    void achieveid(QString id);

private:
    std::unique_ptr<Ui::Miniwindow> ui;
    // What the page sees of the window.
    MiniPageBridge *m_bridge = nullptr;
};
