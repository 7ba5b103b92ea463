#pragma once

#include <QString>
#include <QThread>

namespace Korvex
{

// Once per run: has vek_updat fetch the update description into the user's
// private download folder and, when it offers a newer version signed by the
// publisher, run it again to fetch, verify and start the installer. Each run
// is waited for on this thread, never on the GUI thread, and never longer than
// the run's deadline.
class UpdateThread final : public QThread
{
    Q_OBJECT
public:
    // `updateHost`: host and port of the update files.
    explicit UpdateThread(const QString &updateHost = defaultUpdateHost(),
                          QObject *parent = nullptr);

    // The compiled-in host; KORVEX_UPDATE_HOST in the environment overrides it,
    // so tests can point the check at a local service.
    static QString defaultUpdateHost();

    // The description's local copy, as the translation names it.
    static QString descriptionPath();

protected:
    void run() override;

private:
    // False when the run had to be ended at its deadline.
    bool tryUpdate(const QString &url, const QString &mode, const QString &install,
                   const QString &kill, int deadlineMs);
    bool needUpdate(const QString &path);

    const QString m_updateHost;
};

} // namespace Korvex
