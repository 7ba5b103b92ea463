#include "pages/loginrules.h"

#include <QtTest>

using Korvex::Login::Outcome;

Q_DECLARE_METATYPE(Korvex::Login::Outcome)

// What the account pages' reports and the stored state make of the login.
class TestLoginRules final : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data();
    void outcome();
    void overLongValuesAreNoLogin();
    void autoLogin_data();
    void autoLogin();
};

void TestLoginRules::outcome_data()
{
    QTest::addColumn<QString>("isError");
    QTest::addColumn<Outcome>("expected");
    QTest::newRow("1") << QStringLiteral("1") << Outcome::LoggedIn;
    QTest::newRow("-1") << QStringLiteral("-1") << Outcome::NotActivated;
    QTest::newRow("0") << QStringLiteral("0") << Outcome::Nothing;
    QTest::newRow("2") << QStringLiteral("2") << Outcome::Nothing;
    QTest::newRow("empty") << QString() << Outcome::Nothing;
    QTest::newRow("blank before 1") << QStringLiteral(" 1") << Outcome::Nothing;
    QTest::newRow("blank after -1") << QStringLiteral("-1 ") << Outcome::Nothing;
}

void TestLoginRules::outcome()
{
    QFETCH(QString, isError);
    QTEST(Korvex::Login::outcome(isError), "expected");
}

void TestLoginRules::overLongValuesAreNoLogin()
{
    const QString longest(Korvex::Login::MaxValueLength, QLatin1Char('x'));
    QVERIFY(Korvex::Login::plausible({QStringLiteral("1"), longest, QString()}));
    QVERIFY(!Korvex::Login::plausible({QStringLiteral("1"), longest + QLatin1Char('x')}));
}

void TestLoginRules::autoLogin_data()
{
    QTest::addColumn<QStringList>("stored"); // status, username, mailbox, auto
    QTest::addColumn<bool>("wanted");
    QTest::newRow("logged in, automatic") << QStringList{QStringLiteral("1"), QStringLiteral("n"),
                                                         QStringLiteral("m"), QStringLiteral("1")}
                                          << true;
    QTest::newRow("logged in, automatic off")
        << QStringList{QStringLiteral("1"), QStringLiteral("n"), QStringLiteral("m"),
                       QStringLiteral("0")}
        << false;
    QTest::newRow("logged out") << Korvex::Login::loggedOutState() << false;
    QTest::newRow("logged out, automatic") << QStringList{QStringLiteral("0"), QStringLiteral("n"),
                                                          QStringLiteral("m"), QStringLiteral("1")}
                                           << false;
    QTest::newRow("nothing stored") << QStringList{{}, {}, {}, {}} << false;
}

void TestLoginRules::autoLogin()
{
    QFETCH(QStringList, stored);
    QTEST(Korvex::Login::autoLoginWanted(stored.at(0), stored.at(3)), "wanted");
}

QTEST_GUILESS_MAIN(TestLoginRules)
#include "tst_loginrules.moc"
