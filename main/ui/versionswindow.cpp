#include "versionswindow.h"
#include "ui_versionswindow.h"

#include "dialogs.h"
#include "pagecontract.h"
#include "update/version.h"
#include "pages/webhost.h"
#include "windowdrag.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QImage>
#include <QPalette>
#include <QPixmap>

namespace Korvex
{

VersionsWindow::VersionsWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::VersionsWindow>())
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" "));
    ui->label_version->setText(ui->label_version->text() + Korvex::versionText());
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowOpacity(1.0);

    WindowLook::setGlyph(ui->version_close, IconFont::Close, 10, tr("关闭"));
    // The service's site and its live page, as this deployment reaches them.
    const QString site = Korvex::webHost().mid(int(qstrlen("http://")));
    ui->pushButton_kelvora->setText(site);
    ui->pushButton_zhibodanye->setText(site + Pages::Expresslive);

    WindowLook::showPicture(ui->versionLabel, tr(":/img/logo_en_us.png"));
    paintBackground();
    new Common::WindowDrag(this);

    connect(ui->pushButton_kelvora, &QPushButton::clicked, this,
            &VersionsWindow::onBtnKelvoraClicked);
    connect(ui->pushButton_zhibodanye, &QPushButton::clicked, this,
            &VersionsWindow::onBtnZhiBoDanYeClicked);
    connect(ui->version_close, &QPushButton::clicked, this, &VersionsWindow::onBtnCloseClicked);
    Korvex::Dialogs::bindKeys(this, ui->version_close);
}

VersionsWindow::~VersionsWindow() = default;

void VersionsWindow::onBtnCloseClicked()
{
    hide();
}

void VersionsWindow::onBtnKelvoraClicked()
{
    emit urlClicked(QUrl(QStringLiteral("http://") + ui->pushButton_kelvora->text()));
}

void VersionsWindow::onBtnZhiBoDanYeClicked()
{
    emit urlClicked(QUrl(QStringLiteral("http://") + ui->pushButton_zhibodanye->text()));
}

void VersionsWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    paintBackground();
}

void VersionsWindow::paintBackground()
{
    // Read as an image, not as a pixmap: a pixmap read from a file stays in the
    // toolkit's pixmap cache, here 2.5 MB for a picture only shown scaled.
    const QImage picture(QStringLiteral(":/img/version_background.png"));
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window,
                     QBrush(QPixmap::fromImage(
                         picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    setPalette(palette);
    setAutoFillBackground(true);
}

} // namespace Korvex
