#pragma once

#include <QByteArray>
#include <QString>

namespace Common
{
class UpdateDescription;
}

// The publisher's word on an update. The update description carries, beside
// "Version", "Size" and "Sha256", a "Signature": 128 hexadecimal digits, the
// Ed25519 signature (detached) made with the publisher's private key over
//
//     "korvex-update-v1" NUL <text of "Version", UTF-8> NUL <SHA-256 of the installer, 32 bytes>
//
// It binds the installer's bytes to the version offered: an older installer,
// signed for its own version, cannot be offered as a newer one, and no byte of
// the installer can change. The leading context keeps the signature from
// meaning anything else. The public key is compiled in (CMake cache value
// KORVEX_UPDATE_PUBLIC_KEY); its default is the stand-in update host's test key.
namespace UpdateSignature
{

// The compiled-in public key, 32 bytes.
QByteArray publicKey();

QByteArray signedMessage(const QString &version, const QByteArray &installerSha256);

// Empty when `signature` is `key`'s over `version` and `installerSha256`;
// otherwise why not, as a diagnostic.
QString refusal(const QString &version, const QByteArray &installerSha256,
                const QByteArray &signature, const QByteArray &key = publicKey());

// Empty when `description` is a complete offer signed by the compiled-in key:
// "Version", "Size", "Sha256" and a "Signature" over the first and the last.
// Otherwise why it is refused, as a diagnostic.
QString offerRefusal(const Common::UpdateDescription &description);

} // namespace UpdateSignature
