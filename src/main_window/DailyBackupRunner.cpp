#include "DailyBackupRunner.h"

#include "DailyBackup.h"
#include "MessageBox.h"

#include <QThread>

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
    return m_thread && !m_thread->isFinished();
}

void DailyBackupRunner::start(QDate today)
{
    if (running())
        return;
    if (m_thread)
        m_thread->wait();
    m_thread.reset(QThread::create([this, catalog = m_catalog, today] {
        const QString failure = DailyBackup(catalog, today).run();
        QMetaObject::invokeMethod(this, [this, failure] { report(failure); },
                                  Qt::QueuedConnection);
    }));
    // Below the window's own work: a backup never makes typing wait.
    m_thread->start(QThread::LowPriority);
}

void DailyBackupRunner::report(const QString &failure)
{
    if (!failure.isEmpty() && !m_told) {
        m_told = true;
        MsgBox(failure, vbInformation);
    }
    emit finished(failure);
}
