#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QProcess;

namespace TestSupport
{

// Folder that holds the four built programs.
QString binDir();
// Root of the source tree (service/, resources/ ...).
QString sourceDir();

// Copies the program file `program` into `folder` as `name` (executable) and
// returns the copy's path: a harmless stand-in that runs under another name.
QString copyProgram(const QString &program, const QString &folder, const QString &name);
// Ends a child for good (kill, then wait); safe on finished or never-started ones.
void stopProcess(QProcess *process);
// Path of a helper program built for the tests (in the programs' folder).
QString helperProgram(const QString &name);

// True while the process runs (ended or being reaped counts as gone).
bool processAlive(qint64 pid);
// True when something accepts connections on the local socket `name` (in the
// runtime folder, see Protocol::socketPath) now.
bool isServed(const QString &name);

// The companion stand-in (companionstub) copied into `folder` as vek_listen
// and vek_popup; false when a copy failed.
bool copyCompanionStubs(const QString &folder);
// One start the stand-in appended to $KORVEX_STUB_LOG.
struct StubStart {
    qint64 pid = 0;
    QString program;
    QStringList arguments;
};
// The starts in `log` of the program whose file name is `program`, oldest first.
QList<StubStart> stubStarts(const QString &log, const QString &program);

// Returns once every event posted to this thread before the call (queued
// signals from other threads among them) has been handled; false when that
// took longer than `timeoutMs`. What a check that nothing happened waits for,
// instead of a pause.
bool postedEventsHandled(int timeoutMs = 10000);

// One item as the service pushes it (a one-element JSON array): `type`,
// `title`, time 2026-12-07 09:30:00, id 0, importance 0; `more` adds or
// replaces fields.
QString newsItem(const QString &type, const QString &title, const QJsonObject &more = {});

// The child of `parent` named `name`; ends the test program, naming it, when there
// is none (a renamed form widget, not a behaviour).
template <typename T> T *child(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

// `env` with `rules` after the logging rules it holds (later rules win): a
// test that wants more diagnostics keeps those the test run turned on.
QProcessEnvironment withLoggingRules(QProcessEnvironment env, const QString &rules);

// Keeps the messages this process gives while it lives, from any thread, and
// passes each on as before. One at a time.
class MessagesKept
{
public:
    MessagesKept();
    ~MessagesKept();
    MessagesKept(const MessagesKept &) = delete;
    MessagesKept &operator=(const MessagesKept &) = delete;
    QStringList messages() const;

private:
    QStringList m_messages;
};

} // namespace TestSupport
