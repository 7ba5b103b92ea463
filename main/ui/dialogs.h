#pragma once

class QAbstractButton;
class QWidget;

// What the main window's dialogs (settings, login, about, close options) share.
namespace Korvex::Dialogs
{

// The hidden `dialog`, when it is next shown, opens centred over `window`
// inside the available area of the window's screen, clear of panels; over
// that whole area while the window is away (hidden, minimised).
void placeOver(QWidget *dialog, const QWidget *window);

// Escape clicks `cross`; Enter and Return click `confirm` when there is one:
// keys the focused widget leaves unused.
void bindKeys(QWidget *dialog, QAbstractButton *cross, QAbstractButton *confirm = nullptr);

} // namespace Korvex::Dialogs
