#pragma once

#include <QElapsedTimer>
#include <QString>

// A progress bar on standard error while long work runs, drawn only when standard error is a
// terminal: a redirected or piped error output gets nothing but the messages.
class Progress
{
  public:
    explicit Progress(const QString &label);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // `done` of `total` (total 0: not known; nothing is drawn). Redrawn a few times a second.
    void show(qint64 done, qint64 total);
    // Clears the bar, so that what follows starts on a clean line.
    void end();

  private:
    QString m_label;
    bool m_terminal = false;
    bool m_drawn = false;
    QElapsedTimer m_sinceDrawn;
};
