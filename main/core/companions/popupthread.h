#pragma once

#include "companions/companionthread.h"

namespace Korvex
{

// Starts the pop-up program "vek_popup" with "-host" and the web host and
// holds it until quit(). Any pop-up program still running in this session is
// ended first, so at most one runs.
class PopupThread final : public CompanionThread
{
    Q_OBJECT
public:
    // `webHost` is "http://" + host, as the pages are addressed.
    explicit PopupThread(const QString &webHost, QObject *parent = nullptr);

protected:
    void beforeStart() override;
    QStringList arguments() const override;
    void announce(const QString &path) const override;

private:
    const QString m_webHost;
};

} // namespace Korvex
