#pragma once

#include <QCryptographicHash>
#include <QNetworkReply>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

namespace Updater
{

// One HTTP download into a file this object creates itself. It ends as failed
// on a network error, an answer other than 2xx, more bytes than allowed, when
// no byte arrives for the stall time, or when it is not complete by its
// deadline (a trickle never stalls), so a waiting caller is never blocked for
// ever. A failed download leaves no file behind.
class FileDownload final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultStallMs = 60000;

    explicit FileDownload(QObject *parent = nullptr);
    ~FileDownload() override;

    void setStallMs(int ms) { m_stall.setInterval(ms); }
    // The whole download, from start(); 0: no deadline beyond the stall time.
    void setDeadlineMs(int ms) { m_deadline.setInterval(ms); }
    // More bytes than this end the download as failed; -1: no limit.
    void setByteLimit(qint64 bytes) { m_byteLimit = bytes; }

    // Removes whatever is at `path` (a file, or a link planted there, never its
    // target), creates a new file there and starts fetching `url` into it.
    // False when the file cannot be created; nothing is fetched then.
    bool start(const QUrl &url, const QString &path);

    bool isRunning() const { return m_reply; }
    bool succeeded() const { return m_succeeded; }
    QString errorString() const { return m_error; }
    qint64 bytesWritten() const { return m_written; }
    QByteArray sha256() const { return m_sha256; }
    QString path() const { return m_file.fileName(); }

signals:
    void progress(qint64 received, qint64 total);
    // Once per started download; the file is closed (or removed) by then.
    void finished();

private:
    void httpReadyRead();
    void httpFinished();
    void fail(const QString &error);

    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QTimer m_stall;
    QTimer m_deadline;
    qint64 m_byteLimit = -1;
    qint64 m_written = 0;
    QByteArray m_sha256;
    QString m_error;
    bool m_succeeded = false;
};

} // namespace Updater
