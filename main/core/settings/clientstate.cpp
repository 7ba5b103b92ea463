#include "settings/clientstate.h"

namespace Korvex
{

ClientState::ClientState(QObject *parent)
    : QObject(parent)
{
}

template <typename T> void ClientState::set(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void ClientState::setFuncSettings(const FuncSettings &settings)
{
    set(m_values.funcSettings, settings);
}

void ClientState::setSubscriptionMask(quint32 mask)
{
    set(m_values.subscriptionMask, mask);
}

void ClientState::setTimeZoneValue(const QString &value)
{
    set(m_values.timeZoneValue, value);
}

void ClientState::setCurrentPage(Content::Page page)
{
    set(m_values.currentPage, page);
}

void ClientState::setSoundOn(bool on)
{
    set(m_values.soundOn, on);
}

void ClientState::setPopupOn(bool on)
{
    set(m_values.popupOn, on);
}

void ClientState::setMiniModeActive(bool active)
{
    set(m_values.miniModeActive, active);
}

void ClientState::setLogin(bool loggedIn, const QString &mailbox)
{
    const QString kept = loggedIn ? mailbox : QString();
    if (m_values.loggedIn == loggedIn && m_values.userMailbox == kept)
        return;
    m_values.loggedIn = loggedIn;
    m_values.userMailbox = kept;
    emit changed();
}

} // namespace Korvex
