#pragma once

#include <QObject>

namespace Common
{

// Base of every object placed into a page script. A page sees all public slots
// of the object it is given, QObject's deleteLater() among them: a bridge holds
// only the members its page calls, never a window, and ignores deleteLater(), so
// a page cannot close, hide, quit or tear down anything. Its owner deletes it.
class PageBridge : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool event(QEvent *event) override;
};

} // namespace Common
