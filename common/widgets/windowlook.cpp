#include "windowlook.h"

#include "iconfont.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

namespace WindowLook
{

void raiseToFront(QWidget *window)
{
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->show();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    raiseToFrontInPlace(window);
}

void raiseToFrontInPlace(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void showAt(QWidget *window, const QPoint &topLeft)
{
    window->move(topLeft);
    window->show();
    window->move(topLeft + QPoint(1, 0));
    window->move(topLeft);
}

void showPicture(QLabel *label, const QString &resource, double factor)
{
    const QSize size = label->size().expandedTo(label->minimumSize());
    const QSize target(qRound(size.width() * factor), qRound(size.height() * factor));
    label->setPixmap(
        QPixmap(resource).scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void setGlyph(QAbstractButton *button, char16_t glyph, int pointSize, const QString &words)
{
    button->setFont(IconFont::font(QStringLiteral(":/fontawesome-webfont.ttf"), pointSize));
    button->setText(QString(QChar(glyph)));
    button->setToolTip(words);
    button->setAccessibleName(words);
}

} // namespace WindowLook
