#pragma once

#include <QString>

class QWebFrame;

namespace TestSupport
{

// Plays a hostile page: calls close(), hide(), deleteLater() and vekQuit() on
// the frame's script object `bridgeName`, each in its own try, then lets
// deferred deletions run. Returns whether the object still answers with its
// own member `member` afterwards (it was not torn down).
bool bridgeSurvivesWindowCalls(QWebFrame *frame, const QString &bridgeName, const QString &member);

} // namespace TestSupport
