#include "messagereassembler.h"

#include "logging.h"
#include "protocol.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <utility>

namespace Common
{

MessageReassembler::Rules MessageReassembler::mainServerRules()
{
    const auto atOnce = [](QStringView) { return true; };
    return {
        {Protocol::newsTag(),
         &MessageReassembler::newsItemComplete,
         {Protocol::newsTag()},
         &MessageReassembler::newsItemMayContinue},
        {Protocol::popupStartedTag(), atOnce, {}, {}},
        {Protocol::popupMoreTag(), atOnce, {}, {}},
        {Protocol::showWindowTag(), atOnce, {}, {}},
        // The item id has no end marker: the next tag or the quiet period ends it.
        {Protocol::popupContentTag(), {}, {}, {}},
    };
}

MessageReassembler::Rules MessageReassembler::popupServerRules()
{
    const QString cookieTag = Protocol::cookieChangedPrefix();
    const auto newsComplete = [](QStringView payload) {
        // "_TTT_I_" precedes the item; a time-zone value has no end marker.
        if (payload.size() <= 7 || payload.startsWith(QLatin1String("cookieChanged")))
            return false;
        return newsItemComplete(payload.mid(7));
    };
    const auto newsMayContinue = [](QStringView payload) {
        if (payload.startsWith(QLatin1String("cookieChanged")))
            return false;
        return payload.size() <= 7 || newsItemMayContinue(payload.mid(7));
    };
    return {
        {Protocol::newsTag(), newsComplete, {Protocol::newsTag()}, newsMayContinue},
        {cookieTag, {}, {}, {}},
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

bool MessageReassembler::newsItemComplete(QStringView itemText)
{
    // The reader simplifies white space before it parses; trimming is enough
    // unless that simplification could turn a failing parse into a good one
    // (line breaks or tabs inside a string).
    const QStringView trimmed = itemText.trimmed();
    if (!mayBeWhole(trimmed))
        return false;
    if (innerJsonParses(trimmed))
        return true;
    const bool hasOtherSpace = std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c.isSpace() && c != QLatin1Char(' ');
    });
    return hasOtherSpace && innerJsonParses(itemText.toString().simplified());
}

namespace
{

// Follows a JSON text as far as needed to tell whether more text can still
// make it one whole document. It errs on the side of "can": a wrong "can"
// only delays a broken item, a wrong "cannot" loses a good one. White space
// counts as the reader sees it after simplification.
class JsonPrefix
{
public:
    enum Result { Open, Closed, Hopeless };

    bool closed() const { return m_state == Done; }

    Result feed(QChar c)
    {
        switch (m_state) {
        case InString:
            if (c == QLatin1Char('\\'))
                m_state = InEscape;
            else if (c == QLatin1Char('"'))
                m_state = m_key ? ExpectColon : AfterValue;
            return Open;
        case InEscape:
            m_state = InString;
            return Open;
        case InScalar:
            if (c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('+') ||
                c == QLatin1Char('-'))
                return Open;
            m_state = AfterValue;
            break;
        default:
            break;
        }
        if (c.isSpace())
            return m_state == Done ? Closed : Open;
        switch (m_state) {
        case Start:
            return open(c) ? Open : Hopeless;
        case FirstValue:
            if (c == QLatin1Char(']'))
                return close();
            Q_FALLTHROUGH();
        case ExpectValue:
            if (open(c))
                return Open;
            if (c == QLatin1Char('"')) {
                m_key = false;
                m_state = InString;
                return Open;
            }
            if (c == QLatin1Char('-') || c.isDigit() || c == QLatin1Char('t') ||
                c == QLatin1Char('f') || c == QLatin1Char('n')) {
                m_state = InScalar;
                return Open;
            }
            return Hopeless;
        case FirstKey:
            if (c == QLatin1Char('}'))
                return close();
            Q_FALLTHROUGH();
        case ExpectKey:
            if (c != QLatin1Char('"'))
                return Hopeless;
            m_key = true;
            m_state = InString;
            return Open;
        case ExpectColon:
            if (c != QLatin1Char(':'))
                return Hopeless;
            m_state = ExpectValue;
            return Open;
        case AfterValue:
            if (c == QLatin1Char(','))
                m_state = m_stack.back() == '{' ? ExpectKey : ExpectValue;
            else if (c == QLatin1Char(m_stack.back() == '{' ? '}' : ']'))
                return close();
            else
                return Hopeless;
            return Open;
        default: // Done: something behind the document
            return Hopeless;
        }
    }

private:
    enum State {
        Start,
        FirstValue,
        ExpectValue,
        FirstKey,
        ExpectKey,
        ExpectColon,
        AfterValue,
        InString,
        InEscape,
        InScalar,
        Done
    };

    bool open(QChar c)
    {
        if (c != QLatin1Char('{') && c != QLatin1Char('['))
            return false;
        m_stack.append(char(c.unicode()));
        m_state = c == QLatin1Char('{') ? FirstKey : FirstValue;
        return true;
    }
    Result close()
    {
        m_stack.removeLast();
        m_state = m_stack.isEmpty() ? Done : AfterValue;
        return m_stack.isEmpty() ? Closed : Open;
    }

    QVarLengthArray<char, 32> m_stack;
    State m_state = Start;
    bool m_key = false;
};

} // namespace

bool MessageReassembler::newsItemMayContinue(QStringView itemText)
{
    const QStringView text = itemText.trimmed();
    // Read as one enclosing character (a bracket or the like: plain words are
    // no item's start), a document and the closing character; once that last
    // character is there, more text cannot help...
    JsonPrefix inner;
    bool innerOpen = text.isEmpty() || !text.at(0).isLetterOrNumber();
    // ...and as a document of its own (an array of several items).
    JsonPrefix whole;
    bool wholeOpen = true;
    for (int i = 1; i < text.size() && innerOpen; ++i) {
        const QChar c = text.at(i);
        innerOpen = !(inner.closed() && !c.isSpace()) && inner.feed(c) != JsonPrefix::Hopeless;
    }
    for (int i = 0; i < text.size() && wholeOpen; ++i)
        wholeOpen = whole.feed(text.at(i)) == JsonPrefix::Open;
    return innerOpen || wholeOpen;
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
    connect(&m_quiet, &QTimer::timeout, this, &MessageReassembler::quietPeriodOver);
}

void MessageReassembler::quietPeriodOver()
{
    if (pendingMayContinue()) {
        const qint64 waited = m_sinceData.elapsed();
        if (waited < m_unfinishedLimitMs) {
            m_quiet.start(int(m_unfinishedLimitMs - waited));
            return;
        }
        qCWarning(lcIpc).noquote() << "local socket: no rest of an unfinished item for" << waited
                                   << "ms, handed on as it is";
    }
    QStringList out;
    flushBuffered(out);
    compact();
    if (!out.isEmpty())
        emit messagesReady(out);
}

bool MessageReassembler::pendingMayContinue() const
{
    if (m_skipping)
        return false;
    const Tag *tag = tagAt(m_start);
    if (!tag || !tag->mayContinue)
        return false;
    // A trailing piece of a next tag is not judged as item text.
    const int bodyStart = m_start + tag->text.size();
    const int end = m_buffer.size() - heldBackLength(m_allTags, bodyStart);
    return tag->mayContinue(QStringView(m_buffer).mid(bodyStart, end - bodyStart));
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
    m_sinceData.start();
    if (bufferedChars() > 0)
        m_quiet.start(m_quietMs);
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
        if (tag && tag->isComplete && worthChecking(candidateEnd - bodyStart) &&
            tag->isComplete(QStringView(m_buffer).mid(bodyStart, candidateEnd - bodyStart))) {
            take(out, tag, candidateEnd);
            continue;
        }
        break;
    }
}

int MessageReassembler::findMessageEnd(const Tag *tag, int bodyStart, int from)
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

// Asked at increasing positions of one message: carries on from the last one.
bool MessageReassembler::insideJsonString(int bodyStart, int to)
{
    if (m_stringScan < bodyStart) {
        m_stringScan = bodyStart;
        m_inString = false;
    }
    for (; m_stringScan < to; ++m_stringScan) {
        const QChar c = m_buffer.at(m_stringScan);
        if (c == QLatin1Char('\\') && m_inString)
            ++m_stringScan;
        else if (c == QLatin1Char('"'))
            m_inString = !m_inString;
    }
    return m_inString;
}

// A check may read the whole message (a news item's JSON is parsed), and a big
// item can come in thousands of reads: past a size, check again only once it
// has grown by a quarter, so the checks of one message add up to a few times
// its size. An item that was whole before that is ended by the next tag or the
// quiet period.
bool MessageReassembler::worthChecking(int bodyLength)
{
    constexpr int alwaysBelow = 64 * 1024;
    if (bodyLength >= alwaysBelow && m_checkedLength >= 0 &&
        bodyLength - m_checkedLength < m_checkedLength / 4)
        return false;
    m_checkedLength = bodyLength;
    return true;
}

void MessageReassembler::restartScan()
{
    m_checkedLength = -1;
    m_scanFrom = 0;
    m_stringScan = 0;
    m_inString = false;
}

void MessageReassembler::take(QStringList &out, const Tag *tag, int end)
{
    const QStringView text = QStringView(m_buffer).mid(m_start, end - m_start);
    if (tag || !text.trimmed().isEmpty())
        out << text.toString();
    m_start = end;
    restartScan();
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
    restartScan();
}

void MessageReassembler::dropOverflow()
{
    const int held = heldBackLength(m_allTags, m_start);
    const int dropped = m_buffer.size() - held - m_start;
    qCWarning(lcIpc).noquote() << "local socket: buffer over" << m_maxChars << "characters, dropped"
                               << dropped << "characters of a partial message";
    m_start = m_buffer.size() - held;
    restartScan();
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
    // One pass, stopping only where a tag can begin: searching each tag on its
    // own would read the rest of the buffer again at every hit of another.
    const QStringView buffer(m_buffer);
    const bool oneFirst = m_firstChars.size() == 1;
    for (int i = from; i < buffer.size(); ++i) {
        if (oneFirst) {
            i = buffer.indexOf(m_firstChars.at(0), i);
            if (i < 0)
                return -1;
        } else if (!m_firstChars.contains(buffer.at(i))) {
            continue;
        }
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
    m_stringScan = std::max(0, m_stringScan - m_start);
    m_start = 0;
}

} // namespace Common
