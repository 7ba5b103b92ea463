#pragma once

#include <QString>
#include <QThread>

// Once per run: has vek_updat fetch the update description and, when it names
// a newer version, run it again to fetch and start the installer. Each run is
// waited for on this thread, never on the GUI thread.
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
    void tryUpdate(const QString &url, const QString &mode, const QString &install,
                   const QString &kill);
    bool needUpdate(const QString &path);

    const QString m_updateHost;
};
