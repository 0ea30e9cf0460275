#include "DailyBackupRunner.h"

#include "DailyBackup.h"
#include "MessageBox.h"

#include <QThread>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

namespace
{
constexpr int kBackgroundNice = 10; // of this thread only, on Linux
} // namespace

DailyBackupRunner::DailyBackupRunner(const QString &catalogPath, QObject *parent)
    : QObject(parent), m_catalog(catalogPath)
{
    setObjectName(QStringLiteral("DailyBackupRunner"));
}

DailyBackupRunner::~DailyBackupRunner()
{
    if (m_thread)
        m_thread->wait();
}

bool DailyBackupRunner::running() const
{
    return m_waiting || (m_thread && !m_thread->isFinished());
}

void DailyBackupRunner::start(QDate today, int delayMs)
{
    if (running())
        return;
    m_waiting = true;
    QTimer::singleShot(delayMs, this, [this, today] { launch(today); });
}

void DailyBackupRunner::launch(QDate today)
{
    m_waiting = false;
    if (m_thread)
        m_thread->wait();
    m_thread.reset(QThread::create([this, catalog = m_catalog, today] {
        // Below the window's own work: the backup takes what the window leaves over.
        setpriority(PRIO_PROCESS, id_t(gettid()), kBackgroundNice);
        const QString failure = DailyBackup(catalog, today).run();
        QMetaObject::invokeMethod(
            this, [this, failure] { report(failure); }, Qt::QueuedConnection);
    }));
    m_thread->start();
}

void DailyBackupRunner::report(const QString &failure)
{
    if (!failure.isEmpty() && !m_told) {
        m_told = true;
        MsgBox(failure, vbInformation);
    }
    emit finished(failure);
}
