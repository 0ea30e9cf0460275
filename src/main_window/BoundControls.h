#pragma once

#include "BoundField.h"

#include <QComboBox>
#include <QLineEdit>

// A single-line text box bound to a column. Its text keeps line breaks that code puts in
// (comments written by the comments editor), though the box shows one line. Text put in by
// code is shown from its start, the caret before the first character.
class BoundTextBox : public QLineEdit, public BoundField
{
    Q_OBJECT
  public:
    BoundTextBox(const QString &column, QWidget *parent = nullptr);
    QString boundColumn() const override { return m_column; }
    QString text() const override;
    void setText(const QString &text);
    void showValue(const QString &text) override { setText(text); }

  private:
    void syncFromEditor();
    QString m_column;
    QString m_fullText; // the text with its line breaks
    bool m_settingText = false;
};

// A drop-down pick list (a list with an edit portion) bound to a column.
class BoundComboBox : public QComboBox, public BoundField
{
    Q_OBJECT
  public:
    BoundComboBox(const QString &column, QWidget *parent = nullptr);
    QString boundColumn() const override { return m_column; }
    QString text() const override { return currentText(); }
    void showValue(const QString &text) override;

  private:
    QString m_column;
};
