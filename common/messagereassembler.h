#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextCodec>
#include <QTimer>

#include <functional>

namespace Common
{

// Turns the bytes of one local-socket connection back into whole messages.
//
// The wire has no framing: a message is known only by the tag at its start, and
// one read may hold several messages or a piece of one. Bytes are decoded as
// UTF-8 with state kept between reads (a character cut between reads survives)
// and appended to this connection's buffer. A message ends where a tag that
// may end it begins; the last message in the buffer is whole when
//  - its tag needs no payload (complete at once), or
//  - its tag's check says so (a news item whose inner JSON parses), or
//  - nothing more has arrived for the quiet period (tens of ms), unless its
//    tag's check says more text can still complete it (a news item whose JSON
//    is merely unfinished: a busy writer sends big items in pieces); such a
//    message waits for its rest up to the unfinished limit (seconds), or
//  - the peer has gone (finish()).
// Text without a tag that arrives meanwhile is the rest of that message.
// A trailing piece that may be the start of a tag is held back until it is
// known. Text without a tag that is only white space carries nothing and is
// dropped. The buffer is bounded: past the limit the oldest partial message is
// dropped (with a diagnostic) and text is skipped up to the next tag.
// Reading is linear in the text: the search for the end of the first message
// and whether it stands inside a JSON string carry on where the last hit or
// read left them, however many tags an item quotes, and a big message's
// completeness is checked again only after it has grown by a share.
class MessageReassembler final : public QObject
{
    Q_OBJECT

public:
    struct Tag {
        QString text;
        // Says whether a trailing message with this tag is whole, given the text
        // behind the tag. Empty: only the next tag or the quiet period ends it.
        std::function<bool(QStringView payload)> isComplete;
        // Tags that always end this message; empty: any known tag. Any other
        // known tag ends it only outside a JSON string (a news item may quote
        // a tag in its text).
        QStringList endedBy;
        // Says whether more text can still make a trailing message with this
        // tag whole. Empty: the quiet period ends it.
        std::function<bool(QStringView payload)> mayContinue;
    };
    using Rules = QList<Tag>;

    // The five tags read by the main program; news items end only at the next
    // news tag, so item text is never cut at a pop-up tag.
    static Rules mainServerRules();
    // Messages 5 to 7 read by the pop-up program; "cookieChanged_" (message 6
    // carries no tag) also starts a message, except inside an item's text.
    static Rules popupServerRules();
    // A news item text is whole when its inner JSON parses (after the
    // whitespace simplification the reader applies) and it does not end in a
    // comma, which would mean more array elements follow.
    static bool newsItemComplete(QStringView itemText);
    // Whether more text can still make `itemText` an item the reader parses:
    // one enclosing character around a JSON document, or a JSON document of
    // its own (several array elements). False once no continuation can.
    static bool newsItemMayContinue(QStringView itemText);

    explicit MessageReassembler(Rules rules, QObject *parent = nullptr);

    static constexpr int DefaultQuietPeriodMs = 40;
    static constexpr int DefaultUnfinishedLimitMs = 10000;
    static constexpr int DefaultMaxBufferChars = 4 * 1024 * 1024;
    void setQuietPeriod(int ms) { m_quietMs = ms; }
    int quietPeriod() const { return m_quietMs; }
    void setUnfinishedLimit(int ms) { m_unfinishedLimitMs = ms; }
    void setMaxBufferChars(int chars) { m_maxChars = chars; }

    // Decodes and buffers one read; emits messagesReady for every message that
    // is now whole, in order.
    void feed(const QByteArray &bytes);
    // Hands on whatever is buffered as the last message (peer gone).
    void finish();
    // Feeds everything `device` has now. Loops because readyRead is not
    // emitted again while a receiver runs a nested event loop.
    void readAvailable(QIODevice *device);
    // The peer has gone: what it wrote last is all there will be.
    void finishFrom(QIODevice *device);
    int bufferedChars() const { return m_buffer.size() - m_start; }

signals:
    // Whole messages, in arrival order; one emission per read or flush.
    void messagesReady(const QStringList &messages);

private:
    void quietPeriodOver();
    bool pendingMayContinue() const;
    void process(QStringList &out);
    void flushBuffered(QStringList &out);
    void dropOverflow();
    const Tag *tagAt(int pos) const;
    bool couldStartTag(int pos) const;
    int nextTag(int from, const QString **which = nullptr) const;
    int findMessageEnd(const Tag *tag, int bodyStart, int from);
    void take(QStringList &out, const Tag *tag, int end);
    bool insideJsonString(int bodyStart, int to);
    bool worthChecking(int bodyLength);
    void restartScan();
    int heldBackLength(const QStringList &terminators, int bodyStart) const;
    void compact();

    Rules m_rules;
    QStringList m_allTags;
    QString m_firstChars; // distinct first characters of the tags
    QTextCodec *m_codec = nullptr;
    QTextCodec::ConverterState m_decoderState;
    QString m_buffer;
    int m_start = 0;    // first unhandled character in m_buffer
    int m_scanFrom = 0; // no terminator of the first message before this
    // Whether the first message's text up to m_stringScan stands inside a JSON
    // string (m_stringScan 0: not looked at yet).
    int m_stringScan = 0;
    bool m_inString = false;
    int m_checkedLength = -1; // body length at the last completeness check
    int m_maxChars = DefaultMaxBufferChars;
    bool m_skipping = false; // after an overflow, until the next tag
    int m_quietMs = DefaultQuietPeriodMs;
    int m_unfinishedLimitMs = DefaultUnfinishedLimitMs;
    QTimer m_quiet;
    QElapsedTimer m_sinceData; // since the last read that brought text
};

} // namespace Common
