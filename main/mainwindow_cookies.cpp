#include "main/mainwindow.h"
#include "ui_mainwindow.h"

#include "common/networkcookie.h"
#include "common/pagecontract.h"
#include "main/cookiestore.h"
#include "main/miniwindow.h"
#include "main/webhost.h"

#include <QNetworkAccessManager>
#include <QWebPage>
#include <QWebView>

namespace
{

NetworkCookie *installJar(QWebView *view, QObject *owner)
{
    auto *jar = new NetworkCookie(owner);
    view->page()->networkAccessManager()->setCookieJar(jar);
    // The access manager took the jar over; it lives as long as the window anyway.
    jar->setParent(owner);
    return jar;
}

} // namespace

void MainWindow::initCookieJars()
{
    cookieJar_kuaixunzhibo = installJar(ui->webView_kuaixunzhibo, this);
    cookieJar_caijingrili = installJar(ui->webView_caijingrili, this);
    cookieJar_mini = installJar(miniWindow->pageView(), this);

    placeTimeZoneCookies();
    // The advertisement, other-pages and analytics views arrive with their pages;
    // until then there is nothing to restore into.
    CookieStore::restoreCookies(Korvex::webHost(), CookieStore::RestoreJars{});

    // Saved after every load, whether it succeeded or not.
    const auto saveAfterLoad = [this](QWebView *view, NetworkCookie *jar, const QString &name) {
        connect(view, &QWebView::loadFinished, this,
                [jar, name] { CookieStore::saveCookies(name, jar->getAllCookies()); });
    };
    saveAfterLoad(ui->webView_kuaixunzhibo, cookieJar_kuaixunzhibo,
                  QStringLiteral("webview_kuaixunzhibo"));
    saveAfterLoad(ui->webView_caijingrili, cookieJar_caijingrili,
                  QStringLiteral("webview_caijingrili"));
    saveAfterLoad(miniWindow->pageView(), cookieJar_mini, QStringLiteral("webview_mini"));
}

void MainWindow::placeTimeZoneCookies()
{
    const QString host = Korvex::webHost();
    const QList<QNetworkCookie> cookie{NetworkCookie::timeZoneCookie(timeZoneValue)};
    cookieJar_kuaixunzhibo->setCookies(cookie, QUrl(host + Pages::Expresslive));
    cookieJar_kuaixunzhibo->setCookies(cookie, QUrl(host + Pages::Collect));
    cookieJar_caijingrili->setCookies(cookie, QUrl(host + Pages::Ecrilicalendar));
    cookieJar_mini->setCookies(cookie, QUrl(host + Pages::Minipage));
}
