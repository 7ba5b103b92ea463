#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace TestSupport
{

// Stands in for the system's browser: given to QDesktopServices::setUrlHandler,
// it records every address that would have been opened.
class UrlRecorder final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

} // namespace TestSupport
