#pragma once

#include <QString>

class QTranslator;

// The client's windows in the test's own process.
namespace TestSupport
{

// Programs the client starts are looked up in `programFolder` (an empty one: no
// companion runs), settings go under the client's names and, with `english`,
// the client's English texts are loaded into it and installed. False when they
// could not be loaded.
bool useInProcessClient(const QString &programFolder, QTranslator *english = nullptr);

// Group "state" of the stand-in service's demo user, logged in with automatic
// login: news items open in their own window, the account area shows the user.
void storeLoggedIn();

} // namespace TestSupport
