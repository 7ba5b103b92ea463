#pragma once

#include <QString>

// What one news item looks like as a row of the calendar/news ticker.
namespace Korvex::Ticker
{

// Colours as 0xRRGGBB, so the rules need no GUI module.
using Rgb = quint32;

inline constexpr int DefaultFocusMs = 60000;
inline constexpr Rgb FocusRed = 0xff0000;
inline constexpr Rgb FocusBackground = 0xffefed; // (255, 239, 237)
inline constexpr Rgb OrdinaryBackground = 0xffffff;
inline constexpr Rgb LinkBlue = 0x0000ff;
inline constexpr Rgb PlainText = 0x000000;

inline QString placeholder()
{
    return QStringLiteral("--");
}

// The time-zone offset handed to the window, in hours relative to the
// service's own time; hours truncated toward zero, minutes the remainder.
struct Zone {
    float offset = 0;
    float hours = 0;
    float minutes = 0;
};
Zone zoneFromOffsetText(const QString &offsetText);

// "hh:mm" of an item's "time" member ("date hh:mm..."), shifted by the zone
// and wrapped around midnight.
QString shiftedClock(const QString &timeMember, const Zone &zone);

// "&nbsp;", "&lt;", "&gt;", "&amp;", "&quot;" in this order.
QString decodeEntities(QString text);

struct Label {
    QString text;
    Rgb colour = PlainText;
};
// Ordinary rows: label by category code; an unknown code gets no text.
Label categoryLabel(const QString &type);
Label focusLabel();

struct Row {
    int sequence = 0;
    QString label;
    Rgb labelColour = PlainText;
    QString star = placeholder();
    QString contentId = placeholder();
    QString text = placeholder();
    Rgb textColour = PlainText;
    Rgb background = OrdinaryBackground;

    bool hasContent() const { return contentId != placeholder(); }
};

struct ItemResult {
    enum Outcome { Shown, Dropped, ParseError } outcome = Dropped;
    Row row;
    int parseError = 0; // QJsonParseError::ParseError on ParseError
};

// Builds the row for one item text (one enclosing character, a JSON object,
// one enclosing character). Flash items ("FBN") only count with a "[快讯]" title.
ItemResult rowFromItem(const QString &newsJson, bool isNewsNeedTop, const Zone &zone, int sequence);

// A focus row that returns among the ordinary rows: same label and text
// colour, ordinary background.
Row asOrdinary(Row row);

// Tool tip for a cell: the full text, shown verbatim and wrapped; absurdly
// long texts are cut so the tip stays a tip.
QString toolTipText(const QString &cellText);

// An item as written to the debug output: a huge item is cut, with its size.
QString logExcerpt(const QString &newsJson);

} // namespace Korvex::Ticker
