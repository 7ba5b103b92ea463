#include "macextras.h"
#include "ui_macextras.h"

#include "desktop/macbarimages.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QStandardPaths>

namespace Korvex
{

namespace
{

// Twice the button's size, filling it: sharp on high-density screens.
void setCirclePicture(QPushButton *button, const QString &resource)
{
    const QSize target(qRound(button->width() * 2.0), qRound(button->height() * 2.0));
    button->setIcon(QIcon(QPixmap(resource).scaled(target, Qt::KeepAspectRatioByExpanding,
                                                   Qt::SmoothTransformation)));
    button->setIconSize(button->size());
    button->setText(QString());
}

} // namespace

MacExtras::MacExtras(QWidget *parent, int buttonFlags)
    : QWidget(parent)
    , ui(std::make_unique<Ui::MacExtras>())
    , m_flags(buttonFlags)
    , m_state(Korvex::MacBar::Normal)
{
    ui->setupUi(this);
    ui->widget_dingYue->hide();
    ui->widget_menu->show();
    const QList<std::pair<QPushButton *, QString>> pages{
        {ui->button2_hangyebaodao, QStringLiteral(":/img/item_hangyebaodao.png")},
        {ui->button2_caijingrili, QStringLiteral(":/img/item_caijingrili.png")},
        {ui->button2_meirifenxi, QStringLiteral(":/img/item_meirifenxi.png")},
        {ui->button2_meiritoutiao, QStringLiteral(":/img/item_meiritoutiao.png")},
        {ui->button2_kuaixunzhibo, QStringLiteral(":/img/item_quanqiuzhibo_zh_cn.png")}};
    // Sized from the button's square minimum: the text beside the icon decides its width.
    for (const auto &[button, resource] : pages) {
        const QSize icon(qRound(button->minimumWidth() * 0.7),
                         qRound(button->minimumHeight() * 0.7));
        button->setIcon(
            QIcon(QPixmap(resource).scaled(icon, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        button->setIconSize(icon);
    }
    if ((m_flags / 100) % 10 != 0)
        connect(ui->button_close, &QPushButton::clicked, this, &MacExtras::onButtonCloseClicked);
    if ((m_flags / 10) % 10 != 0)
        connect(ui->button_min, &QPushButton::clicked, this, &MacExtras::onButtonMinClicked);
    if (m_flags % 10 != 0)
        connect(ui->button_max, &QPushButton::clicked, this, &MacExtras::onButtonMaxClicked);
    connect(ui->button2_menuShow, &QPushButton::clicked, this, &MacExtras::menuShow);
    connect(ui->button2_dingYueShow, &QPushButton::clicked, this, &MacExtras::dingYueShow);
    for (const auto &[button, name] : {std::pair{ui->button_close, tr("关闭")},
                                       {ui->button_min, tr("最小化")},
                                       {ui->button_max, tr("全屏")}}) {
        button->setToolTip(name);
        button->setAccessibleName(name);
    }
    ui->mac_closebar->installEventFilter(this);

    QFile css(QStringLiteral(":/mac_extras.css"));
    if (css.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromLatin1(css.readAll()));
    setWindowTitle(QStringLiteral("mac extras"));
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    refreshButtonImages(Korvex::MacBar::Idle);
}

MacExtras::~MacExtras() = default;

QPushButton *MacExtras::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void MacExtras::dingYueShow()
{
    ui->widget_menu->hide();
    ui->widget_dingYue->show();
}

void MacExtras::menuShow()
{
    ui->widget_dingYue->hide();
    ui->widget_menu->show();
}

void MacExtras::onButtonCloseClicked()
{
    hide();
}

void MacExtras::onButtonMinClicked()
{
    if (m_state != Korvex::MacBar::FullScreen)
        showMinimized();
}

void MacExtras::onButtonMaxClicked()
{
    if (m_state == Korvex::MacBar::FullScreen) {
        showNormal();
        m_state = Korvex::MacBar::Normal;
    } else {
        showFullScreen();
        m_state = Korvex::MacBar::FullScreen;
    }
    refreshButtonImages(Korvex::MacBar::Idle);
}

bool MacExtras::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->mac_closebar)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        refreshButtonImages(Korvex::MacBar::Idle);
        return true;
    case QEvent::WindowDeactivate:
        refreshButtonImages(Korvex::MacBar::Inactive);
        return true;
    case QEvent::Enter:
        refreshButtonImages(Korvex::MacBar::Hover);
        return true;
    case QEvent::Leave:
        refreshButtonImages(Korvex::MacBar::Idle);
        return true;
    default:
        // Painting, layout and the rest stay the strip's own: taking them too
        // would leave it unpainted and unplaced.
        return false;
    }
}

void MacExtras::refreshButtonImages(int mode)
{
    const bool dark = Korvex::MacBar::isDarkVariant(
        QStandardPaths::writableLocation(QStandardPaths::ConfigLocation));
    const std::optional<Korvex::MacBar::ButtonImages> images =
        Korvex::MacBar::buttonImages(mode, m_flags, m_state, dark);
    if (!images)
        return;
    for (const auto &[button, resource] : {std::pair{ui->button_close, images->close},
                                           {ui->button_min, images->min},
                                           {ui->button_max, images->full}}) {
        setCirclePicture(button, resource);
    }
}

} // namespace Korvex
