#pragma once

#include <QList>
#include <QObject>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

// The whole client as a user runs it: Korvex started in the folder that holds
// all four programs (it finds its companions there), with "-host" and the
// given environment. Its diagnostics, and those of the companions it starts
// (they write to the same output), are collected line by line with the time
// each was written (ms since the epoch; the stand-in service uses the same clock).
class KorvexSession final : public QObject
{
    Q_OBJECT
public:
    struct Line {
        qint64 time = 0;
        QString text; // "category: message"
    };

    explicit KorvexSession(QObject *parent = nullptr);
    ~KorvexSession() override; // stop()

    // Before start(): Korvex from `folder` (a copy of the programs) instead of
    // the build, started through `runner` (e.g. as another user; the command follows).
    void setProgram(const QString &folder, const QStringList &runner = {});
    // Before start(): `launcher` (a link to an installed Korvex) started in `workingFolder`.
    void setLauncher(const QString &launcher, const QString &workingFolder);
    bool start(const QString &webHost, const QProcessEnvironment &environment,
               QString *error = nullptr);
    // Asks Korvex to quit as the session manager would (SIGTERM) and waits.
    // False when it did not end in time (it is killed then).
    bool quit(int timeoutMs = 20000);
    // Ends Korvex and every companion of this login session, whatever state they are in.
    void stop();

    QProcess *process() { return &m_process; }
    // This client's running programs named `exeName` (its companions).
    QList<qint64> programs(const QString &exeName) const;
    qint64 pid() const { return m_process.processId(); }

    // Lines so far (reads what is waiting first).
    const QList<Line> &lines();
    QList<Line> linesContaining(const QString &needle);
    int countContaining(const QString &needle);
    // Writes the last `count` lines as test output (after a failure).
    void dumpLines(int count = 200);

    // Started with KORVEX_TEST_HOOKS=1: where the visible widget named
    // `objectName` is on the screen, as the program says; empty when none is
    // visible or no answer came in time.
    QRect widgetOnScreen(const QString &objectName, int timeoutMs = 10000);
    // What the visible label named `objectName` shows (the shown tool tip is
    // "qtooltip_label"); empty when none is visible or no answer came in time.
    QString labelText(const QString &objectName, int timeoutMs = 10000);

signals:
    void lineRead(const KorvexSession::Line &line);

private:
    void readOutput();
    // Writes the test hook `command`; the rest of its answer line, null when none came in time.
    QString askHook(const QString &command, int timeoutMs);

    QProcess m_process;
    QString m_folder;
    QStringList m_runner;
    // Tells this client's processes from others': its runtime folder, or without one its HOME.
    QByteArray m_session;
    QString m_launcher;
    QString m_workingFolder;
    QByteArray m_partial;
    QList<Line> m_lines;
};

namespace TestSupport
{
// Processes of this login session (same runtime folder; or those whose
// environment holds `session`, "NAME=value") whose program file is named exactly `exeName`.
QList<qint64> sessionProcesses(const QString &exeName, const QByteArray &session = {});
// What a client that has quit left behind: the names of its programs still
// running in this session and of local socket files ("vek_*") in the runtime
// folder (or, misplaced, in the temporary folder). The marker file stays: it
// is only ever locked.
QStringList clientLeftovers();
} // namespace TestSupport
