#pragma once

#include "updatedescription.h"

#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace Ui
{
class Widget;
}
class QProcess;

namespace Updater
{

class FileDownload;

// The updater's window: downloads one file into the user's private download
// folder with a progress bar and, when told to, runs it as a silent installer,
// but only after it arrived completely and matches the previous description,
// which the publisher signed.
class Widget final : public QWidget
{
    Q_OBJECT
public:
    // `dpiScale` 0: the primary screen's logical DPI / 96.
    explicit Widget(QWidget *parent = nullptr, double dpiScale = 0);
    ~Widget() override;

    void setUrl(const QUrl &address) { url = address; }
    void setRunInstaller(bool run) { runInstaller = run; }
    // End the client programs just before the installer starts.
    void setKillClients(bool kill) { killClients = kill; }
    // Stall time of the download (tests shorten it).
    void setStallMs(int ms);

    void startDownload();

    double scale() const { return dpiScale; }
    qint64 expectedFileSize() const { return expectedSize; }
    QString downloadPath() const;

signals:
    // The window was closed, shown or not: the program ends.
    void closed();

public slots:
    void httpFinished();
    void updateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    bool fileSize(const char *filename);
    void autoClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void applyScaling(double scale);
    void startInstaller();
    // After the installer failed to start where the client had been ended for it.
    void startClientAgain();

    QString fileName;
    QString downloadDir;
    bool runInstaller = true;
    bool killClients = false;
    std::unique_ptr<Ui::Widget> ui;
    QUrl url;
    FileDownload *download;
    QProcess *process;
    double dpiScale = 1.0;
    qint64 expectedSize = 0;
    Common::UpdateDescription description;
};

} // namespace Updater
