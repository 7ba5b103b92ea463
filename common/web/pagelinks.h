#pragma once

#include <QLoggingCategory>
#include <QUrl>

// The one way a link clicked in any page leaves the program: to the desktop's
// handler when the link rule lets it (http, https, mailto), else a warning in
// `category` and nothing happens. True when it was handed on.
namespace PageLinks
{

bool openOnDesktop(const QUrl &link, const QLoggingCategory &category);

} // namespace PageLinks
