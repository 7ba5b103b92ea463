#include "pages/machineid.h"

#include "platform.h"

#include <QNetworkInterface>

namespace Korvex::MachineId
{

bool isNullHardwareAddress(const QString &address)
{
    for (const QChar c : address) {
        if (c != QLatin1Char('0') && c != QLatin1Char(':') && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

QString compose(const QStringList &hardwareAddresses, const QString &volumeSerial)
{
    QString first;
    for (const QString &address : hardwareAddresses) {
        if (!isNullHardwareAddress(address)) {
            first = address;
            break;
        }
    }
    return first + QLatin1Char('_') + volumeSerial;
}

QString current()
{
    QStringList addresses;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces)
        addresses << interface.hardwareAddress();
    return compose(addresses, Platform::rootVolumeSerial());
}

} // namespace Korvex::MachineId
