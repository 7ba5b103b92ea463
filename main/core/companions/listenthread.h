#pragma once

#include "companions/companionthread.h"

namespace Korvex
{

// Runs the news listener "vek_listen" (no arguments) and waits until it ends.
class ListenThread final : public CompanionThread
{
    Q_OBJECT
public:
    explicit ListenThread(QObject *parent = nullptr);

protected:
    void announce(const QString &path) const override;
};

} // namespace Korvex
