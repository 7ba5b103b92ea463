#include "servicefixture.h"

#include "testsupport.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QUrl>

namespace
{

constexpr int StartTimeoutMs = 15000;
constexpr int RequestTimeoutMs = 10000;

QString nodeProgram()
{
    const QString fromEnv = qEnvironmentVariable("KORVEX_NODE");
    if (!fromEnv.isEmpty())
        return fromEnv;
    QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        node = QStandardPaths::findExecutable(QStringLiteral("nodejs"));
    return node;
}

} // namespace

ServiceFixture::ServiceFixture() = default;

ServiceFixture::~ServiceFixture()
{
    stop();
}

bool ServiceFixture::fail(QString *error, const QString &message)
{
    m_lastError = message;
    if (error)
        *error = message;
    stop();
    return false;
}

bool ServiceFixture::start(QString *error, const QStringList &extraArgs)
{
    stop();
    m_extraArgs = extraArgs;
    const QString node = nodeProgram();
    if (node.isEmpty())
        return fail(error, QStringLiteral("node not found"));
    const QString script = TestSupport::sourceDir() + QStringLiteral("/service/server.js");
    if (!QFileInfo::exists(script))
        return fail(error, QStringLiteral("service not found: ") + script);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The service stops by itself when this process goes away without stop().
    env.insert(QStringLiteral("KORVEX_SERVICE_STDIN_WATCH"), QStringLiteral("1"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setProgram(node);
    m_process.setArguments(
        QStringList{script, QStringLiteral("--web-port=0"), QStringLiteral("--news-ports=0,0,0"),
                    QStringLiteral("--control-port=0"), QStringLiteral("--no-replay"),
                    QStringLiteral("--history=0"), QStringLiteral("--quiet")} +
        extraArgs);
    m_process.start();
    if (!m_process.waitForStarted(StartTimeoutMs))
        return fail(error, QStringLiteral("cannot start node: ") + m_process.errorString());

    const QByteArray prefix("korvex-service ready ");
    QDeadlineTimer deadline(StartTimeoutMs);
    QByteArray output;
    while (!deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            output += line + '\n';
            if (!line.startsWith(prefix))
                continue;
            const QJsonObject ports = QJsonDocument::fromJson(line.mid(prefix.size())).object();
            m_webPort = ports.value(QLatin1String("web")).toInt();
            m_controlPort = ports.value(QLatin1String("control")).toInt();
            m_newsPorts.clear();
            const QJsonArray news = ports.value(QLatin1String("news")).toArray();
            for (const QJsonValue &p : news)
                m_newsPorts.append(p.toInt());
            if (m_webPort <= 0 || m_controlPort <= 0 || m_newsPorts.size() != 3)
                return fail(error, QStringLiteral("bad ready line: ") + QString::fromUtf8(line));
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            break;
    }
    return fail(error, QStringLiteral("service did not get ready (exit code %1): %2")
                           .arg(m_process.exitCode())
                           .arg(QString::fromUtf8(output)));
}

void ServiceFixture::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    m_webPort = 0;
    m_controlPort = 0;
    m_newsPorts.clear();
}

void ServiceFixture::end(Ending how)
{
    QStringList news;
    for (int p : std::as_const(m_newsPorts))
        news << QString::number(p);
    m_restartArgs = QStringList{QStringLiteral("--web-port=%1").arg(m_webPort),
                                QStringLiteral("--news-ports=") + news.join(QLatin1Char(',')),
                                QStringLiteral("--control-port=%1").arg(m_controlPort)};
    const QList<int> held{m_webPort, m_controlPort};
    if (how == Ending::Killed && m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    stop();
    // A freed port in the ephemeral range is soon the local end of some other
    // connection, and the restart could not listen there again.
    for (int port : held) {
        auto server = std::make_unique<QTcpServer>();
        if (server->listen(QHostAddress::LocalHost, quint16(port)))
            m_heldPorts.push_back(std::move(server));
    }
}

bool ServiceFixture::restart(QString *error)
{
    if (m_restartArgs.isEmpty())
        return fail(error, QStringLiteral("restart without end()"));
    m_heldPorts.clear();
    const QStringList base = m_extraArgs;
    const bool started = start(error, base + m_restartArgs);
    m_extraArgs = base;
    return started;
}

bool ServiceFixture::isRunning() const
{
    return m_process.state() == QProcess::Running && m_controlPort > 0;
}

QString ServiceFixture::webHost() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(m_webPort);
}

QString ServiceFixture::webUrl(const QString &path) const
{
    return QStringLiteral("http://") + webHost() + path;
}

int ServiceFixture::webPort() const
{
    return m_webPort;
}

QList<int> ServiceFixture::newsPorts() const
{
    return m_newsPorts;
}

QProcessEnvironment ServiceFixture::environment(const QProcessEnvironment &base) const
{
    QProcessEnvironment env = base;
    QStringList ports;
    for (int p : m_newsPorts)
        ports.append(QString::number(p));
    env.insert(QLatin1String(ServiceEnvironment::NewsHost), QStringLiteral("127.0.0.1"));
    env.insert(QLatin1String(ServiceEnvironment::NewsPorts), ports.join(QLatin1Char(',')));
    env.insert(QLatin1String(ServiceEnvironment::UpdateHost), webHost());
    return env;
}

QJsonDocument ServiceFixture::control(const QByteArray &method, const QString &path,
                                      const QJsonObject &body)
{
    m_lastStatus = 0;
    m_lastError.clear();
    if (m_controlPort <= 0) {
        m_lastError = QStringLiteral("service not running");
        return {};
    }
    const bool withBody = method == "POST" || method == "PUT";
    const QByteArray payload =
        withBody ? QJsonDocument(body).toJson(QJsonDocument::Compact) : QByteArray();
    QByteArray request = method + ' ' + path.toUtf8() +
                         " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                         "Connection: close\r\n";
    if (withBody)
        request += "Content-Type: application/json\r\nContent-Length: " +
                   QByteArray::number(payload.size()) + "\r\n";
    request += "\r\n" + payload;

    QTcpSocket socket;
    QDeadlineTimer deadline(RequestTimeoutMs);
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_controlPort));
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        m_lastError = socket.errorString();
        return {};
    }
    socket.write(request);
    QByteArray response;
    while (!deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(deadline.remainingTime())))
            break; // closed by the service after the answer (or timed out)
        response += socket.readAll();
    }
    response += socket.readAll();

    const int headerEnd = response.indexOf("\r\n\r\n");
    if (!response.startsWith("HTTP/1.1 ") || headerEnd < 0) {
        m_lastError = QStringLiteral("no answer from the control API");
        return {};
    }
    m_lastStatus = response.mid(9, 3).toInt();
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(response.mid(headerEnd + 4), &parseError);
    if (m_lastStatus != 200)
        m_lastError = doc.object().value(QLatin1String("error")).toString();
    return doc;
}

bool ServiceFixture::push(const QString &itemText)
{
    const QJsonDocument r =
        control("POST", QStringLiteral("/push"), QJsonObject{{QStringLiteral("text"), itemText}});
    return m_lastStatus == 200 && r.object().value(QLatin1String("ok")).toBool();
}

int ServiceFixture::pushToListeners(const QString &itemText)
{
    const QJsonDocument r =
        control("POST", QStringLiteral("/push"), QJsonObject{{QStringLiteral("text"), itemText}});
    return m_lastStatus == 200 ? r.object().value(QLatin1String("clients")).toInt(-1) : -1;
}

QString ServiceFixture::itemText(const QString &marker, int id)
{
    return TestSupport::newsItem(
        QStringLiteral("FBN"), QStringLiteral("[快讯]端到端 \"测试\" ") + marker,
        {{QStringLiteral("content"),
          QString(QStringLiteral("内容 <b>") + marker + QStringLiteral("</b>"))},
         {QStringLiteral("id"), id}});
}

bool ServiceFixture::pushBurst(int count, int ratePerSecond)
{
    const QJsonDocument r = control(
        "POST", QStringLiteral("/burst"),
        QJsonObject{{QStringLiteral("count"), count}, {QStringLiteral("rate"), ratePerSecond}});
    return m_lastStatus == 200 && r.object().value(QLatin1String("ok")).toBool();
}

QJsonArray ServiceFixture::events(const QString &function)
{
    QString path = QStringLiteral("/events");
    if (!function.isEmpty())
        path +=
            QStringLiteral("?function=") + QString::fromLatin1(QUrl::toPercentEncoding(function));
    return control("GET", path).object().value(QLatin1String("events")).toArray();
}

int ServiceFixture::pageCalls(const QString &function, const QString &path, const QString &marker)
{
    int count = 0;
    const QJsonArray calls = events(function);
    for (const QJsonValue &value : calls) {
        const QJsonObject event = value.toObject();
        if (event.value(QLatin1String("path")).toString() == path &&
            event.value(QLatin1String("args")).toArray().at(0).toString().contains(marker))
            ++count;
    }
    return count;
}

int ServiceFixture::liveShown(const QString &marker)
{
    return pageCalls(QStringLiteral("OutputMsg"), QStringLiteral("/Expresslive"), marker);
}

int ServiceFixture::miniShown(const QString &marker)
{
    return pageCalls(QStringLiteral("Obtain"), QStringLiteral("/minipage"), marker);
}

int ServiceFixture::popupShown(const QString &marker)
{
    return pageCalls(QStringLiteral("iojieshou"), QStringLiteral("/wicket"), marker);
}

QJsonArray ServiceFixture::pageEvents(const QString &kind, const QString &path,
                                      const QString &function, qint64 since)
{
    QString query = QStringLiteral("/events?since=%1").arg(since);
    for (const auto &[name, value] :
         {std::pair{"kind", kind}, {"path", path}, {"function", function}}) {
        if (!value.isEmpty())
            query += QLatin1Char('&') + QLatin1String(name) + QLatin1Char('=') +
                     QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    return control("GET", query).object().value(QLatin1String("events")).toArray();
}

QList<QStringList> ServiceFixture::callArguments(const QString &function, const QString &path)
{
    QList<QStringList> calls;
    for (const QJsonValue &value : pageEvents(QStringLiteral("call"), path, function)) {
        QStringList arguments;
        for (const QJsonValue &argument : value.toObject().value(QLatin1String("args")).toArray())
            arguments << argument.toString();
        calls << arguments;
    }
    return calls;
}

qint64 ServiceFixture::lastEvent()
{
    return qint64(control("GET", QStringLiteral("/events?limit=1"))
                      .object()
                      .value(QLatin1String("last"))
                      .toDouble());
}

bool ServiceFixture::reset()
{
    control("POST", QStringLiteral("/reset"));
    return m_lastStatus == 200;
}

bool ServiceFixture::setUpdate(const QString &version, qint64 size)
{
    QJsonObject body{{QStringLiteral("version"), version}};
    if (size >= 0)
        body.insert(QStringLiteral("size"), size);
    control("POST", QStringLiteral("/update"), body);
    return m_lastStatus == 200;
}

QJsonArray ServiceFixture::installerRuns()
{
    return control("GET", QStringLiteral("/installer-runs"))
        .object()
        .value(QLatin1String("runs"))
        .toArray();
}

int ServiceFixture::newsClients()
{
    int clients = 0;
    const QJsonArray counts = control("GET", QStringLiteral("/status"))
                                  .object()
                                  .value(QLatin1String("clients"))
                                  .toArray();
    for (const QJsonValue &count : counts)
        clients += count.toInt();
    return clients;
}
