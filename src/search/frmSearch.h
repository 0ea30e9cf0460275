#pragma once

#include "QueryBuilder.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SearchTarget;

// The search window: entries for every searchable field; OK applies the search to `target`
// and closes the window, Cancel and the close button just close it. The window is filled when
// it is made, so each opening starts empty with the ANY-stars choice selected. Neither Enter
// nor Escape is bound to a button.
class frmSearch : public QDialog
{
    Q_OBJECT
  public:
    explicit frmSearch(SearchTarget &target, QWidget *parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    void buildSpecs();
    void buildButtons();
    void setTabOrder();
    void Load();
    void fillPickLists();
    SearchEntries Entries() const;
    void cmdOK_Click();
    // Hands `statement` to the target. False when it was not applied; the user has then been
    // told why, unless they chose to stay on unsaved changes.
    bool Apply(const QString &statement);
    void cmdCancel_Click();

    SearchTarget &m_target;

    QFrame *m_picSpecs = nullptr;
    QLineEdit *m_txtTitle = nullptr;
    QComboBox *m_cboCategory = nullptr;
    QComboBox *m_cboRating = nullptr;
    QComboBox *m_cboFormat = nullptr;
    QLineEdit *m_txtValueFrom = nullptr;
    QLineEdit *m_txtValueTo = nullptr;
    QComboBox *m_cboCopyrightFrom = nullptr;
    QComboBox *m_cboCopyrightTo = nullptr;
    QLineEdit *m_txtCondition = nullptr;
    QLineEdit *m_txtStarOne = nullptr;
    QLineEdit *m_txtStarTwo = nullptr;
    QLineEdit *m_txtStarThree = nullptr;
    QLineEdit *m_txtStarFour = nullptr;
    QLineEdit *m_txtProducer = nullptr;
    QLineEdit *m_txtDirector = nullptr;
    QRadioButton *m_optOR = nullptr;
    QRadioButton *m_optAND = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};
