#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// Rules of the pop-up program that need no widgets: arguments, sizes, placement
// and display times.
namespace Popup::PopupRules
{

// "http://" + the deployment's web host.
QString defaultWebHost();
// Every "-host" that is not the last argument sets the host; the last one wins.
QString webHostFromArguments(const QStringList &arguments, const QString &fallback);

struct PopupSizes {
    int width = 0;
    int normalHeight = 0;
    int largeHeight = 0;
};
// 300 x 318 (421 large) at 96 DPI, scaled and truncated.
PopupSizes sizesFor(double dpiScale);
// Logical DPI / 96.
double dpiScaleFor(qreal logicalDpiX);
// A designer minimum/maximum length times the scale, rounded; "unbounded" stays unbounded.
int scaledLength(int length, double dpiScale);

// Rectangles inside the available desktop area: flush with its right and lower edges.
QRect shownRect(const QRect &area, const PopupSizes &sizes, int height);
// One pixel row on the area's lower edge: where the slide-in starts. Never zero
// height: the toolkit takes a window of no height off the screen and maps it
// again, and a window manager under load could lose it between the two.
QRect slideStartRect(const QRect &area, const PopupSizes &sizes);

// A decimal field of a message; 0 when it is not a number.
int fieldValue(const QString &field);
// Display time of an item: seconds x secondMs; 0 keeps it for 100 hours.
int displayTimeMs(int seconds, int secondMs = 1000);

// One item as a desktop notification (Wayland alone, where the pop-up cannot
// place itself): plain texts, whatever markup the service put in.
struct NotificationText {
    QString summary; // "title"; else country and event of a calendar item
    QString body;    // "content"
    QString itemId;  // "id" when it opens an item, else empty
};
NotificationText notificationFor(const QString &itemText);
// Tags dropped, the service's entities read, white space collapsed.
QString plainText(const QString &html);
// For a notification server that reads markup in the body: the text shows as it is.
QString escapedForMarkup(const QString &text);
// A notification's time on screen: the item's seconds; 0 ("until closed") never expires.
int notificationTimeoutMs(int seconds);

} // namespace Popup::PopupRules
