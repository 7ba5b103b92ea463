#pragma once

#include <QWidget>

#include <memory>

class QWebView;

namespace Ui
{
class Miniwindow;
}

namespace Korvex
{

class MiniPageBridge;

// The narrow mini-mode strip: shows the service's mini page and turns its
// buttons and the page's requests into signals for the main window, which
// owns the one instance for its whole life, shown or not, and carries out
// every mini-mode change. The page keeps receiving every news item either way.
class Miniwindow final : public QWidget
{
    Q_OBJECT
public:
    explicit Miniwindow(QWidget *parent = nullptr);
    ~Miniwindow() override;

    // Strip width, set by fitToScreen().
    int miniWidth = 0;
    // Whether news sound is on; the main window hands its own over on entering mini mode.
    bool soundOn = true;
    const double zoom = 1.0;

    QWebView *pageView() const;
    // One fifth of the primary screen's available width, its full available height.
    void fitToScreen();
    // Fits the strip to the screen and shows it with its corner at `topLeft`.
    void dockAt(const QPoint &topLeft);
    // The main window's sound switch shows its state here too.
    void setSoundIcon(const QString &resource);

signals:
    void vekShowMiniHide();
    void closeVekWindow();
    void sendChangeMiniRight();
    void sendChangeMiniLeft();
    // Declared for the main window's interface; never emitted.
    void sendNotChangeMini();
    void sendPopWindowt();
    void closeSound();
    // The page asked to open news item `id`.
    void sendUrlId(QString id);

public slots:
    void showVek();
    void hideMiniWindow();
    void closeVek();
    void closeWindowSound();
    void changeRight();
    void changeLeft();
    // Tells the page the sound state; the argument is not used.
    void setSound(bool);
    void webViewLoadFinished(bool ok);
    void jsWindowObjectCleared();
    void achieveid(QString id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::Miniwindow> ui;
    // What the page sees of the window.
    MiniPageBridge *m_bridge = nullptr;
};

} // namespace Korvex
