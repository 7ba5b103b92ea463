#pragma once

#include "servicefixture.h"
#include "settings/clientstate.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTranslator>

#include <functional>

// The client's windows in the test's own process.
namespace TestSupport
{

// What a window test sets up before its first window: with WithService the
// stand-in service runs and the web host points at it; programs the client
// starts are looked up in an empty folder (no companion runs); settings go
// under the client's names; with English the client's English texts are
// installed.
class InProcessClient
{
public:
    enum Option { Plain = 0x0, WithService = 0x1, English = 0x2 };
    // False, with `error` set, when something could not be set up.
    bool start(int options, QString *error, const QStringList &serviceArgs = {});

    ServiceFixture service;
    QString programFolder() const { return m_programs.path(); }

private:
    QTemporaryDir m_programs;
    QTranslator m_english;
};

// Programs the client starts are looked up in `programFolder`, settings go
// under the client's names. (InProcessClient does this; tests that run the
// real companions point it at the programs' folder themselves.)
void useClientNames(const QString &programFolder);
// Installs the client's English texts into `translator`; false when they could not be loaded.
bool installEnglish(QTranslator *translator);

// The settings store in this test's private config folder.
QString storePath();
// The stored value of `key` in `group` (null when none).
QString stored(const QString &group, const QString &key);
// Group "version" holds this build's version: stored masks are taken as they are.
void storeThisVersion();
// Group "general_language": the zone's index in the settings window and the
// summer-time choice. Index 27 without summer time is GMT+8, the zone the
// service's times are written in: no shift.
void storeZone(int index = 27, int dst = 0);
// Group "state" of the stand-in service's demo user, logged in with automatic
// login: news items open in their own window, the account area shows the user.
void storeLoggedIn();
// One change of the client's settings, as the settings window makes it.
void changeFuncSettings(Korvex::ClientState &state,
                        const std::function<void(Korvex::FuncSettings &)> &change);
// The client's log as written so far.
QString logText();

} // namespace TestSupport
