#include "messagereassembler.h"

#include "logging.h"
#include "protocol.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringView>

#include <algorithm>
#include <utility>

MessageReassembler::Rules MessageReassembler::mainServerRules()
{
    const auto atOnce = [](const QString &) { return true; };
    return {
        {Protocol::newsTag(), &MessageReassembler::newsItemComplete, {Protocol::newsTag()}},
        {Protocol::popupStartedTag(), atOnce, {}},
        {Protocol::popupMoreTag(), atOnce, {}},
        // The item id has no end marker: the next tag or the quiet period ends it.
        {Protocol::popupContentTag(), {}, {}},
    };
}

MessageReassembler::Rules MessageReassembler::popupServerRules()
{
    const QString cookieTag = Protocol::cookieChangedPrefix();
    const auto newsComplete = [](const QString &payload) {
        // "_TTT_I_" precedes the item; a time-zone value has no end marker.
        if (payload.size() <= 7 || payload.startsWith(QLatin1String("cookieChanged")))
            return false;
        return newsItemComplete(payload.mid(7));
    };
    return {
        {Protocol::newsTag(), newsComplete, {Protocol::newsTag()}},
        {cookieTag, {}, {}},
    };
}

// Cheap test first: only an object or an array parses, so while the inner
// text cannot end one (most reads of a cut item) there is nothing to parse.
static bool mayBeWhole(QStringView item)
{
    if (item.size() < 3 || item.endsWith(QLatin1Char(',')))
        return false;
    const QStringView inner = item.mid(1, item.size() - 2).trimmed();
    return inner.endsWith(QLatin1Char('}')) || inner.endsWith(QLatin1Char(']'));
}

static bool innerJsonParses(QStringView item)
{
    QJsonParseError error{};
    QJsonDocument::fromJson(item.mid(1, item.size() - 2).toUtf8(), &error);
    return error.error == QJsonParseError::NoError;
}

bool MessageReassembler::newsItemComplete(const QString &itemText)
{
    // The reader simplifies white space before it parses; trimming is enough
    // unless that simplification could turn a failing parse into a good one
    // (line breaks or tabs inside a string).
    const QStringView trimmed = QStringView(itemText).trimmed();
    if (!mayBeWhole(trimmed))
        return false;
    if (innerJsonParses(trimmed))
        return true;
    const bool hasOtherSpace = std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c.isSpace() && c != QLatin1Char(' ');
    });
    return hasOtherSpace && innerJsonParses(itemText.simplified());
}

MessageReassembler::MessageReassembler(Rules rules, QObject *parent)
    : QObject(parent)
    , m_rules(std::move(rules))
    , m_codec(QTextCodec::codecForName("UTF-8"))
    , m_decoderState(QTextCodec::IgnoreHeader)
{
    for (const Tag &tag : std::as_const(m_rules)) {
        m_allTags << tag.text;
        if (!m_firstChars.contains(tag.text.at(0)))
            m_firstChars += tag.text.at(0);
    }
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(DefaultQuietPeriodMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        QStringList out;
        flushBuffered(out);
        compact();
        if (!out.isEmpty())
            emit messagesReady(out);
    });
}

void MessageReassembler::feed(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const QString text = m_codec->toUnicode(bytes.constData(), bytes.size(), &m_decoderState);
    if (m_decoderState.invalidChars > 0) {
        qCWarning(lcIpc).noquote() << "local socket: invalid UTF-8," << m_decoderState.invalidChars
                                   << "characters replaced";
        m_decoderState.invalidChars = 0;
    }
    m_buffer += text;

    QStringList out;
    process(out);
    if (bufferedChars() > m_maxChars) {
        dropOverflow();
        process(out);
    }
    compact();
    if (bufferedChars() > 0)
        m_quiet.start();
    else
        m_quiet.stop();
    if (!out.isEmpty())
        emit messagesReady(out);
}

void MessageReassembler::readAvailable(QIODevice *device)
{
    for (QByteArray bytes = device->readAll(); !bytes.isEmpty(); bytes = device->readAll())
        feed(bytes);
}

void MessageReassembler::finishFrom(QIODevice *device)
{
    feed(device->readAll());
    finish();
}

void MessageReassembler::finish()
{
    m_quiet.stop();
    if (m_decoderState.remainingChars > 0) {
        qCWarning(lcIpc).noquote() << "local socket: connection ended inside a UTF-8 character";
        m_buffer += QChar(QChar::ReplacementCharacter);
        m_decoderState.remainingChars = 0;
        std::fill(std::begin(m_decoderState.state_data), std::end(m_decoderState.state_data), 0);
    }
    QStringList out;
    process(out);
    flushBuffered(out);
    compact();
    if (!out.isEmpty())
        emit messagesReady(out);
}

void MessageReassembler::process(QStringList &out)
{
    if (m_skipping) {
        const int next = nextTag(m_start);
        if (next < 0) {
            m_start = m_buffer.size() - heldBackLength(m_allTags, m_start);
            return;
        }
        m_start = next;
        m_skipping = false;
    }
    while (m_start < m_buffer.size()) {
        const Tag *tag = tagAt(m_start);
        if (!tag && couldStartTag(m_start))
            break;
        const int bodyStart = m_start + (tag ? tag->text.size() : 0);
        const int end = findMessageEnd(tag, bodyStart, std::max(bodyStart, m_scanFrom));
        if (end >= 0) {
            take(out, tag, end);
            continue;
        }
        // Every known tag may follow a whole message, so hold back any of them.
        const int candidateEnd = m_buffer.size() - heldBackLength(m_allTags, bodyStart);
        m_scanFrom = candidateEnd;
        if (tag && tag->isComplete &&
            tag->isComplete(m_buffer.mid(bodyStart, candidateEnd - bodyStart))) {
            take(out, tag, candidateEnd);
            continue;
        }
        break;
    }
}

int MessageReassembler::findMessageEnd(const Tag *tag, int bodyStart, int from) const
{
    const QStringList &strong = (tag && !tag->endedBy.isEmpty()) ? tag->endedBy : m_allTags;
    for (int pos = from;;) {
        const QString *which = nullptr;
        const int hit = nextTag(pos, &which);
        if (hit < 0)
            return -1;
        // Any other tag ends the message only outside a JSON string.
        if (strong.contains(*which) || !insideJsonString(bodyStart, hit))
            return hit;
        pos = hit + 1;
    }
}

bool MessageReassembler::insideJsonString(int from, int to) const
{
    bool inside = false;
    for (int i = from; i < to; ++i) {
        const QChar c = m_buffer.at(i);
        if (c == QLatin1Char('\\') && inside)
            ++i;
        else if (c == QLatin1Char('"'))
            inside = !inside;
    }
    return inside;
}

void MessageReassembler::take(QStringList &out, const Tag *tag, int end)
{
    const QStringView text = QStringView(m_buffer).mid(m_start, end - m_start);
    if (tag || !text.trimmed().isEmpty())
        out << text.toString();
    m_start = end;
    m_scanFrom = 0;
}

void MessageReassembler::flushBuffered(QStringList &out)
{
    if (m_skipping) {
        m_skipping = false;
        m_start = m_buffer.size();
        return;
    }
    if (m_start < m_buffer.size())
        take(out, tagAt(m_start), m_buffer.size());
    m_start = m_buffer.size();
    m_scanFrom = 0;
}

void MessageReassembler::dropOverflow()
{
    const int held = heldBackLength(m_allTags, m_start);
    const int dropped = m_buffer.size() - held - m_start;
    qCWarning(lcIpc).noquote() << "local socket: buffer over" << m_maxChars << "characters, dropped"
                               << dropped << "characters of a partial message";
    m_start = m_buffer.size() - held;
    m_scanFrom = 0;
    m_skipping = true;
}

const MessageReassembler::Tag *MessageReassembler::tagAt(int pos) const
{
    const QStringView rest = QStringView(m_buffer).mid(pos);
    for (const Tag &tag : m_rules) {
        if (rest.startsWith(tag.text))
            return &tag;
    }
    return nullptr;
}

bool MessageReassembler::couldStartTag(int pos) const
{
    const QStringView rest = QStringView(m_buffer).mid(pos);
    for (const QString &tag : m_allTags) {
        if (rest.size() < tag.size() && QStringView(tag).startsWith(rest))
            return true;
    }
    return false;
}

int MessageReassembler::nextTag(int from, const QString **which) const
{
    const QStringView buffer(m_buffer);
    if (m_firstChars.size() == 1) {
        // One pass: stop only where a tag can begin.
        const QChar first = m_firstChars.at(0);
        for (int i = from; (i = buffer.indexOf(first, i)) >= 0; ++i) {
            const QStringView rest = buffer.mid(i);
            for (const QString &tag : m_allTags) {
                if (rest.startsWith(tag)) {
                    if (which)
                        *which = &tag;
                    return i;
                }
            }
        }
        return -1;
    }
    // Search each tag only up to the best hit so far.
    int best = -1;
    for (const QString &tag : m_allTags) {
        const int end = best < 0 ? buffer.size() : best + tag.size() - 1;
        if (end - from < tag.size())
            continue;
        const int hit = buffer.mid(from, end - from).indexOf(tag);
        if (hit >= 0) {
            best = from + hit;
            if (which)
                *which = &tag;
        }
    }
    return best;
}

int MessageReassembler::heldBackLength(const QStringList &terminators, int bodyStart) const
{
    const QStringView body = QStringView(m_buffer).mid(bodyStart);
    int held = 0;
    for (const QString &tag : terminators) {
        for (int k = std::min<int>(tag.size() - 1, body.size()); k > held; --k) {
            if (body.endsWith(QStringView(tag).left(k))) {
                held = k;
                break;
            }
        }
    }
    return held;
}

void MessageReassembler::compact()
{
    if (m_start == 0)
        return;
    m_buffer.remove(0, m_start);
    m_scanFrom = std::max(0, m_scanFrom - m_start);
    m_start = 0;
}
