#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

namespace Korvex
{

// A thread that starts one companion program and holds it: the thread's event
// loop runs while the program runs. The loop ends when the program ends (for
// any reason) or when quit() is called; in the second case the program is
// ended too. The thread never needs terminate().
class CompanionThread : public QThread
{
    Q_OBJECT
public:
    // The program file is looked up in the program folder at each start.
    QString programPath() const;
    QString programName() const { return m_programName; }

    // After the thread finished: true when the program ended (or never
    // started) by itself, false when the thread was told to quit.
    bool programEnded() const { return m_programEnded.load(); }
    // After the thread finished: the program could not be started at all.
    bool startFailed() const { return m_startFailed.load(); }
    int lastExitCode() const { return m_lastExitCode.load(); }

    // How long a program gets to end on SIGTERM before it is killed (set
    // before start()).
    void setGraceMs(int ms) { m_graceMs = ms; }

protected:
    CompanionThread(const QString &programName, QObject *parent);

    void run() override;

    // Runs on the thread before the program is started.
    virtual void beforeStart() {}
    virtual QStringList arguments() const { return {}; }
    // The diagnostics that announce a start: "open ... process", "... path:".
    virtual void announce(const QString &path) const = 0;

private:
    const QString m_programName;
    int m_graceMs = 1500;
    std::atomic<bool> m_programEnded{false};
    std::atomic<bool> m_startFailed{false};
    std::atomic<int> m_lastExitCode{0};
};

} // namespace Korvex
