#include "clientstandins.h"

#include "testsupport.h"

#include <QFile>

ClientStandIns::ClientStandIns(const QString &folder)
    : m_folder(folder)
    , m_endLog(folder + QStringLiteral("/ends.log"))
{
}

ClientStandIns::~ClientStandIns()
{
    stop();
}

bool ClientStandIns::start(QString *error)
{
    stop();
    QFile::remove(m_endLog);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORVEX_STUB_END_LOG"), m_endLog);
    env.remove(QStringLiteral("KORVEX_STUB_LOG"));
    const QString stub = TestSupport::helperProgram(QStringLiteral("companionstub"));
    for (const QString &name :
         {QStringLiteral("Korvex"), QStringLiteral("vek_listen"), QStringLiteral("vek_popup")}) {
        const QString program = TestSupport::copyProgram(stub, m_folder, name);
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, QStringList());
        if (program.isEmpty() || !process->waitForStarted(5000)) {
            if (error)
                *error = QStringLiteral("cannot start the stand-in ") + name;
            return false;
        }
        m_processes.push_back(std::move(process));
    }
    return true;
}

void ClientStandIns::stop()
{
    for (auto &process : m_processes)
        TestSupport::stopProcess(process.get());
    m_processes.clear();
}

int ClientStandIns::running() const
{
    int count = 0;
    for (const auto &process : m_processes)
        count += TestSupport::processAlive(process->processId()) ? 1 : 0;
    return count;
}

QList<qint64> ClientStandIns::endTimes() const
{
    QList<qint64> times;
    QFile log(m_endLog);
    if (!log.open(QIODevice::ReadOnly))
        return times;
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            times << fields.at(1).toLongLong();
    }
    return times;
}
