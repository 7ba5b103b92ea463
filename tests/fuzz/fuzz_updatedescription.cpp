// The update description reader on any bytes: no crash, and what it accepts
// is consistent (a valid size is not negative unless absent, a hash is 32 bytes).
#include "fuzzsupport.h"
#include "updatedescription.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Common::UpdateDescription d = Common::UpdateDescription::fromData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
    if (d.isValid()) {
        FUZZ_CHECK(d.size() >= -1, QStringLiteral("size %1").arg(d.size()));
        FUZZ_CHECK(d.sha256().isEmpty() || d.sha256().size() == 32,
                   QStringLiteral("hash of %1 bytes").arg(d.sha256().size()));
    } else {
        FUZZ_CHECK(d.status() != Common::UpdateDescription::Status::OpenFailed,
                   QStringLiteral("data read as an unreadable file"));
        FUZZ_CHECK(!d.problem().isEmpty(), QStringLiteral("rejected without a diagnostic"));
    }
    return 0;
}
