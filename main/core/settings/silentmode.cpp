#include "settings/silentmode.h"

#include "settings/clientstate.h"

namespace Korvex
{

bool SilentMode::enter(ClientState &state)
{
    if (!m_active) {
        m_savedPopupOn = state.popupOn();
        m_savedSoundOn = state.soundOn();
        m_active = true;
    }
    state.setPopupOn(false);
    return state.soundOn();
}

bool SilentMode::leave(ClientState &state)
{
    if (!m_active)
        return false;
    m_active = false;
    state.setPopupOn(m_savedPopupOn);
    return state.soundOn() != m_savedSoundOn;
}

} // namespace Korvex
