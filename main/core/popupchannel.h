#pragma once

#include <QLocalSocket>
#include <QObject>
#include <QString>

class LocalLink;

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
    bool isConnected() const;

private:
    QLocalSocket popupSocket;
    LocalLink *m_link = nullptr;
};

} // namespace Korvex
