// The publisher's word on an update: a signature binds the installer's bytes
// to the version offered, and an offer lacking any part of it is refused.
#include "updatedescription.h"
#include "updatesignature.h"

#include <QCryptographicHash>
#include <QtTest>

#include <sodium.h>

class TestUpdateSignature final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void signature_data();
    void signature();
    void incompleteOfferIsRefused_data();
    void incompleteOfferIsRefused();

private:
    QByteArray sign(const QString &version, const QByteArray &sha256) const;

    QByteArray m_publicKey;
    QByteArray m_secretKey;
};

void TestUpdateSignature::initTestCase()
{
    QVERIFY(sodium_init() >= 0);
    m_publicKey.resize(crypto_sign_PUBLICKEYBYTES);
    m_secretKey.resize(crypto_sign_SECRETKEYBYTES);
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(m_publicKey.data()),
                        reinterpret_cast<unsigned char *>(m_secretKey.data()));
}

QByteArray TestUpdateSignature::sign(const QString &version, const QByteArray &sha256) const
{
    const QByteArray message = UpdateSignature::signedMessage(version, sha256);
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char *>(message.constData()),
                         static_cast<unsigned long long>(message.size()),
                         reinterpret_cast<const unsigned char *>(m_secretKey.constData()));
    return signature;
}

void TestUpdateSignature::signature_data()
{
    QTest::addColumn<QString>("signedVersion");
    QTest::addColumn<QByteArray>("signedInstaller");
    QTest::addColumn<QString>("offeredVersion");
    QTest::addColumn<QByteArray>("offeredInstaller");
    QTest::addColumn<bool>("ownKey");
    QTest::addColumn<bool>("accepted");
    const QString version = QStringLiteral("1.1.000304");
    const QByteArray installer("installer bytes");
    QTest::newRow("the publisher's")
        << version << installer << version << installer << true << true;
    QTest::newRow("an older installer offered as newer")
        << QStringLiteral("1.1.000300") << installer << version << installer << true << false;
    QTest::newRow("other installer bytes")
        << version << installer << version << QByteArray("installer bytez") << true << false;
    QTest::newRow("another key") << version << installer << version << installer << false << false;
}

void TestUpdateSignature::signature()
{
    QFETCH(QString, signedVersion);
    QFETCH(QByteArray, signedInstaller);
    QFETCH(QString, offeredVersion);
    QFETCH(QByteArray, offeredInstaller);
    QFETCH(bool, ownKey);
    QFETCH(bool, accepted);
    const auto hash = [](const QByteArray &bytes) {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    };
    const QByteArray signature = sign(signedVersion, hash(signedInstaller));
    const QByteArray key = ownKey ? m_publicKey : UpdateSignature::publicKey();
    const QString refusal =
        UpdateSignature::refusal(offeredVersion, hash(offeredInstaller), signature, key);
    QCOMPARE(refusal.isEmpty(), accepted);
    // A signature or key of the wrong size is no signature.
    QVERIFY(
        !UpdateSignature::refusal(offeredVersion, hash(offeredInstaller), signature.chopped(1), key)
             .isEmpty());
    QVERIFY(
        !UpdateSignature::refusal(offeredVersion, hash(offeredInstaller), signature, key.chopped(1))
             .isEmpty());
}

void TestUpdateSignature::incompleteOfferIsRefused_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("refusal"); // a part of the diagnostic
    const QByteArray version = "<Version>1.1.000304</Version>";
    const QByteArray size = "<Size>8192</Size>";
    const QByteArray sha = "<Sha256>" + QByteArray(64, 'a') + "</Sha256>";
    const QByteArray signature = "<Signature>" + QByteArray(128, '5') + "</Signature>";
    const auto offer = [](const QByteArray &parts) { return QByteArray("<u>" + parts + "</u>"); };
    QTest::newRow("no Version") << offer(size + sha + signature) << QStringLiteral("no Version");
    QTest::newRow("no Size") << offer(version + sha + signature) << QStringLiteral("no Size");
    QTest::newRow("no Sha256") << offer(version + size + signature) << QStringLiteral("no Sha256");
    QTest::newRow("unsigned") << offer(version + size + sha) << QStringLiteral("no Signature");
    QTest::newRow("signed by someone else")
        << offer(version + size + sha + signature) << QStringLiteral("not the publisher's");
    QTest::newRow("not XML") << QByteArray("<u>") << QStringLiteral("parse file failed");
}

void TestUpdateSignature::incompleteOfferIsRefused()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, refusal);
    const QString said = UpdateSignature::offerRefusal(Common::UpdateDescription::fromData(xml));
    QVERIFY2(said.contains(refusal), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestUpdateSignature)
#include "tst_updatesignature.moc"
