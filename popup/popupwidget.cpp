#include "popupwidget.h"
#include "ui_popupwidget.h"

#include "desktopnotifier.h"
#include "jsliteral.h"
#include "iconfont.h"
#include "popuppagebridge.h"
#include "logging.h"
#include "windowdrag.h"
#include "networkcookie.h"
#include "pagecontract.h"
#include "pagelinks.h"
#include "protocol.h"
#include "popupsocketserver.h"
#include "popupscreen.h"
#include "webengine.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>
#include <QWebFrame>
#include <QWebPage>
#include <QWindow>

namespace Popup
{

namespace
{

double resolveDpiScale(const PopupOptions &options, const QScreen *screen)
{
    if (options.dpiScale > 0)
        return options.dpiScale;
    return PopupRules::dpiScaleFor(screen ? screen->logicalDotsPerInchX() : 96.0);
}

// The screen the settings choose among those there now.
QScreen *chosenScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QStringList names;
    for (const QScreen *screen : screens)
        names << screen->name();
    const int index =
        PopupScreen::choose(PopupScreen::readStored(), PopupScreen::labels(names),
                            int(screens.indexOf(QGuiApplication::primaryScreen())),
                            int(screens.indexOf(QGuiApplication::screenAt(QCursor::pos()))));
    return index >= 0 ? screens.at(index) : QGuiApplication::primaryScreen();
}

QList<QWidget *> scaledWidgets(Ui::PopupWidget *ui)
{
    return {ui->widget, ui->label, ui->popup_more, ui->label_2, ui->popup_close, ui->popupLabel2};
}

} // namespace

PopupWidget::PopupWidget(const PopupOptions &options, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PopupWidget)
    , m_options(options)
    , m_dpiScale(resolveDpiScale(options, QGuiApplication::primaryScreen()))
    , m_state(PopupRules::sizesFor(m_dpiScale), options.timings)
{
    ui->setupUi(this);
    initPopup();

    // The first load already runs with the default jar; later loads carry our cookies.
    cookieJar = new Common::NetworkCookie(this);
    ui->webView->page()->networkAccessManager()->setCookieJar(cookieJar);
    cookieJar->setParent(this);
}

PopupWidget::~PopupWidget()
{
    // The page must not be torn down in the middle of a load, nor outlive its jar.
    // The stopped load reports a failure: it must not start another one.
    disconnect(ui->webView->page()->mainFrame(), nullptr, this, nullptr);
    ui->webView->stop();
    delete ui->webView;
    delete ui;
}

void PopupWidget::initPopup()
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    new Common::WindowDrag(this);
    m_bridge =
        new Popup::PopupPageBridge(ui->webView->page()->mainFrame(), QUrl(m_options.webHost), this);
    m_memory = new WebEngine::Releaser(this);
    connect(m_bridge, &Popup::PopupPageBridge::itemRequested, this, &PopupWidget::achieveid);
    connect(m_bridge, &Popup::PopupPageBridge::hideRequested, this, &PopupWidget::windowNeedHide);

    QWebPage *page = ui->webView->page();
    page->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    page->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    setWindowOpacity(1.0);
    for (QGridLayout *grid : {ui->gridLayout, ui->gridLayout_2, ui->gridLayout_3}) {
        grid->setSpacing(0);
        grid->setContentsMargins(1, 1, 1, 1);
    }
    // The slide-in starts at zero height; the form's minimum must not hold it up.
    ui->gridLayout_3->setSizeConstraint(QLayout::SetNoConstraint);

    connect(page->mainFrame(), &QWebFrame::loadFinished, this, &PopupWidget::webViewLoadFinished);
    m_memory->watchLoads(page);
    connect(page->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared, this,
            &PopupWidget::jsWindowObjectCleared);
    loadPage();
    m_state.pageLoadStarted();

    closeTimer = new QTimer(this);
    closeTimer->setObjectName(QStringLiteral("closeTimer"));
    closeTimer->setSingleShot(true);
    sizeTimer = new QTimer(this);
    sizeTimer->setObjectName(QStringLiteral("sizeTimer"));
    sizeTimer->setSingleShot(true);

    socketServer = new Popup::LocalSocketServer(this);
    if (!socketServer->startServer(Protocol::popupSocketName()))
        qCWarning(lcPopup).noquote() << "localSocketServer init error!";
    mainLink.connectTo(Protocol::mainSocketName());
    mainLink.send(Protocol::popupStartedTag());

    ui->popup_close->setFont(
        IconFont::font(QStringLiteral(":/source/fontawesome-webfont.ttf"), 10));
    ui->popup_close->setText(QString(QChar(IconFont::Close)));
    // Read out in words, not as the glyph's private code point.
    ui->popup_close->setToolTip(tr("关闭"));
    ui->popup_close->setAccessibleName(tr("关闭"));

    for (const QWidget *w : scaledWidgets(ui))
        m_designSizes.append({w->minimumSize(), w->maximumSize()});
    placeOnChosenScreen();
    applyDpiScale();

    const PopupRules::PopupSizes &sizes = m_state.sizes();
    const QRect start = shownRect(sizes.normalHeight);
    popupWidth = sizes.width;
    popupX = start.x();
    popupY = start.y();
    qCDebug(lcPopup).noquote() << QStringLiteral("%1 - %2 - %3 - %4")
                                      .arg(popupWidth)
                                      .arg(m_state.popupHeight())
                                      .arg(popupY)
                                      .arg(popupX);
    setGeometry(start);

    showAnimation = new QPropertyAnimation(this, "geometry", this);
    showAnimation->setObjectName(QStringLiteral("showAnimation"));
    resizeAnimation = new QPropertyAnimation(this, "geometry", this);
    resizeAnimation->setObjectName(QStringLiteral("resizeAnimation"));

    connect(ui->popup_more, &QPushButton::clicked, this, &PopupWidget::onBtnMoreClicked);
    connect(ui->popup_close, &QPushButton::clicked, this, &PopupWidget::onBtnCloseClicked);
    connect(this, &PopupWidget::windowNeedHide, this, &PopupWidget::hideWindow);
    connect(closeTimer, &QTimer::timeout, this, &PopupWidget::closeAnimation);
    connect(showAnimation, &QPropertyAnimation::finished, this, &PopupWidget::animationFinished);
    connect(sizeTimer, &QTimer::timeout, this, &PopupWidget::setSizeToNormal);
    connect(ui->webView, &QWebView::linkClicked, this, &PopupWidget::onWebviewLinkClicked);
    connect(socketServer, &Popup::LocalSocketServer::getNewMessages, this,
            &PopupWidget::onGetNewMessages);
    connect(socketServer, &Popup::LocalSocketServer::getCookieChanged, this,
            &PopupWidget::onCookieNeedChanged);
    if (m_options.desktopNotifications) {
        m_notifier = new Popup::DesktopNotifier(this);
        connect(m_notifier, &Popup::DesktopNotifier::moreRequested, this,
                &PopupWidget::onBtnMoreClicked);
        connect(m_notifier, &Popup::DesktopNotifier::itemRequested, this, &PopupWidget::achieveid);
        connect(m_notifier, &Popup::DesktopNotifier::notShown, this,
                [this](const PopupItem &item) { showInWindow({item}); });
    }

    // A screen that goes away takes a pop-up on display with it: it comes up
    // again on the screen chosen now, once the screen has gone.
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!m_state.isShowing())
                return;
            placeOnChosenScreen();
            setGeometry(shownRect(m_state.popupHeight()));
        });
    });

    // The native window exists from now on, hidden.
    ui->gridLayout_3->activate();
    winId();
    placeOnChosenScreen();
}

void PopupWidget::applyDpiScale()
{
    const QList<QWidget *> widgets = scaledWidgets(ui);
    for (int i = 0; i < widgets.size(); ++i) {
        const auto &[min, max] = m_designSizes.at(i);
        widgets.at(i)->setMinimumSize(PopupRules::scaledLength(min.width(), m_dpiScale),
                                      PopupRules::scaledLength(min.height(), m_dpiScale));
        widgets.at(i)->setMaximumSize(PopupRules::scaledLength(max.width(), m_dpiScale),
                                      PopupRules::scaledLength(max.height(), m_dpiScale));
    }
    ui->webView->setZoomFactor(m_dpiScale);
}

void PopupWidget::placeOnChosenScreen()
{
    QScreen *target = chosenScreen();
    if (!target)
        return;
    if (target != m_screen)
        qCDebug(lcPopup).noquote() << "pop-up screen:" << target->name();
    m_screen = target;
    // A screen of another X screen needs a native window of its own there.
    if (QWindow *window = windowHandle(); window && window->screen() != target)
        window->setScreen(target);
    if (m_state.isShowing())
        return;
    const double scale = resolveDpiScale(m_options, target);
    if (!qFuzzyCompare(scale, m_dpiScale)) {
        m_dpiScale = scale;
        m_state.setSizes(PopupRules::sizesFor(scale));
        popupWidth = m_state.sizes().width;
        if (!m_designSizes.isEmpty())
            applyDpiScale();
    }
}

QScreen *PopupWidget::popupScreen() const
{
    return m_screen ? m_screen.data() : QGuiApplication::primaryScreen();
}

QRect PopupWidget::availableArea() const
{
    const QScreen *s = popupScreen();
    return s ? s->availableGeometry() : QRect();
}

QRect PopupWidget::shownRect(int height) const
{
    return PopupRules::shownRect(availableArea(), m_state.sizes(), height);
}

void PopupWidget::loadPage()
{
    // Replacing a running load reports that load as failed at once; that is
    // our own doing, not a failure of the page.
    m_replacingLoad = true;
    ui->webView->load(QUrl(m_options.webHost + Pages::Wicket));
    m_replacingLoad = false;
}

void PopupWidget::runScript(const QString &script)
{
    // What the page's functions return is not read, nor converted.
    ui->webView->page()->mainFrame()->evaluateJavaScript(JsLiteral::withoutResult(script));
}

void PopupWidget::apply(const PopupStep &step)
{
    if (step.loadPage)
        loadPage();
    if (step.slideIn)
        startShowAnimation();
    const PopupRules::PopupSizes &sizes = m_state.sizes();
    if (step.growAnimated || step.shrinkAnimated) {
        resizeAnimation->stop();
        resizeAnimation->setDuration(m_state.timings().resizeMs);
        const QRect normal = shownRect(sizes.normalHeight);
        const QRect large = shownRect(sizes.largeHeight);
        resizeAnimation->setStartValue(step.growAnimated ? normal : large);
        resizeAnimation->setEndValue(step.growAnimated ? large : normal);
        resizeAnimation->start();
    }
    if (step.setLargeNow)
        setGeometry(shownRect(sizes.largeHeight));
    if (step.stopSizeTimer)
        sizeTimer->stop();
    if (step.stopCloseTimer)
        closeTimer->stop();
    if (step.closeTimerMs >= 0)
        closeTimer->start(step.closeTimerMs);
    if (step.sizeTimerMs >= 0)
        sizeTimer->start(step.sizeTimerMs);
    if (step.hide)
        hide();
    if (step.clearPage)
        runScript(JsLiteral::call(Pages::DelNews));
    if (!step.replay.isEmpty())
        showInWindow(step.replay);
}

void PopupWidget::startShowAnimation()
{
    showAnimation->stop();
    resizeAnimation->stop();
    // Put on the screen where the slide starts: shown at its last place first, the
    // pop-up would flash up whole and collapse, and a click on that flash would land
    // on whatever lies beneath once it had collapsed.
    const QRect from = PopupRules::slideStartRect(availableArea(), m_state.sizes());
    setGeometry(from);
    show();
    raise();
    showAnimation->setDuration(m_state.timings().slideMs);
    showAnimation->setStartValue(from);
    showAnimation->setEndValue(shownRect(m_state.popupHeight()));
    showAnimation->start();
    qCDebug(lcPopup).noquote() << "start Animation";
    qCDebug(lcPopup).noquote() << "isSingleShot:" << closeTimer->isSingleShot();
}

void PopupWidget::onGetNewMessage(QString newsContent, QString timeOut, QString newsImportance)
{
    onGetNewMessages({{newsContent, timeOut, newsImportance}});
}

void PopupWidget::onGetNewMessages(const QList<PopupItem> &items)
{
    if (m_notifier) {
        for (const PopupItem &item : items)
            m_notifier->show(item);
        return;
    }
    showInWindow(items);
}

void PopupWidget::showInWindow(const QList<PopupItem> &items)
{
    // A pop-up that slides in goes where the settings say now.
    if (!m_state.isShowing())
        placeOnChosenScreen();
    // The steps are worked out in order, as if each item's step had been
    // carried out before the next arrived: a slide-in started by one item is
    // running for the next.
    bool sliding = showAnimation->state() == QAbstractAnimation::Running;
    QString script;
    QList<PopupStep> steps;
    steps.reserve(items.size());
    for (const PopupItem &item : items) {
        PopupStep step = m_state.newItem(item, sliding);
        // Each call on its own, as with one evaluation per item.
        if (step.deliver)
            script += JsLiteral::guarded(JsLiteral::call(Pages::Iojieshou, {item.content}));
        sliding = sliding || step.slideIn;
        steps.append(std::move(step));
    }
    if (!script.isEmpty())
        runScript(script);
    for (const PopupStep &step : std::as_const(steps))
        apply(step);
    m_memory->noteActivity();
}

void PopupWidget::animationFinished()
{
    ui->webView->show();
    apply(m_state.slideFinished());
}

void PopupWidget::setSizeToLarge()
{
    apply(m_state.sizeToLarge(showAnimation->state() == QAbstractAnimation::Running));
}

void PopupWidget::setSizeToNormal()
{
    apply(m_state.sizeTimeout());
}

void PopupWidget::closeAnimation()
{
    apply(m_state.close());
}

void PopupWidget::onBtnCloseClicked()
{
    apply(m_state.close());
}

void PopupWidget::hideWindow()
{
    apply(m_state.hideRequested());
}

void PopupWidget::onBtnMoreClicked()
{
    qCDebug(lcPopup).noquote() << "send popup_more";
    mainLink.send(Protocol::popupMoreTag());
}

void PopupWidget::achieveid(QString id)
{
    qCDebug(lcPopup).noquote() << "send popup_open_content";
    mainLink.send(Protocol::popupContentTag() + id);
}

void PopupWidget::webViewLoadFinished(bool ok)
{
    if (m_replacingLoad && !ok)
        return;
    apply(m_state.loadFinished(ok));
}

void PopupWidget::jsWindowObjectCleared()
{
    m_bridge->placeIntoPage();
}

void PopupWidget::onWebviewLinkClicked(const QUrl &url)
{
    PageLinks::openOnDesktop(url, lcPopup());
}

void PopupWidget::onCookieNeedChanged(QString value)
{
    qCDebug(lcPopup).noquote() << "read configs _ timeZone:" << value;
    cookieJar->setCookies({Common::NetworkCookie::timeZoneCookie(value)},
                          QUrl(m_options.webHost + Pages::Wicket));
    apply(m_state.timeZoneChanged());
}

void PopupWidget::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    apply(m_state.pointerEntered(closeTimer->isActive() ? closeTimer->remainingTime() : -1));
}

void PopupWidget::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    apply(m_state.pointerLeft());
}

void PopupWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    event->ignore();
}

void PopupWidget::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

} // namespace Popup
