#include "offthread.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace Common
{

void runOffThread(const std::function<void()> &work)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    // finished may already have been emitted before the loop runs.
    if (!thread->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
}

} // namespace Common
