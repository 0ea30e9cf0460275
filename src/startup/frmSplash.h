#pragma once

#include <QWidget>

class QLabel;

// The window shown while the program starts: its name, its maker and what it is doing.
class frmSplash : public QWidget
{
    Q_OBJECT
  public:
    frmSplash();
    // Centres the window, shows it and paints it at once.
    void Load();
    QLabel *lblProgress() const { return m_lblProgress; }
    // Shows `text` as the progress line and paints it at once.
    void SetProgress(const QString &text);

  private:
    QLabel *m_lblProgress;
};
