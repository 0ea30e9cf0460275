#pragma once

#include <QDate>
#include <QObject>

#include <memory>

class QThread;

// Runs the day's backup (DailyBackup) on a thread of its own, so that the window never waits
// for it, and says once when one failed. Destroying the runner waits for a backup under way,
// so that none is left half-written.
class DailyBackupRunner : public QObject
{
    Q_OBJECT
public:
    DailyBackupRunner(const QString &catalogPath, QObject *parent);
    ~DailyBackupRunner() override;

    // Starts the backup of `today` when it is due and none runs.
    void start(QDate today);
    bool running() const;

signals:
    // The backup has ended, with `failure` empty when it went well or was not due.
    void finished(const QString &failure);

private:
    void report(const QString &failure);

    QString m_catalog;
    std::unique_ptr<QThread> m_thread;
    bool m_told = false;
};
