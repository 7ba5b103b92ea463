#pragma once

namespace Korvex
{

class ClientState;

// Close option 2 ("silent"): sound and pop-ups off while the window is away,
// and back to what they were when it returns. Only the flags are kept here;
// the main window switches the sound through its sound routine, so the icons
// follow, whenever a call answers true.
class SilentMode final
{
public:
    bool isActive() const { return m_active; }
    bool savedSoundOn() const { return m_savedSoundOn; }
    bool savedPopupOn() const { return m_savedPopupOn; }

    // Remembers sound and pop-ups and clears `popupOn`. True when the sound
    // is on and must be switched off. Entered again while silent, the values
    // from before the first entry are kept.
    bool enter(ClientState &state);
    // Puts `popupOn` back and ends the mode. True when the sound must be
    // switched to get back to what it was. Not silent: nothing, false.
    bool leave(ClientState &state);

private:
    bool m_active = false;
    bool m_savedSoundOn = true;
    bool m_savedPopupOn = true;
};

} // namespace Korvex
