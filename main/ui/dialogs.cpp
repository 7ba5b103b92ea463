#include "dialogs.h"

#include "desktop/dialogplacement.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace Korvex::Dialogs
{

void placeOver(QWidget *dialog, const QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const bool here = window->isVisible() && !window->isMinimized();
    // Before it is shown: a move after the window manager mapped it would
    // leave it travelling while the user aims at it.
    dialog->move(Placement::centredOver(dialog->frameGeometry().size(),
                                        here ? window->frameGeometry() : available, available));
}

namespace
{

// Keys the dialog's widgets leave unused reach the dialog. (A window shortcut
// would not do: the tool windows owned by the main window share its shortcut
// context, and the same key in two of them fires in neither.)
class DialogKeys final : public QObject
{
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

void bindKeys(QWidget *dialog, QAbstractButton *cross, QAbstractButton *confirm)
{
    new DialogKeys(dialog, cross, confirm);
}

} // namespace Korvex::Dialogs
