#pragma once

#include <QList>
#include <QProcess>
#include <QString>

#include <memory>
#include <vector>

// The three client programs the updater ends (Korvex, vek_listen, vek_popup),
// played by the companion stand-in copied under their names. Each records
// when a signal ended it, on the same clock as the stand-in installer.
class ClientStandIns final
{
public:
    explicit ClientStandIns(const QString &folder);
    ~ClientStandIns(); // stop()

    bool start(QString *error = nullptr);
    void stop();

    // How many of the three run now.
    int running() const;
    // When each ended by a signal (ms since the epoch), in no particular order.
    QList<qint64> endTimes() const;

private:
    QString m_folder;
    QString m_endLog;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
