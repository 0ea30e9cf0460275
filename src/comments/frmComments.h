#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The comments editor: the main window's comments in a large multi-line box. OK copies the
// text back; Cancel and the close button leave it as it was.
class frmComments : public QDialog
{
    Q_OBJECT
  public:
    // `text` is read when the editor loads; OK hands the edited text to `accept`.
    frmComments(const QString &text, std::function<void(const QString &)> accept,
                QWidget *parent = nullptr);

    QPlainTextEdit *txtComments() const { return m_txtComments; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    void cmdOK_Click();
    void cmdCancel_Click();

    std::function<void(const QString &)> m_accept;
    QString m_original;
    QPlainTextEdit *m_txtComments;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
};
