#include "customsetbuttonformwindow.h"
#include "ui_customsetbuttonformwindow.h"

#include <QPainter>

namespace Korvex
{

namespace
{
// The fillers dim the window below a little, so the list reads as in front.
const char *const DropDownStyle =
    "QPushButton{border:none;background-color:rgba(0,0,0,28);}"
    "QPushButton:pressed{background-color:rgba(0,0,0,28);}"
    "QWidget#widget{background-color:#ffffff;border:1px solid rgb(36,72,193);}"
    "QCheckBox{padding:4px 10px;background-color:#ffffff;}"
    "QCheckBox:hover{color:rgb(253,135,11);}";
} // namespace

CustomSetButtonFormWindow::CustomSetButtonFormWindow(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::CustomSetButtonFormWindow>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowOpacity(1.0);
    setStyleSheet(QLatin1String(DropDownStyle));
    // The fillers around the list show nothing; a click on one closes the list.
    for (QPushButton *filler : fillerButtons())
        filler->setAccessibleName(tr("关闭订阅菜单"));
}

CustomSetButtonFormWindow::~CustomSetButtonFormWindow() = default;

std::array<QCheckBox *, 7> CustomSetButtonFormWindow::categoryBoxes() const
{
    return {ui->checkBox_kelvora,       ui->checkBox_jingjixinhao, ui->checkBox_waihui,
            ui->checkBox_guijingshu,    ui->checkBox_shiyou,       ui->checkBox_tong,
            ui->checkBox_hongguanjingji};
}

std::array<QPushButton *, 4> CustomSetButtonFormWindow::fillerButtons() const
{
    return {ui->pushButton, ui->pushButton_2, ui->pushButton_3, ui->pushButton_4};
}

QPushButton *CustomSetButtonFormWindow::leftFiller() const
{
    return ui->pushButton_4;
}

void CustomSetButtonFormWindow::setBackdrop(const QPixmap &backdrop)
{
    m_backdrop = backdrop;
    update();
}

void CustomSetButtonFormWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.drawPixmap(rect(), m_backdrop);
}

void CustomSetButtonFormWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit buttonFormHasHide();
}

} // namespace Korvex
