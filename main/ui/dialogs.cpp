#include "dialogs.h"

#include "desktop/dialogplacement.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace Korvex::Dialogs
{

namespace
{

void centre(QWidget *dialog, const QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const bool here = window->isVisible() && !window->isMinimized();
    const QPoint at = Placement::centredOver(dialog->frameGeometry().size(),
                                             here ? window->frameGeometry() : available, available);
    // The toolkit drops a move to where it believes the window is, and after
    // the window manager has had it that belief can be stale: a step aside
    // makes the last move a real one (the window is not mapped yet: unseen).
    if (dialog->pos() == at)
        dialog->move(at + QPoint(1, 0));
    dialog->move(at);
}

// Centres the dialog at its next show, between its final sizing and its
// mapping: measured before, a form that grows to its layout's minimum on
// show would reach off the screen; moved after, the window manager has
// placed it already and it would jump while the user aims at it.
class PlaceAtShow final : public QObject
{
    Q_OBJECT
public:
    explicit PlaceAtShow(QWidget *dialog)
        : QObject(dialog)
    {
        dialog->installEventFilter(this);
    }

    void arm(const QWidget *window) { m_over = window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous() && m_over) {
            centre(static_cast<QWidget *>(watched), m_over);
            m_over = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<const QWidget> m_over;
};

// Keys the dialog's widgets leave unused reach the dialog. (A window shortcut
// would not do: the tool windows owned by the main window share its shortcut
// context, and the same key in two of them fires in neither.)
class DialogKeys final : public QObject
{
    Q_OBJECT
public:
    DialogKeys(QWidget *dialog, QAbstractButton *cross, QAbstractButton *confirm)
        : QObject(dialog)
        , m_cross(cross)
        , m_confirm(confirm)
    {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent *>(event)->key();
        QAbstractButton *button = key == Qt::Key_Escape                           ? m_cross.data()
                                  : key == Qt::Key_Return || key == Qt::Key_Enter ? m_confirm.data()
                                                                                  : nullptr;
        if (!button)
            return false;
        button->click();
        return true;
    }

private:
    QPointer<QAbstractButton> m_cross;
    QPointer<QAbstractButton> m_confirm;
};

} // namespace

void placeOver(QWidget *dialog, const QWidget *window)
{
    auto *placement = dialog->findChild<PlaceAtShow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!placement)
        placement = new PlaceAtShow(dialog);
    placement->arm(window);
}

void bindKeys(QWidget *dialog, QAbstractButton *cross, QAbstractButton *confirm)
{
    new DialogKeys(dialog, cross, confirm);
}

} // namespace Korvex::Dialogs

#include "dialogs.moc"
