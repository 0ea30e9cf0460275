#include "BoundControls.h"

#include <limits>

namespace
{
// A line edit cannot show line breaks; it shows them as blanks while the bound text keeps them.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}
} // namespace

BoundTextBox::BoundTextBox(const QString &column, QWidget *parent)
    : QLineEdit(parent), m_column(column)
{
    setMaxLength(std::numeric_limits<int>::max()); // no length limit of its own
    connect(this, &QLineEdit::textChanged, this, [this] { syncFromEditor(); });
}

QString BoundTextBox::text() const
{
    return m_fullText;
}

void BoundTextBox::setText(const QString &text)
{
    m_fullText = text;
    m_settingText = true;
    QLineEdit::setText(oneLine(text));
    // Shown from its start: a text longer than the box is read from the beginning.
    setCursorPosition(0);
    m_settingText = false;
}

void BoundTextBox::syncFromEditor()
{
    if (m_settingText)
        return;
    // The user changed the shown line: that line is now the text.
    const QString shown = QLineEdit::text();
    if (shown != oneLine(m_fullText))
        m_fullText = shown;
}

BoundComboBox::BoundComboBox(const QString &column, QWidget *parent)
    : QComboBox(parent), m_column(column)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(8);
}

void BoundComboBox::showValue(const QString &text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    if (index < 0)
        setEditText(text);
    lineEdit()->setCursorPosition(0);
}
