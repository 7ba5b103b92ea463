#pragma once

#include "pagebridge.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <optional>

class QWebFrame;

namespace Common
{

// A bridge placed into the pages of one site: only into a document of its
// expected origin (scheme, host and port), and a call is taken only while the
// frame still shows one. A refused call leaves a diagnostic
// ("OBJECT.MEMBER refused on NAME: why"). Every program's page objects derive
// from it, so each checks the page and what it hands over the same way.
class OriginBridge : public PageBridge
{
    Q_OBJECT
public:
    using Category = const QLoggingCategory &(*)();

    // The frame shows a document of the expected origin.
    bool servesOrigin() const;
    // Places the object into the frame's page under its script name, when the
    // document is of the expected origin; any other page gets nothing.
    bool placeIntoPage();

protected:
    // `frame`: the main frame the object is placed into; `site`: the address
    // whose origin the pages must have; `scriptName`: the name the page knows
    // it by; `name` names the view in diagnostics, written to `category`.
    OriginBridge(QWebFrame *frame, const QUrl &site, const QString &scriptName, const QString &name,
                 Category category, QObject *parent);
    bool accepts(const char *member) const;
    void refuse(const char *member, const QString &why) const;
    // A text (or whole number) of at most `maxChars` from a page that may call;
    // nothing, and a diagnostic, otherwise.
    std::optional<QString> textOf(const char *member, const QVariant &value, int maxChars) const;

private:
    // The document's origin, for diagnostics.
    QString frameOrigin() const;

    QPointer<QWebFrame> m_frame;
    QUrl m_site;
    QString m_scriptName;
    QString m_name;
    Category m_category;
};

} // namespace Common
