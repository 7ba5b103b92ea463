#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTcpServer>

#include <memory>
#include <vector>

// Environment variables the listener and the update check read to find the
// service instead of their built-in hosts (tests run many services side by side).
namespace ServiceEnvironment
{
constexpr char NewsHost[] = "KORVEX_NEWS_HOST";     // e.g. "127.0.0.1"
constexpr char NewsPorts[] = "KORVEX_NEWS_PORTS";   // three ports, comma-separated
constexpr char UpdateHost[] = "KORVEX_UPDATE_HOST"; // host:port of the update files
} // namespace ServiceEnvironment

// Runs the local stand-in service (service/server.js under node) on free
// loopback ports, without replay and without sample history, and talks to its
// control API. Calls block (bounded) and do not spin the event loop.
class ServiceFixture
{
public:
    ServiceFixture();
    ~ServiceFixture(); // stops the service
    ServiceFixture(const ServiceFixture &) = delete;
    ServiceFixture &operator=(const ServiceFixture &) = delete;

    // Later extra arguments override the defaults, e.g. {"--history=30"}.
    bool start(QString *error = nullptr, const QStringList &extraArgs = {});
    void stop();
    // Ends the service the way a deploy (SIGTERM: it closes every connection
    // itself) or a crash (SIGKILL) does; restart() brings it back with the
    // same arguments on the same ports. Meanwhile the fixture keeps the web and
    // control ports bound, so that no other socket on the machine takes them.
    enum class Ending { Graceful, Killed };
    void end(Ending how);
    bool restart(QString *error = nullptr);
    bool isRunning() const;

    QString webHost() const;                   // "127.0.0.1:PORT": what the client's "-host" takes
    QString webUrl(const QString &path) const; // "http://127.0.0.1:PORT" + path
    int webPort() const;
    QList<int> newsPorts() const;

    // The environment for a listener (or a whole client) using this service,
    // also for its updates.
    QProcessEnvironment
    environment(const QProcessEnvironment &base = QProcessEnvironment::systemEnvironment()) const;

    bool push(const QString &itemText); // push one item now
    // Pushes one item now; the number of listeners it went to (-1: not pushed).
    int pushToListeners(const QString &itemText);
    // A one-item text as the service pushes it (an FBN flash with Chinese text
    // and markup); `marker` in its title and content makes it recognisable.
    static QString itemText(const QString &marker, int id);
    bool pushBurst(int count, int ratePerSecond);    // sequence-numbered items ("seq", "sent")
    QJsonArray events(const QString &function = {}); // page-reported calls, optionally filtered
    // Page-reported calls of `function` on `path` whose first argument contains `marker`.
    int pageCalls(const QString &function, const QString &path, const QString &marker);
    // How often the live page, the mini page and the pop-up's page were handed
    // an item holding `marker`.
    int liveShown(const QString &marker);
    int miniShown(const QString &marker);
    int popupShown(const QString &marker);
    // Page-reported events of `kind` ("call", "load", "bridge", "error"; empty: any),
    // optionally only on `path`, of `function` and after event number `since`.
    QJsonArray pageEvents(const QString &kind, const QString &path = {},
                          const QString &function = {}, qint64 since = 0);
    // The arguments, as text, of every reported call of `function` on `path`, oldest first.
    QList<QStringList> callArguments(const QString &function, const QString &path);
    // Number of the newest reported event (0: none yet).
    qint64 lastEvent();
    bool reset();
    // socket.io clients connected now, over all news ports.
    int newsClients();
    // Update description: "Version" and "Size" (size < 0 leaves it unchanged).
    bool setUpdate(const QString &version, qint64 size = -1);
    QJsonArray installerRuns();

    // Any control call; an empty document when the call failed or the body is not JSON.
    QJsonDocument control(const QByteArray &method, const QString &path,
                          const QJsonObject &body = {});
    int lastStatus() const { return m_lastStatus; }
    QString lastError() const { return m_lastError; }

private:
    bool fail(QString *error, const QString &message);

    QProcess m_process;
    QStringList m_extraArgs;
    QStringList m_restartArgs; // the ports of the run end() ended
    std::vector<std::unique_ptr<QTcpServer>> m_heldPorts;
    int m_webPort = 0;
    QList<int> m_newsPorts;
    int m_controlPort = 0;
    int m_lastStatus = 0;
    QString m_lastError;
};
