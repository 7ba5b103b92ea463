#include "spinnerpause.h"

#include "jsliteral.h"

#include <QEvent>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

SpinnerPause::SpinnerPause(QWebView *view)
    : QObject(view)
    , m_view(view)
{
    view->installEventFilter(this);
    // The page may finish loading while its view is hidden.
    connect(view, &QWebView::loadFinished, this, &SpinnerPause::follow);
}

bool SpinnerPause::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        follow();
    return false;
}

void SpinnerPause::follow()
{
    // spin() and stop() return the spinner: converted, it brought its element
    // and the whole document along (some 3 MB at every show and hide).
    m_view->page()->mainFrame()->evaluateJavaScript(JsLiteral::withoutResult(
        m_view->isVisible()
            ? QStringLiteral(
                  "if (window.spinner) spinner.spin(document.getElementById('spinner'));")
            : QStringLiteral("if (window.spinner) spinner.stop();")));
}

} // namespace Korvex
