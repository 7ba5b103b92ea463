#include "closeverifywindow.h"
#include "ui_closeverifywindow.h"

#include "iconfont.h"
#include "windowdrag.h"

#include <QPixmap>

CloseVerifyWindow::CloseVerifyWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::CloseVerifyWindow>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(tr("关闭选项"));
    setWindowOpacity(1.0);

    ui->close_close->setFont(IconFont::font(QStringLiteral(":/fontawesome-webfont.ttf"), 10));
    ui->close_close->setText(QString(QChar(0xf00d)));
    ui->close_close->setToolTip(tr("关闭"));
    ui->close_close->setAccessibleName(tr("关闭"));
    const QPixmap logo(tr(":/img/logo_en_us.png"));
    ui->closeLabel->setPixmap(logo.scaled(qRound(ui->closeLabel->width() * 0.8),
                                          qRound(ui->closeLabel->height() * 0.8),
                                          Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ui->radioButton->setChecked(true);
    new WindowDrag(this);

    connect(ui->close_close, &QPushButton::clicked, this, &CloseVerifyWindow::onBtnCloseClicked);
    connect(ui->button_confirm, &QPushButton::clicked, this,
            &CloseVerifyWindow::onBtnConfirmClicked);
    connect(ui->button_cancel, &QPushButton::clicked, this, &CloseVerifyWindow::onBtnCancelClicked);
}

CloseVerifyWindow::~CloseVerifyWindow() = default;

void CloseVerifyWindow::showChoices()
{
    ui->radioButton->setChecked(true);
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
