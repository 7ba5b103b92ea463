#pragma once

#include <QString>
#include <QStringList>

// The one command-line option of the client programs: "-host" HOST.
namespace HostArgument
{

// The value after the last "-host" that is followed by one; null when there is none.
QString lastValue(const QStringList &arguments);

// "http://" + the deployment's web host.
QString defaultWebHost();

} // namespace HostArgument
