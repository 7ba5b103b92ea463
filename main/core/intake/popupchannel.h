#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QLocalSocket>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace Common
{
class LocalLink;
}

namespace Korvex
{

// The main program's connection to the pop-up program's "vek_popup_localsocket"
// (`popupSocket`): connected anew each time a pop-up program announces itself.
class PopupChannel final : public QObject
{
    Q_OBJECT
public:
    explicit PopupChannel(QObject *parent = nullptr);
    ~PopupChannel() override;

    // A pop-up program announced itself: connect and tell it the time zone first.
    void connectToPopup(const QString &timeZoneValue);
    // False when the message was dropped (no pop-up program to read it).
    bool send(const QString &message);
    // Items for the pop-up program, written in one go. With none to read them (it
    // is being started again) the newest MaxKept are kept while they would still
    // be on screen, and the next pop-up program gets them right after the time
    // zone. False when kept.
    bool forwardItems(const QStringList &messages, int displaySeconds);
    // The pop-up program was stopped on purpose (mini window, silent mode): what
    // was kept for it is no longer wanted.
    void dropKept();
    int keptCount() const { return m_kept.size(); }
    bool isConnected() const;
    // Milliseconds on a monotonic clock: how long kept items are still on
    // screen (tests move it on by hand).
    void setClock(std::function<qint64()> nowMs) { m_now = std::move(nowMs); }

    static constexpr int MaxKept = 20;

signals:
    void connectionChanged(bool connected);

private:
    struct Kept {
        QString message;
        qint64 untilMs = -1; // -1: until closed
    };

    QLocalSocket popupSocket;
    Common::LocalLink *m_link = nullptr;
    QList<Kept> m_kept;
    QElapsedTimer m_clock;
    std::function<qint64()> m_now;
};

} // namespace Korvex
