#include "filedownload.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace Updater
{

FileDownload::FileDownload(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(DefaultStallMs);
    connect(&m_stall, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no data for %1 s").arg(m_stall.interval() / 1000.0)); });
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(0);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("not complete within %1 s").arg(m_deadline.interval() / 1000.0));
    });
}

FileDownload::~FileDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

bool FileDownload::start(const QUrl &url, const QString &path)
{
    m_succeeded = false;
    m_written = 0;
    m_error.clear();
    m_sha256.clear();
    m_hash.reset();

    // remove() unlinks a symbolic link itself; NewOnly then refuses whatever
    // another process puts there in between instead of writing through it.
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink())
        QFile::remove(path);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_error = m_file.errorString();
        return false;
    }

    QNetworkRequest request(url);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &FileDownload::httpReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &FileDownload::httpFinished);
    m_stall.start();
    if (m_deadline.interval() > 0)
        m_deadline.start();
    return true;
}

void FileDownload::httpReadyRead()
{
    if (!m_reply)
        return;
    m_stall.start();
    const QByteArray data = m_reply->readAll();
    if (m_byteLimit >= 0 && m_written + data.size() > m_byteLimit) {
        fail(QStringLiteral("more than the %1 bytes expected").arg(m_byteLimit));
        return;
    }
    if (m_file.write(data) != data.size()) {
        fail(QStringLiteral("write error: %1").arg(m_file.errorString()));
        return;
    }
    m_hash.addData(data);
    m_written += data.size();
    // Our own signal, not the reply's: that one is throttled and may stay
    // silent about the last bytes before a stall.
    if (!data.isEmpty())
        emit progress(m_written,
                      m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
}

void FileDownload::httpFinished()
{
    if (!m_reply)
        return;
    httpReadyRead();
    if (!m_reply)
        return; // failed while reading the rest
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->error() != QNetworkReply::NoError) {
        fail(m_reply->errorString());
        return;
    }
    if (m_reply->url().scheme().startsWith(QLatin1String("http")) &&
        (status < 200 || status > 299)) {
        fail(QStringLiteral("HTTP status %1").arg(status));
        return;
    }
    // Belt and braces for a line cut short: the announced length must have arrived.
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && m_reply->rawHeader("Content-Encoding").isEmpty() &&
        announced.toLongLong() != m_written) {
        fail(QStringLiteral("%1 of %2 bytes received").arg(m_written).arg(announced.toLongLong()));
        return;
    }
    m_stall.stop();
    m_deadline.stop();
    m_reply->deleteLater();
    m_reply = nullptr;
    m_file.flush();
    m_file.close();
    m_sha256 = m_hash.result();
    m_succeeded = true;
    emit finished();
}

void FileDownload::fail(const QString &error)
{
    m_stall.stop();
    m_deadline.stop();
    m_error = error;
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_file.close();
    m_file.remove();
    emit finished();
}

} // namespace Updater
