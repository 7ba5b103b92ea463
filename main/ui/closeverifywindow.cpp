#include "closeverifywindow.h"
#include "ui_closeverifywindow.h"

#include "windowdrag.h"
#include "iconfont.h"
#include "windowlook.h"
#include "dialogs.h"

namespace Korvex
{

CloseVerifyWindow::CloseVerifyWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::CloseVerifyWindow>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(tr("关闭选项"));
    setWindowOpacity(1.0);

    WindowLook::setGlyph(ui->close_close, IconFont::Close, 10, tr("关闭"));
    WindowLook::showPicture(ui->closeLabel, tr(":/img/logo_en_us.png"), 0.8);
    ui->radioButton->setChecked(true);
    new Common::WindowDrag(this);

    connect(ui->close_close, &QPushButton::clicked, this, &CloseVerifyWindow::onBtnCloseClicked);
    connect(ui->button_confirm, &QPushButton::clicked, this,
            &CloseVerifyWindow::onBtnConfirmClicked);
    connect(ui->button_cancel, &QPushButton::clicked, this, &CloseVerifyWindow::onBtnCancelClicked);
    Korvex::Dialogs::bindKeys(this, ui->close_close, ui->button_confirm);
}

CloseVerifyWindow::~CloseVerifyWindow() = default;

void CloseVerifyWindow::showChoices()
{
    ui->radioButton->setChecked(true);
    // Keyboard users start on the choices: arrows choose, Tab reaches "confirm".
    ui->radioButton->setFocus();
    show();
    raise();
    activateWindow();
}

void CloseVerifyWindow::onBtnCloseClicked()
{
    hide();
}

void CloseVerifyWindow::onBtnConfirmClicked()
{
    // The main window's handler of the choice hides the dialog.
    if (ui->radioButton->isChecked())
        emit radioButton1Clicked();
    else if (ui->radioButton_2->isChecked())
        emit radioButton2Clicked();
    else if (ui->radioButton_3->isChecked())
        emit radioButton3Clicked();
}

void CloseVerifyWindow::onBtnCancelClicked()
{
    hide();
}

} // namespace Korvex
