#pragma once

#include "localmessageserver.h"

#include <QString>
#include <QStringList>

namespace Korvex
{

// The main program's end of "vek_localsocket": turns what the listener and the
// pop-up program write into signals for the main window.
class LocalSocketServer final : public LocalMessageServer
{
    Q_OBJECT

public:
    explicit LocalSocketServer(QObject *parent = nullptr);

signals:
    void getNewMessage(QString newsContent, QString newsType, QString newsImportance);
    void onPopupStartedRequest();
    void onPopupMoreRequest();
    void onPopupContentRequest(QString);

protected:
    void handleMessages(const QStringList &messages) override;

private:
    void handleMessage(const QString &m);
};

} // namespace Korvex
