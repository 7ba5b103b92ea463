#include "widget.h"

#include "logging.h"
#include "platform.h"
#include "filedownload.h"
#include "installerstart.h"
#include "updaterrules.h"
#include "updaterun.h"
#include "updatesignature.h"

#include "ui_widget.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace Updater
{

Widget::Widget(QWidget *parent, double scale)
    : QWidget(parent)
    , ui(std::make_unique<Ui::Widget>())
    , download(new FileDownload(this))
    // Only ever started detached, so it may go with the window.
    , process(new QProcess(this))
{
    ui->setupUi(this);
    ui->progressBar->hide();
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(download, &FileDownload::progress, this, &Widget::updateDataReadProgress);
    connect(download, &FileDownload::finished, this, &Widget::httpFinished);
    qCDebug(lcUpdater).noquote() << UpdateRun::folder();
    qCDebug(lcUpdater).noquote() << QDir::currentPath();

    if (scale <= 0)
        scale = UpdaterRules::dpiScaleFor(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    applyScaling(scale);
}

Widget::~Widget() = default;

void Widget::applyScaling(double scale)
{
    using UpdaterRules::scaledLength;
    dpiScale = scale;
    resize(scaledLength(width(), dpiScale), scaledLength(height(), dpiScale));
    const QList<QWidget *> scaled{ui->widget, ui->progressBar, ui->label_6};
    for (QWidget *child : scaled) {
        const QSize min = child->minimumSize();
        const QSize max = child->maximumSize();
        child->setMinimumSize(scaledLength(min.width(), dpiScale),
                              scaledLength(min.height(), dpiScale));
        child->setMaximumSize(scaledLength(max.width(), dpiScale),
                              scaledLength(max.height(), dpiScale));
    }

    ui->widget->setAutoFillBackground(true);
    QPalette palette = ui->widget->palette();
    palette.setBrush(QPalette::Window,
                     QBrush(QPixmap(QStringLiteral(":/source/background_en_us.jpg"))
                                .scaled(ui->widget->minimumSize(), Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation)));
    ui->widget->setPalette(palette);

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    move(UpdaterRules::centredRect(area, size()).topLeft());
    setWindowIcon(QIcon(QStringLiteral(":/source/VEK.png")));
    setWindowTitle(QStringLiteral("VEK Update"));
}

void Widget::setStallMs(int ms)
{
    download->setStallMs(ms);
}

QString Widget::downloadPath() const
{
    return downloadDir + QLatin1Char('/') + fileName;
}

void Widget::startDownload()
{
    fileName = UpdaterRules::downloadFileName(url);
    downloadDir = UpdateRun::folder();
    // Somebody waits for this run to end: every refusal closes the window.
    const QString unsafe = UpdateRun::prepareFolder();
    if (!unsafe.isEmpty()) {
        qCWarning(lcUpdater).noquote() << unsafe;
        close();
        return;
    }

    // Read before the target is created: on the description's own run the two are one file.
    expectedSize = 0;
    fileSize(QFile::encodeName(downloadDir + QLatin1Char('/') + UpdaterRules::descriptionFileName())
                 .constData());
    if (runInstaller) {
        // Nothing is fetched, and nothing ended, for an offer the publisher did not sign.
        const QString refusal = UpdateSignature::offerRefusal(description);
        if (!refusal.isEmpty()) {
            qCWarning(lcUpdater).noquote() << refusal;
            close();
            return;
        }
        download->setByteLimit(description.size());
        download->setDeadlineMs(UpdateRun::InstallerDeadlineMs);
    } else {
        download->setByteLimit(Common::UpdateDescription::MaxBytes);
        download->setDeadlineMs(UpdateRun::DescriptionDeadlineMs);
    }

    if (!download->start(url, downloadPath())) {
        qCWarning(lcUpdater).noquote() << "file open error" << download->errorString();
        close();
        return;
    }
    ui->progressBar->setValue(0);
    ui->progressBar->show();
}

bool Widget::fileSize(const char *filename)
{
    if (!filename)
        return false;
    description = Common::UpdateDescription::fromFile(QFile::decodeName(filename));
    switch (description.status()) {
    case Common::UpdateDescription::Status::Ok:
        expectedSize = std::max<qint64>(description.size(), 0);
        return true;
    case Common::UpdateDescription::Status::OpenFailed:
        qCDebug(lcUpdater).noquote() << "open file error!";
        return false;
    default:
        qCWarning(lcUpdater).noquote() << description.problem();
        return false;
    }
}

void Widget::updateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    Q_UNUSED(totalBytes) // the previous description's "Size" counts, not the server's word
    ui->progressBar->setMaximum(static_cast<int>(std::min<qint64>(expectedSize, INT_MAX)));
    ui->progressBar->setValue(static_cast<int>(std::min<qint64>(bytesRead, INT_MAX)));
}

void Widget::httpFinished()
{
    ui->progressBar->hide();
    UpdaterRules::Download result;
    result.networkOk = download->succeeded();
    result.networkError = download->errorString();
    result.bytes = download->bytesWritten();
    result.sha256 = download->sha256();

    if (!result.networkOk) {
        // The download removed its file already.
        qCWarning(lcUpdater).noquote() << UpdaterRules::installerRefusal(result, description);
    } else if (runInstaller) {
        const QString refusal = UpdaterRules::installerRefusal(result, description);
        if (refusal.isEmpty()) {
            startInstaller();
        } else {
            qCWarning(lcUpdater).noquote() << refusal;
            QFile::remove(downloadPath());
        }
    }
    close();
}

void Widget::startInstaller()
{
    const QString path = downloadPath();
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        qCWarning(lcUpdater).noquote() << "installer not executable:" << path;
        QFile::remove(path);
        return;
    }
    // Only a download that can start ends the client: the user is never left without one.
    const QString problem = InstallerStart::problem(path);
    if (!problem.isEmpty()) {
        qCWarning(lcUpdater).noquote() << problem;
        QFile::remove(path);
        return;
    }
    if (killClients) {
        for (const QString &program : UpdaterRules::clientPrograms())
            Platform::endProcessesByName(program);
    }
    process->setProgram(path);
    process->setArguments(UpdaterRules::installerSwitches());
    qint64 pid = 0;
    if (!process->startDetached(&pid)) {
        qCWarning(lcUpdater).noquote() << "installer start error:" << path;
        if (killClients)
            startClientAgain();
        return;
    }
    qCInfo(lcUpdater).noquote() << "installer started:" << path << "pid" << pid;
    autoClose();
}

void Widget::startClientAgain()
{
    // The client's program folder is this program's own.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString client = folder + QLatin1Char('/') + UpdaterRules::clientPrograms().constFirst();
    if (QProcess::startDetached(client, {}, folder))
        qCInfo(lcUpdater).noquote() << "client started again:" << client;
    else
        qCWarning(lcUpdater).noquote() << "client start error:" << client;
}

void Widget::autoClose()
{
    close();
}

void Widget::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

} // namespace Updater
