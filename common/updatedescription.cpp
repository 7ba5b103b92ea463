#include "updatedescription.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace Common
{

namespace
{

// "Size" in bytes: decimal digits only, so "-5", "1e3" and "0x10" are refused.
bool parseSize(const QString &text, qint64 *size)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    const QString trimmed = text.trimmed();
    if (!digits.match(trimmed).hasMatch())
        return false;
    *size = trimmed.toLongLong();
    return true;
}

// Exactly `bytes` bytes in hexadecimal digits.
bool parseHex(const QString &text, int bytes, QByteArray *value)
{
    const QString trimmed = text.trimmed();
    const auto isHexDigit = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    };
    if (trimmed.size() != 2 * bytes || !std::all_of(trimmed.begin(), trimmed.end(), isHexDigit))
        return false;
    *value = QByteArray::fromHex(trimmed.toLatin1());
    return true;
}

} // namespace

UpdateDescription UpdateDescription::fromFile(const QString &path)
{
    UpdateDescription description;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        description.m_status = Status::OpenFailed;
        return description;
    }
    // Read one byte past the bound: a pipe or a growing file has no honest size().
    if (file.size() > MaxBytes) {
        description.m_status = Status::TooLarge;
        description.m_bytes = file.size();
        return description;
    }
    const QByteArray data = file.read(MaxBytes + 1);
    return fromData(data);
}

UpdateDescription UpdateDescription::fromData(const QByteArray &data)
{
    UpdateDescription description;
    description.m_bytes = data.size();
    if (data.size() > MaxBytes) {
        description.m_status = Status::TooLarge;
        return description;
    }

    QXmlStreamReader reader(data);
    bool haveVersion = false;
    bool haveSize = false;
    bool haveSha256 = false;
    bool haveSignature = false;
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            description.m_status = Status::HasDoctype;
            return description;
        case QXmlStreamReader::StartElement: {
            ++depth;
            if (depth < 2)
                break;
            const QStringRef name = reader.name();
            QString *target = nullptr;
            if (name == QLatin1String("Version") && !haveVersion) {
                haveVersion = true;
                target = &description.m_version;
            } else if (name == QLatin1String("Size") && !haveSize) {
                haveSize = true;
                target = &description.m_sizeText;
            } else if (name == QLatin1String("Sha256") && !haveSha256) {
                haveSha256 = true;
                target = &description.m_sha256Text;
            } else if (name == QLatin1String("Signature") && !haveSignature) {
                haveSignature = true;
                target = &description.m_signatureText;
            }
            if (target) {
                // Leaves the reader on the element's end.
                *target = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        description.m_status = Status::NotWellFormed;
        description.m_line = reader.lineNumber();
        description.m_column = reader.columnNumber();
        description.m_parserMessage = reader.errorString();
        return description;
    }
    if (haveSize && !parseSize(description.m_sizeText, &description.m_size)) {
        description.m_status = Status::BadSize;
        return description;
    }
    if (haveSha256 && !parseHex(description.m_sha256Text, 32, &description.m_sha256)) {
        description.m_status = Status::BadSha256;
        return description;
    }
    if (haveSignature && !parseHex(description.m_signatureText, 64, &description.m_signature)) {
        description.m_status = Status::BadSignature;
        return description;
    }
    description.m_status = Status::Ok;
    return description;
}

QString UpdateDescription::problem() const
{
    switch (m_status) {
    case Status::TooLarge:
        return QStringLiteral("update description too large: %1 bytes, at most %2")
            .arg(m_bytes)
            .arg(MaxBytes);
    case Status::NotWellFormed:
        return QStringLiteral("parse file failed at line %1,column:%2, error: %3!")
            .arg(m_line)
            .arg(m_column)
            .arg(m_parserMessage);
    case Status::HasDoctype:
        return QStringLiteral("update description refused: document type declaration");
    case Status::BadSize:
        return QStringLiteral("update description refused: Size is not a byte count: \"%1\"")
            .arg(m_sizeText.left(64));
    case Status::BadSha256:
        return QStringLiteral("update description refused: Sha256 is not a SHA-256 in hex: \"%1\"")
            .arg(m_sha256Text.left(80));
    case Status::BadSignature:
        return QStringLiteral(
                   "update description refused: Signature is not 64 bytes in hex: \"%1\"")
            .arg(m_signatureText.left(140));
    case Status::Ok:
    case Status::OpenFailed:
        break;
    }
    return {};
}

} // namespace Common
