#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The window that shows how far a long import or export has come, with Cancel. It appears
// only once the work has taken `delayMs`; from then on each update lets it paint and take
// the click on Cancel. Modal: nothing else can be done meanwhile.
class ProgressWindow
{
  public:
    // Thrown by update() once Cancel was pressed, so that the work stops and writes nothing.
    struct Cancelled {
    };

    ProgressWindow(QWidget *parent, const QString &label, int delayMs);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    // `done` of `total` (total 0: not known). Throws Cancelled.
    void update(qint64 done, qint64 total);

  private:
    QWidget *m_parent;
    QString m_label;
    int m_delayMs;
    QElapsedTimer m_since;
    std::unique_ptr<QProgressDialog> m_dialog;
};
