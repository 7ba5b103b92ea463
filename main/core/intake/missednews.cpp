#include "intake/missednews.h"

#include "settings/clientstate.h"
#include "intake/newsintake.h"

namespace Korvex
{

bool MissedNews::note(const QString &newsType, const ClientValues &values, bool windowAway,
                      const QDateTime &at)
{
    if (!windowAway || values.miniModeActive ||
        Intake::popupWanted(newsType, {values.popupOn, values.miniModeActive}, values.funcSettings))
        return false;
    if (m_count++ == 0)
        m_since = at;
    m_last = at;
    return true;
}

void MissedNews::reset()
{
    m_count = 0;
    m_since = m_last = QDateTime();
}

QString MissedNews::trayToolTip() const
{
    const QString name = QStringLiteral("VEK");
    if (m_count == 0)
        return name;
    const QString since =
        m_since.toString(m_since.date() == m_last.date() ? QStringLiteral("HH:mm")
                                                         : QStringLiteral("yyyy-MM-dd HH:mm"));
    return name + QLatin1Char('\n') +
           tr("自 %2 以来有 %1 条新快讯").arg(QString::number(m_count), since);
}

} // namespace Korvex
