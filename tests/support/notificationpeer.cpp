// A desktop notification server for tests, on the bus of
// $DBUS_SESSION_BUS_ADDRESS: owns org.freedesktop.Notifications, prints
// "ready" once it does, then one JSON line per Notify call (id, app, summary,
// body, actions, urgency, timeout). A line "invoke ID ACTION" on its standard
// input emits ActionInvoked(ID, ACTION) as a notification server does when
// the user chooses an action. Ends when its standard input closes.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QVariantMap>

#include <cstdio>
#include <unistd.h>

namespace
{

const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

class Notifications final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    QStringList GetCapabilities()
    {
        return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")};
    }

    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout)
    {
        Q_UNUSED(appIcon)
        const uint id = replacesId ? replacesId : ++m_lastId;
        QJsonObject call{
            {QStringLiteral("id"), qint64(id)},
            {QStringLiteral("app"), appName},
            {QStringLiteral("summary"), summary},
            {QStringLiteral("body"), body},
            {QStringLiteral("actions"), QJsonArray::fromStringList(actions)},
            {QStringLiteral("urgency"), hints.value(QStringLiteral("urgency")).toInt()},
            {QStringLiteral("timeout"), expireTimeout}};
        say(QJsonDocument(call).toJson(QJsonDocument::Compact));
        return id;
    }

    void CloseNotification(uint id) { Q_UNUSED(id) }

private:
    uint m_lastId = 0;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Notifications server;
    if (!bus.registerObject(Path, &server, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(Interface)) {
        std::fprintf(stderr, "notificationpeer: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    say("ready");

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[512];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(chunk, int(got));
        for (int end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QList<QByteArray> words = pending.left(end).split(' ');
            pending.remove(0, end + 1);
            if (words.size() == 3 && words.at(0) == "invoke") {
                QDBusMessage signal =
                    QDBusMessage::createSignal(Path, Interface, QStringLiteral("ActionInvoked"));
                signal << words.at(1).toUInt() << QString::fromUtf8(words.at(2));
                bus.send(signal);
            }
        }
    });
    return app.exec();
}

#include "notificationpeer.moc"
