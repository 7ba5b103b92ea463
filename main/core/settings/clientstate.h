#pragma once

#include "pages/contentrules.h"
#include "settings/funcsettings.h"

#include <QObject>
#include <QString>

namespace Korvex
{

// What the main window's parts share while the client runs, as one value: the
// relay keeps a copy of it for its own thread.
struct ClientValues {
    // Shared with the settings window, the subscription drop-down and news intake.
    FuncSettings funcSettings;
    // Categories that sound, enter the table and pop up; stored as "customMenu"/"value".
    quint32 subscriptionMask = 0xffffff;
    // Current timeZoneOffsetText: "setLanguage" cookie and the pop-up program's value.
    QString timeZoneValue;
    // Which page is in front.
    Content::Page currentPage = Content::NoPage;
    bool soundOn = true;
    bool popupOn = true;
    // The mini window stands in for the main window: nothing pops up.
    bool miniModeActive = false;
    // Someone is logged in; items open for `userMailbox`, else the login window comes up.
    bool loggedIn = false;
    QString userMailbox;
};

// The shared values behind setters: news intake reads them, the settings
// windows, the sound button, the login and the modes change them. Every
// change emits changed() once, so whoever keeps a copy (the relay) follows
// without being told.
class ClientState final : public QObject
{
    Q_OBJECT
public:
    explicit ClientState(QObject *parent = nullptr);

    const ClientValues &values() const { return m_values; }
    const FuncSettings &funcSettings() const { return m_values.funcSettings; }
    quint32 subscriptionMask() const { return m_values.subscriptionMask; }
    const QString &timeZoneValue() const { return m_values.timeZoneValue; }
    Content::Page currentPage() const { return m_values.currentPage; }
    bool soundOn() const { return m_values.soundOn; }
    bool popupOn() const { return m_values.popupOn; }
    bool miniModeActive() const { return m_values.miniModeActive; }
    bool loggedIn() const { return m_values.loggedIn; }
    const QString &userMailbox() const { return m_values.userMailbox; }

    void setFuncSettings(const FuncSettings &settings);
    void setSubscriptionMask(quint32 mask);
    void setTimeZoneValue(const QString &value);
    void setCurrentPage(Content::Page page);
    void setSoundOn(bool on);
    void setPopupOn(bool on);
    void setMiniModeActive(bool active);
    // Logged in for `mailbox`, or logged out (the mailbox is then cleared).
    void setLogin(bool loggedIn, const QString &mailbox);

signals:
    // One of the values changed (not emitted when a setter is given the value there was).
    void changed();

private:
    template <typename T> void set(T &field, const T &value);

    ClientValues m_values;
};

} // namespace Korvex
