#pragma once

#include <QObject>

class QWebView;

namespace Korvex
{

// Keeps the loading spinner page ("qrc:/spin.html") still while its view is
// hidden: a hidden page animates all the same, a few per cent of a core all day.
class SpinnerPause final : public QObject
{
    Q_OBJECT
public:
    explicit SpinnerPause(QWebView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();

    QWebView *m_view;
};

} // namespace Korvex
