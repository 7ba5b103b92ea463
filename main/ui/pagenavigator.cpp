#include "pagenavigator.h"

#include "settings/clientstate.h"
#include "pages/contentrules.h"
#include "intakepages.h"
#include "jsliteral.h"
#include "pagecontract.h"
#include "pagejars.h"
#include "pages/webhost.h"

#include <QCoreApplication>
#include <QLayout>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

#include <algorithm>
#include <iterator>

namespace Korvex
{

namespace
{

const QLatin1String LiveTab("button2_kuaixunzhibo");
const QLatin1String NewsFeedButton("button2_newsFeed");

const QLatin1String TabButtons[] = {
    QLatin1String("button2_kuaixunzhibo"), QLatin1String("button2_caijingrili"),
    QLatin1String("button2_meiritoutiao"), QLatin1String("button2_meirifenxi"),
    QLatin1String("button2_hangyebaodao"), QLatin1String("button3_hangqingzhongxin"),
    QLatin1String("button2_favourite"),
};

// In page order 3..9, then 11.
const QLatin1String CategoryButtons[] = {
    QLatin1String("button2_kelvora"),        QLatin1String("button2_jingjixinhao"),
    QLatin1String("button2_hongguanjingji"), QLatin1String("button2_waihui"),
    QLatin1String("button2_guijingshu"),     QLatin1String("button2_shiyou"),
    QLatin1String("button2_tong"),           QLatin1String("button2_all"),
};

bool isCategoryButton(const QString &name)
{
    return std::find(std::begin(CategoryButtons), std::end(CategoryButtons), name) !=
           std::end(CategoryButtons);
}

QString categoryButton(int page)
{
    if (page == Content::AllPage)
        return CategoryButtons[7];
    return CategoryButtons[page - Content::FirstCategoryPage];
}

QString otherPageButton(const QString &path)
{
    if (path == Pages::Hangqing)
        return QStringLiteral("button3_hangqingzhongxin");
    if (path == Pages::Industry)
        return QStringLiteral("button2_hangyebaodao");
    if (path == Pages::Article)
        return QStringLiteral("button2_meirifenxi");
    if (path == Pages::Index)
        return QStringLiteral("button2_meiritoutiao");
    return QString();
}

QString pageAddress(const QLatin1String &path)
{
    return webHost() + path;
}

const char *const NewsFeedClosedStyle =
    "QPushButton#button2_newsFeed{color:rgba(36,72,193,1);background-color:qlineargradient(x1:0,"
    "y1:0,x2:0,y2:1,stop:0 rgba(255,255,255,1),stop:1 rgba(208,208,209,1));border:1px solid "
    "#c5cfdf;border-radius:3px;padding:3px 10px;}QPushButton#button2_newsFeed:hover{color:rgba("
    "253,135,11,1);}";
const char *const NewsFeedOpenStyle =
    "QPushButton#button2_newsFeed{color:rgba(253,135,11,1);background-color:#f4f6fa;border:1px "
    "solid #fd870b;border-radius:3px;padding:3px 10px;}";

} // namespace

PageNavigator::PageNavigator(QWidget *window, ClientState &state, IntakePages *pages,
                             PageJars *jars, bool filterBarShown, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_state(state)
    , m_pages(pages)
    , m_jars(jars)
    , m_live(window->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo")))
    , m_calendar(window->findChild<QWebView *>(QStringLiteral("webView_caijingrili")))
    , m_other(window->findChild<QWebView *>(QStringLiteral("webView_oth")))
    , m_loading(window->findChild<QWebView *>(QStringLiteral("webView_loading")))
    , m_categoryBar(window->findChild<QWidget *>(QStringLiteral("widget1_2")))
    , m_filterBar(window->findChild<QWidget *>(QStringLiteral("widget_newsFeed")))
    , m_newsFeedButton(window->findChild<QPushButton *>(NewsFeedButton))
    , m_filterBarShown(filterBarShown)
{
    Q_ASSERT(m_live && m_calendar && m_other && m_loading && m_categoryBar && m_filterBar &&
             m_newsFeedButton);
    for (QWebView *view : {m_live, m_calendar, m_other}) {
        connect(view, &QWebView::loadStarted, this, [this, view] { m_busy.insert(view); });
        connect(view, &QWebView::loadFinished, this, [this, view] { m_busy.remove(view); });
    }
    unselectAll();
    setNewsFeedButton(false);
    m_categoryBar->hide();
    m_filterBar->hide();
    m_live->hide();
    m_calendar->hide();
    m_other->hide();
}

void PageNavigator::addWire(const QString &buttonName, QObject *context, std::function<void()> slot)
{
    m_wires.append({buttonName, context, slot});
    for (QPushButton *button : buttons(buttonName))
        connect(button, &QPushButton::clicked, context, [slot] { slot(); });
}

void PageNavigator::addTwinBar(QWidget *bar)
{
    m_twinBars.append(bar);
    for (const Wire &wire : qAsConst(m_wires)) {
        QPushButton *twin = bar->findChild<QPushButton *>(wire.buttonName);
        if (twin && wire.context)
            connect(twin, &QPushButton::clicked, wire.context, [slot = wire.slot] { slot(); });
    }
    unselectAll();
}

QList<QPushButton *> PageNavigator::buttons(const QString &name) const
{
    QList<QPushButton *> found;
    if (auto *own = m_window->findChild<QPushButton *>(name))
        found << own;
    for (const QPointer<QWidget> &bar : m_twinBars) {
        if (!bar)
            continue;
        if (auto *twin = bar->findChild<QPushButton *>(name))
            found << twin;
    }
    return found;
}

QString PageNavigator::tabStyle(bool selected)
{
    return selected ? QStringLiteral(
                          "QPushButton{color:#2a62c9;background-color:transparent;border:none;"
                          "border-bottom:3px solid #2a62c9;padding:4px 14px;font-size:14px;"
                          "font-weight:bold;}")
                    : QStringLiteral(
                          "QPushButton{color:#1f3b73;background-color:transparent;border:none;"
                          "border-bottom:3px solid transparent;padding:4px 14px;font-size:14px;}"
                          "QPushButton:hover{color:#fd870b;}");
}

QString PageNavigator::categoryStyle(bool selected)
{
    return selected ? QStringLiteral("QPushButton{color:#ffffff;background-color:#2a62c9;"
                                     "border:1px solid #2a62c9;border-radius:3px;padding:2px "
                                     "10px;}")
                    : QStringLiteral("QPushButton{color:#1f3b73;background-color:#ffffff;"
                                     "border:1px solid #c5cfdf;border-radius:3px;padding:2px "
                                     "10px;}QPushButton:hover{color:#fd870b;}");
}

bool PageNavigator::isSelected(const QPushButton *button)
{
    const QString style = button->styleSheet();
    return style == tabStyle(true) || style == categoryStyle(true);
}

void PageNavigator::unselectAll()
{
    for (const QLatin1String &name : TabButtons) {
        for (QPushButton *button : buttons(name))
            button->setStyleSheet(tabStyle(false));
    }
    for (const QLatin1String &name : CategoryButtons) {
        for (QPushButton *button : buttons(name))
            button->setStyleSheet(categoryStyle(false));
    }
}

void PageNavigator::select(const QString &buttonName)
{
    // No name would match every button.
    if (buttonName.isEmpty())
        return;
    const QString style = isCategoryButton(buttonName) ? categoryStyle(true) : tabStyle(true);
    for (QPushButton *button : buttons(buttonName))
        button->setStyleSheet(style);
}

void PageNavigator::setNewsFeedButton(bool open)
{
    // The window's own texts: translated in its context.
    m_newsFeedButton->setText(open ? QCoreApplication::translate("MainWindow", "订阅 ▲")
                                   : QCoreApplication::translate("MainWindow", "订阅 ▼"));
    m_newsFeedButton->setStyleSheet(QLatin1String(open ? NewsFeedOpenStyle : NewsFeedClosedStyle));
}

void PageNavigator::resetPageArea()
{
    m_other->hide();
    m_calendar->hide();
    m_live->hide();
    m_loading->hide();
    unselectAll();
    m_categoryBar->hide();
    m_filterBar->hide();
    setNewsFeedButton(false);
    m_pages->showAdvertisement(true);
    refreshLayout();
}

bool PageNavigator::loadUnlessThere(QWebView *view, const QUrl &address)
{
    if (view->url().toString() == address.toString())
        return true;
    // A load of that page under way is waited for, not started over.
    const bool underWay =
        m_busy.contains(view) &&
        view->page()->mainFrame()->requestedUrl().toString() == address.toString();
    if (!underWay)
        view->load(address);
    return false;
}

void PageNavigator::bringUp(QWebView *view, const QUrl &address)
{
    if (loadUnlessThere(view, address))
        view->show();
    else
        m_loading->show();
}

void PageNavigator::finish()
{
    refreshLayout();
    emit webViewShowStateChanged();
}

void PageNavigator::refreshLayout()
{
    // The container's layout gives the page area the room the bars leave.
    if (QWidget *container = m_window->findChild<QWidget *>(QStringLiteral("widget_7"))) {
        if (container->layout())
            container->layout()->activate();
    }
}

void PageNavigator::showLivePage(Content::Page page)
{
    if (!Content::isCategoryPage(page))
        return;
    resetPageArea();
    select(categoryButton(page));
    select(LiveTab);
    m_categoryBar->show();
    m_state.setCurrentPage(page);
    bringUp(m_live, QUrl(pageAddress(Pages::Expresslive)));
    m_pages->evaluateLive(JsLiteral::call(Pages::ShowType, {Content::tabShowTypeList(page)}));
    finish();
}

void PageNavigator::showLiveTab()
{
    resetPageArea();
    select(LiveTab);
    m_state.setCurrentPage(Content::LivePage);
    bringUp(m_live, QUrl(pageAddress(Pages::Expresslive)));
    finish();
    showLivePage(Content::AllPage);
}

void PageNavigator::showCalendar()
{
    resetPageArea();
    select(QStringLiteral("button2_caijingrili"));
    m_state.setCurrentPage(Content::CalendarPage);
    bringUp(m_calendar, QUrl(pageAddress(Pages::Ecrilicalendar)));
    finish();
}

void PageNavigator::showOtherPage(const QString &path)
{
    const QString button = otherPageButton(path);
    if (button.isEmpty())
        return;
    showInOtherView(QUrl(webHost() + path), Content::OtherPage, button);
}

void PageNavigator::showLink(const QUrl &address)
{
    showInOtherView(address, Content::OtherPage, otherPageButton(address.path()));
}

void PageNavigator::showFavourites()
{
    if (!m_state.loggedIn()) {
        emit loginRequested();
        return;
    }
    showInOtherView(Content::favouritesAddress(webHost(), m_state.userMailbox()),
                    Content::FavouritesPage, QStringLiteral("button2_favourite"));
}

void PageNavigator::showInOtherView(const QUrl &address, Content::Page page,
                                    const QString &buttonName)
{
    resetPageArea();
    select(buttonName);
    m_state.setCurrentPage(page);
    PageJars::placeTimeZoneCookie(m_jars->jar(QStringLiteral("webview_oth")), address,
                                  m_state.timeZoneValue());
    m_other->load(address);
    m_other->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    m_categoryBar->hide();
    m_loading->show();
    finish();
}

void PageNavigator::showOtherLoading()
{
    resetPageArea();
    m_state.setCurrentPage(Content::OtherPage);
    m_categoryBar->hide();
    m_loading->show();
    finish();
}

void PageNavigator::showNewsFeed(bool toggleFilterBar)
{
    const Content::Page previousPage = m_state.currentPage();
    resetPageArea();
    if (previousPage == Content::LivePage) {
        if (toggleFilterBar)
            m_filterBarShown = !m_filterBarShown;
    } else if (m_state.funcSettings().filterBar != 0) {
        m_filterBarShown = true;
    }
    m_filterBar->setVisible(m_filterBarShown);
    setNewsFeedButton(m_filterBarShown);
    // The live view is in front: its tab shows it.
    select(LiveTab);
    m_state.setCurrentPage(Content::LivePage);
    bringUp(m_live, QUrl(pageAddress(Pages::Expresslive)));
    m_pages->applyFilter(m_state.currentPage(), m_state.subscriptionMask());
    m_live->page()->mainFrame()->setScrollBarValue(Qt::Vertical, 0);
    finish();
}

void PageNavigator::leaveFavourites()
{
    if (m_state.currentPage() == Content::FavouritesPage)
        showNewsFeed(true);
}

void PageNavigator::liveLoaded(bool ok)
{
    // Every page of the live view, not only 2 and 11: a category page chosen
    // while the live page was still loading would otherwise keep the spinner.
    if (ok && Content::isLiveViewPage(m_state.currentPage())) {
        m_loading->hide();
        m_live->show();
    }
}

void PageNavigator::calendarLoaded(bool ok)
{
    if (ok && m_state.currentPage() == Content::CalendarPage) {
        m_loading->hide();
        m_calendar->show();
    }
}

void PageNavigator::otherLoaded(bool ok)
{
    if (ok && Content::isOtherViewPage(m_state.currentPage())) {
        m_loading->hide();
        m_other->show();
    }
}

} // namespace Korvex
