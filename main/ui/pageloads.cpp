#include "pageloads.h"

#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "pages/contentrules.h"
#include "intakepages.h"
#include "jsliteral.h"
#include "logging.h"
#include "app/logwriter.h"
#include "pages/machineid.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "pagejars.h"
#include "pagenavigator.h"
#include "toolbarwindow.h"
#include "update/version.h"
#include "pages/webhost.h"

#include <QDir>
#include <QStandardPaths>
#include <QWebFrame>
#include <QWebPage>
#include <QWebSettings>
#include <QWebView>

namespace Korvex
{

namespace
{

struct BridgedPage {
    const char *viewName;
    const char *logText;
};

// In Bridged order.
const BridgedPage BridgedPages[] = {
    {"webView_kuaixunzhibo", "addToJavaScriptWindowObject : onWebView_kuaixunzhibo;"},
    {"webView_caijingrili", "addToJavaScriptWindowObject : onWebView_kelvora;"},
    {"webView_2", "addToJavaScriptWindowObject : onWebView_advertisement;"},
    {"webView_oth", "addToJavaScriptWindowObject : onWebView_Oth;"},
};

void log(const QString &text)
{
    filewrite(logFileName(), text);
}

QString loadedText(bool ok)
{
    return QStringLiteral("loaded(%1)").arg(ok ? 1 : 0);
}

} // namespace

PageLoads::PageLoads(QWidget *window, QWebView *mini, ClientState &state, IntakePages *pages,
                     PageJars *jars, PageNavigator *navigator, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_pages(pages)
    , m_jars(jars)
    , m_navigator(navigator)
    , m_live(navigator->liveView())
    , m_calendar(navigator->calendarView())
    , m_advert(window->findChild<QWebView *>(QStringLiteral("webView_2")))
    , m_other(navigator->otherView())
    , m_mini(mini)
    , m_analytics(std::make_unique<QWebView>())
{
    Q_ASSERT(m_advert);
    QWebFrame *advertFrame = m_advert->page()->mainFrame();
    advertFrame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    advertFrame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    m_advert->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    m_other->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    m_analytics->setContextMenuPolicy(Qt::NoContextMenu);

    m_jars->install(m_advert, QStringLiteral("webview_2"), {Pages::Advert});
    m_jars->installPerPage(m_other, QStringLiteral("webview_oth"), [this](const QUrl &shown) {
        return Content::otherPagesSaveName(webHost(), shown, m_state.userMailbox());
    });
    m_jars->install(m_analytics.get(), QStringLiteral("webview_cnzz"), {});

    const QList<QWebView *> views{m_live, m_calendar, m_advert, m_other};
    for (int i = 0; i < views.size(); ++i) {
        m_bridges[i] = new MainPageBridge(views.at(i)->page()->mainFrame(),
                                          QLatin1String(BridgedPages[i].viewName), this);
    }
}

PageLoads::~PageLoads()
{
    // A page still loading must not outlive its frame's owner.
    m_analytics->stop();
}

void PageLoads::applyGlobalWebSettings()
{
    QWebSettings *settings = QWebSettings::globalSettings();
    settings->setAttribute(QWebSettings::JavascriptEnabled, true);
    // Deliberately off: the service's pages need no plug-ins and no inspector,
    // and an old engine should offer neither to whatever a page links to.
    settings->setAttribute(QWebSettings::PluginsEnabled, false);
    settings->setAttribute(QWebSettings::DeveloperExtrasEnabled, false);
    settings->setAttribute(QWebSettings::DnsPrefetchEnabled, true);
    settings->setAttribute(QWebSettings::PrivateBrowsingEnabled, true);
    settings->setAttribute(QWebSettings::LocalStorageEnabled, true);
    // The user's own cache folder, not a temporary folder shared with other users.
    // The pages' stores only: the icon database that comes with the engine's
    // all-in-one call is a thread and a database of page icons nothing shows.
    const QString storage = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(storage);
    QWebSettings::setOfflineStoragePath(storage + QStringLiteral("/Databases"));
    QWebSettings::setOfflineWebApplicationCachePath(storage);
    settings->setLocalStoragePath(storage + QStringLiteral("/LocalStorage"));
    settings->setAttribute(QWebSettings::OfflineStorageDatabaseEnabled, true);
    settings->setAttribute(QWebSettings::OfflineWebApplicationCacheEnabled, true);
    settings->setThirdPartyCookiePolicy(QWebSettings::AllowThirdPartyWithExistingCookies);
}

void PageLoads::setTableWindow(std::function<ToolBarWindow *()> tableWindow)
{
    m_tableWindow = std::move(tableWindow);
}

QWebView *PageLoads::view(Bridged page) const
{
    switch (page) {
    case Bridged::Live:
        return m_live;
    case Bridged::Calendar:
        return m_calendar;
    case Bridged::Advert:
        return m_advert;
    case Bridged::Other:
        return m_other;
    }
    return nullptr;
}

MainPageBridge *PageLoads::bridge(Bridged page) const
{
    return m_bridges.at(static_cast<std::size_t>(page));
}

QList<MainPageBridge *> PageLoads::bridges() const
{
    return {m_bridges.begin(), m_bridges.end()};
}

void PageLoads::loadLivePage()
{
    m_live->load(QUrl(webHost() + Pages::Expresslive));
}

void PageLoads::loadAnalytics()
{
    m_analytics->setUrl(QUrl(webHost() + Pages::Analytics));
}

void PageLoads::bindBridge(Bridged page)
{
    MainPageBridge *bridge = this->bridge(page);
    const BridgedPage &described = BridgedPages[static_cast<int>(page)];
    if (bridge->placeIntoPage())
        log(QLatin1String(described.logText));
}

void PageLoads::liveLoaded(bool ok)
{
    log(loadedText(ok) + QStringLiteral(":onWebView_kuaixunzhibo;"));
    m_navigator->liveLoaded(ok);
    if (m_state.currentPage() == Content::LivePage)
        m_pages->showAdvertisement(true);
    if (m_firstLiveLoad) {
        m_firstLiveLoad = false;
        m_advert->load(QUrl(webHost() + Pages::Advert));
    }
    // Into a page that is there: a failed first load does not use up the report.
    if (ok && !m_installReportDone)
        reportInstallOnce();
    m_pages->applyFilter(m_state.currentPage(), m_state.subscriptionMask());
    fillTableWindow();
}

void PageLoads::reportInstallOnce()
{
    m_installReportDone = true;
    const QString identifier = MachineId::current();
    log(QStringLiteral("unique identifier:") + identifier);
    const QStringList key{QStringLiteral("value")};
    const QString stored = readConfig(QStringLiteral("version"), key).at(0);
    const QString version = versionText();
    if (!Content::installReportDue(stored, version))
        return;
    m_pages->evaluateLive(JsLiteral::call(Pages::Statistical, {identifier, version}));
    writeConfig(QStringLiteral("version"), key, {version});
}

void PageLoads::fillTableWindow()
{
    ToolBarWindow *table = m_tableWindow ? m_tableWindow() : nullptr;
    if (!table)
        return;
    QString diagnostic;
    const QStringList rows = Content::newsDataRows(
        m_pages->evaluateLive(JsLiteral::call(Pages::GetNewsData) + QLatin1Char(';')), {},
        &diagnostic);
    if (!diagnostic.isEmpty())
        qCWarning(lcPages).noquote() << diagnostic;
    qCDebug(lcPages).noquote() << "get_news_data:" << rows.size() << "items for the table window"
                               << m_live->url().toString();
    QList<QPair<QString, bool>> entries;
    entries.reserve(rows.size());
    for (const QString &row : rows)
        entries.append({row, false});
    table->updateTableWithNewMessages(entries);
}

void PageLoads::calendarLoaded(bool ok)
{
    log(loadedText(ok) + QStringLiteral(": onWebView_caijingrili;"));
    m_navigator->calendarLoaded(ok);
}

void PageLoads::advertLoaded(bool ok)
{
    log(loadedText(ok) + QStringLiteral(": onWebView_advertisement;"));
    m_navigator->loadUnlessThere(m_mini, QUrl(webHost() + Pages::Minipage));
}

void PageLoads::otherLoaded(bool ok)
{
    m_navigator->otherLoaded(ok);
}

void PageLoads::miniLoaded(bool)
{
    m_navigator->loadUnlessThere(m_calendar, QUrl(webHost() + Pages::Ecrilicalendar));
    m_pages->applyFilter(m_state.currentPage(), m_state.subscriptionMask());
}

void PageLoads::reloadForTimeZone()
{
    // Loaded anew rather than reloaded: a reload can report its end before the
    // page's scripts have run, and the table window is filled from them.
    m_live->load(QUrl(webHost() + Pages::Expresslive));
    m_calendar->load(QUrl(webHost() + Pages::Ecrilicalendar));
    if (m_other->isVisible() && !m_other->url().isEmpty())
        m_other->load(m_other->url());
    // Also while hidden: the strip's page keeps receiving every item, now in
    // the new zone.
    m_mini->load(QUrl(webHost() + Pages::Minipage));
}

} // namespace Korvex
