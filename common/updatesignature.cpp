#include "updatesignature.h"

#include "updatedescription.h"

#include <sodium.h>

namespace UpdateSignature
{

QByteArray publicKey()
{
    return QByteArray::fromHex(QByteArrayLiteral(KORVEX_UPDATE_PUBLIC_KEY));
}

QByteArray signedMessage(const QString &version, const QByteArray &installerSha256)
{
    QByteArray message("korvex-update-v1");
    message.append('\0').append(version.toUtf8()).append('\0').append(installerSha256);
    return message;
}

QString refusal(const QString &version, const QByteArray &installerSha256,
                const QByteArray &signature, const QByteArray &key)
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        return QStringLiteral("update refused: the signature check is not available");
    if (key.size() != crypto_sign_PUBLICKEYBYTES)
        return QStringLiteral("update refused: no usable public key");
    if (signature.size() != crypto_sign_BYTES)
        return QStringLiteral("update refused: Signature is not %1 bytes").arg(crypto_sign_BYTES);
    const QByteArray message = signedMessage(version, installerSha256);
    const int verified =
        crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
                                    reinterpret_cast<const unsigned char *>(message.constData()),
                                    static_cast<unsigned long long>(message.size()),
                                    reinterpret_cast<const unsigned char *>(key.constData()));
    if (verified != 0)
        return QStringLiteral("update refused: Signature is not the publisher's for version "
                              "\"%1\" and this installer")
            .arg(version.left(64));
    return {};
}

QString offerRefusal(const Common::UpdateDescription &description)
{
    if (description.status() == Common::UpdateDescription::Status::OpenFailed)
        return QStringLiteral("update refused: no update description");
    if (!description.isValid())
        return description.problem();
    const auto missing = [](const char *element) {
        return QStringLiteral("update refused: the description has no %1")
            .arg(QLatin1String(element));
    };
    if (description.version().isEmpty())
        return missing("Version");
    if (description.size() < 0)
        return missing("Size");
    if (description.sha256().isEmpty())
        return missing("Sha256");
    if (description.signature().isEmpty())
        return missing("Signature");
    return refusal(description.version(), description.sha256(), description.signature());
}

} // namespace UpdateSignature
