#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace TestSupport
{

// Stands in for the system's browser while it lives: the desktop's handler of
// http, https and smb addresses, it records every address that would have been
// opened (smb: one the program must never hand on).
class UrlRecorder final : public QObject
{
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char *scheme : Schemes)
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : Schemes)
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }

private:
    static constexpr const char *Schemes[] = {"http", "https", "smb"};
};

} // namespace TestSupport
