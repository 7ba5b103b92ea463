#include "spinnerpause.h"

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
    // The script ends in "void 0": spin() and stop() return the spinner, and
    // the engine would hand it back converted, its element and the whole
    // document with it (some 30,000 strings and 3 MB at every show and hide).
    m_view->page()->mainFrame()->evaluateJavaScript(
        m_view->isVisible()
            ? QStringLiteral("if (window.spinner) spinner.spin(document.getElementById('spinner'));"
                             " void 0;")
            : QStringLiteral("if (window.spinner) spinner.stop(); void 0;"));
}

} // namespace Korvex
