#pragma once

#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The text protocol between the four programs. Wire format: UTF-8 text, one
// message per write, no length prefix; a message is recognised by its tag.
namespace Protocol
{

inline const QString mainSocketName()
{
    return QStringLiteral("vek_localsocket");
}
inline const QString popupSocketName()
{
    return QStringLiteral("vek_popup_localsocket");
}

inline const QString newsTag()
{
    return QStringLiteral("__vek_get_news__");
}
inline const QString popupStartedTag()
{
    return QStringLiteral("__popup_started__");
}
inline const QString popupMoreTag()
{
    return QStringLiteral("__popup_more__");
}
inline const QString popupContentTag()
{
    return QStringLiteral("__popup_content__");
}
// A second start of Korvex -> the running one: bring the main window back.
inline const QString showWindowTag()
{
    return QStringLiteral("__vek_show_window__");
}
inline const QString cookieChangedPrefix()
{
    return QStringLiteral("cookieChanged_");
}

// Message 1: listener -> main.
QString newsMessage(const QString &itemText);
// Message 5: main -> pop-up right after connecting.
QString popupHelloMessage(const QString &timeZoneValue);
// Message 6: main -> pop-up on a time-zone change (no leading tag).
QString timeZoneChangedMessage(const QString &timeZoneValue);
// Message 7: main -> pop-up, one qualifying item.
QString popupNewsMessage(int displaySeconds, const QString &importance, const QString &itemText);
// TTT field of message 7: three digits, capped at 999; empty for negative times.
QString displayTimeField(int seconds);

// Where the socket `name` lives: a file of that name in the user's private
// runtime folder (Platform::runtimeFolder), out of other users' reach. A name
// that holds a '/' is a path already and stays as it is. Empty, with the reason
// in `error`, when there is no private folder.
QString socketPath(const QString &name, QString *error = nullptr);

// Serves `name` (see socketPath) unless another program of this user already
// does: probes it for up to 1000 ms, removes a stale endpoint (or one another
// user put there), listens with owner-only access. Returns the listening server
// (no parent), or null: with an empty `error` when the name is served by this
// user elsewhere (that endpoint is left alone), else with the reason.
QLocalServer *listenExclusive(const QString &name, QString *error);

// Whether the server at the other end of the connected `socket` runs as this
// user: someone answering under our name is not yet our own program. If not,
// says so (nothing may be sent to it) and aborts the connection.
bool serverIsThisUser(QLocalSocket *socket);

// Writes one message as UTF-8 on a connected socket and flushes; returns false
// (the message is dropped) when it is not connected. LocalLink keeps what is
// sent while a connect is still in progress.
bool sendMessage(QLocalSocket *socket, const QString &message);

// What the pop-up program makes of one received part (split at the news tag).
struct PopupPart {
    enum Kind { TimeZone, News } kind = News;
    QString timeZoneValue; // TimeZone
    QString displayTime;   // News: TTT
    QString importance;    // News: I
    QString itemText;      // News
};
// Splits one unit received by the pop-up program into its parts, in order.
QList<PopupPart> parsePopupUnit(const QString &unit);

} // namespace Protocol
