#pragma once

#include <QByteArray>
#include <QString>

namespace Common
{

// The update description the update host publishes: "Version" (read by the
// main program), "Size" and "Sha256" (checked by the updater against the
// installer) and "Signature", the publisher's over the version and the hash
// (updatesignature.h). Parsed with a hard bound on size and without document type
// declarations, so a hostile file costs neither memory nor time.
class UpdateDescription final
{
public:
    enum class Status {
        Ok,
        OpenFailed,    // missing or unreadable
        TooLarge,      // above MaxBytes
        NotWellFormed, // parser error, see line(), column(), parserMessage()
        HasDoctype,    // entity declarations are never expanded
        BadSize,       // "Size" present but not a non-negative decimal number
        BadSha256,     // "Sha256" present but not 64 hexadecimal digits
        BadSignature,  // "Signature" present but not 128 hexadecimal digits
    };

    static constexpr qint64 MaxBytes = 1024 * 1024;

    static UpdateDescription fromFile(const QString &path);
    static UpdateDescription fromData(const QByteArray &data);

    Status status() const { return m_status; }
    bool isValid() const { return m_status == Status::Ok; }
    // The diagnostic for a status other than Ok and OpenFailed (whose texts
    // differ between the programs).
    QString problem() const;

    qint64 line() const { return m_line; }
    qint64 column() const { return m_column; }
    QString parserMessage() const { return m_parserMessage; }

    // Text of the first "Version" element below the document element; empty when there is none.
    QString version() const { return m_version; }
    // -1 when there is no "Size" element.
    qint64 size() const { return m_size; }
    // The 32 bytes of the hash; empty when there is no "Sha256" element.
    QByteArray sha256() const { return m_sha256; }
    // The 64 bytes of the signature; empty when there is no "Signature" element.
    QByteArray signature() const { return m_signature; }

private:
    Status m_status = Status::OpenFailed;
    qint64 m_line = 0;
    qint64 m_column = 0;
    qint64 m_bytes = 0;
    QString m_parserMessage;
    QString m_version;
    QString m_sizeText;
    qint64 m_size = -1;
    QString m_sha256Text;
    QByteArray m_sha256;
    QString m_signatureText;
    QByteArray m_signature;
};

} // namespace Common
