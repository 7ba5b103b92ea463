#pragma once

#include <QString>
#include <QStringList>

// The identifier the live page's statistical() receives once per install or
// upgrade: the first network interface's hardware address, "_", and the
// system volume's serial number.
namespace Korvex::MachineId
{

// No address at all: empty, or only zero bytes ("00:00:00:00:00:00", the
// loopback interface's on Linux, which says nothing about the machine).
bool isNullHardwareAddress(const QString &address);

// The first address (in the order given) that is not null, "_", then the
// serial. No such address gives an empty first part.
QString compose(const QStringList &hardwareAddresses, const QString &volumeSerial);

// compose() over QNetworkInterface::allInterfaces() and Platform::rootVolumeSerial().
QString current();

} // namespace Korvex::MachineId
