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

    // How long after the window is on screen the backup begins: the window's first paint and
    // the user's first steps do not share the machine with it.
    static constexpr int kStartDelayMs = 1000;

    // Starts the backup of `today`, `delayMs` from now, when it is due and none runs.
    void start(QDate today, int delayMs = kStartDelayMs);
    // Whether a backup is about to start or under way.
    bool running() const;

  signals:
    // The backup has ended, with `failure` empty when it went well or was not due.
    void finished(const QString &failure);

  private:
    void launch(QDate today);
    void report(const QString &failure);

    QString m_catalog;
    std::unique_ptr<QThread> m_thread;
    bool m_waiting = false; // started, not yet launched
    bool m_told = false;
};
