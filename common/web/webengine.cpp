#include "webengine.h"

#include "platform.h"

#include <QFile>
#include <QGuiApplication>
#include <QWebPage>
#include <QWebSettings>

#include <algorithm>

namespace WebEngine
{

void beforeApplication()
{
    Platform::drawWithoutOpenGL();
    Platform::leanHeap();
    if (!qEnvironmentVariableIsSet("QT_BEARER_POLL_TIMEOUT"))
        qputenv("QT_BEARER_POLL_TIMEOUT", "60000");
    // The script engine's optimising compiler: the pages' per-item functions are
    // short, and the first compiler runs them as fast; its compiled code and
    // profiles were some 2 MB of the three programs' memory.
    if (!qEnvironmentVariableIsSet("JSC_useDFGJIT"))
        qputenv("JSC_useDFGJIT", "false");
}

void withoutMediaPlayback()
{
    for (const char *name :
         {"GST_PLUGIN_SYSTEM_PATH_1_0", "GST_PLUGIN_PATH_1_0", "GST_REGISTRY_1_0"}) {
        if (qEnvironmentVariableIsSet(name))
            return;
    }
    const QString folder = Platform::runtimeFolder();
    if (folder.isEmpty())
        return;
    qputenv("GST_PLUGIN_SYSTEM_PATH_1_0", QByteArray());
    qputenv("GST_PLUGIN_PATH_1_0", QByteArray());
    qputenv("GST_REGISTRY_1_0", QFile::encodeName(folder + QStringLiteral("/vek_media_registry")));
}

void useLeanSettings()
{
    QWebSettings::setObjectCacheCapacities(0, 0, 0);
    QWebSettings::setMaximumPagesInCache(0);
    QWebSettings *settings = QWebSettings::globalSettings();
    settings->setAttribute(QWebSettings::PluginsEnabled, false);
    const QString family = QGuiApplication::font().family();
    settings->setFontFamily(QWebSettings::StandardFont, family);
    settings->setFontFamily(QWebSettings::SansSerifFont, family);
}

Releaser::Releaser(QObject *parent, int quietMs, int maxBusyMs)
    : QObject(parent)
    , m_quietMs(quietMs)
    , m_maxBusyMs(maxBusyMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Releaser::releaseNow);
}

void Releaser::noteActivity()
{
    if (!m_busySince.isValid())
        m_busySince.start();
    const qint64 left = std::max<qint64>(0, m_maxBusyMs - m_busySince.elapsed());
    m_timer.start(int(std::min<qint64>(m_quietMs, left)));
}

void Releaser::watchLoads(QWebPage *page)
{
    connect(page, &QWebPage::loadFinished, this, &Releaser::noteActivity);
}

void Releaser::releaseNow()
{
    m_timer.stop();
    m_busySince.invalidate();
    // Collects the scripts' garbage and returns the engine's free memory.
    QWebSettings::clearMemoryCaches();
    Platform::releaseFreeHeap();
    ++m_releases;
}

} // namespace WebEngine
