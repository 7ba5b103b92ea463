#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace Korvex
{
class CloseVerifyWindow;
class MacExtras;
class MainWindow;
class VersionsWindow;
} // namespace Korvex

namespace TestSupport
{

// Every window of the main program a user can meet, open at once: the main
// window at the screen's top left, the table window, the settings window, the
// subscription drop-down, the six account windows (the login window with its
// page), a notice, a news item's window, the mini window, the close dialog,
// the about window and the alternative title bar. A news item opens in its own
// window only for a logged-in user (storeLoggedIn()).
class EveryWindow
{
public:
    EveryWindow();
    ~EveryWindow();

    // Shows them all; false when one did not come up.
    bool open();
    // Deletes them all (before the service they load from goes).
    void close();
    Korvex::MainWindow *main() const { return m_main.get(); }
    // By name: main, ticker, settings, dropdown, login, notice, content, mini,
    // close, about, macbar. Null for any other.
    QWidget *window(const QString &name) const;
    static QStringList names();

private:
    std::unique_ptr<Korvex::MainWindow> m_main;
    std::unique_ptr<Korvex::CloseVerifyWindow> m_closeDialog;
    std::unique_ptr<Korvex::VersionsWindow> m_about;
    std::unique_ptr<Korvex::MacExtras> m_macBar;
};

} // namespace TestSupport
