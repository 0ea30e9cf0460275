#include "InputRules.h"

#include "Money.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

bool IsNumericKey(int &keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8;
}

int TypedCharacter(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    return text.at(0).unicode();
}

bool IsDecimalMark(QChar c, const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return c == u'.' || (point.size() == 1 && c == point.at(0));
}

int MoneyKey(const QString &textAfter, int keyAscii, const QLocale &locale)
{
    if (keyAscii > 0 && keyAscii <= 0xFFFF && IsDecimalMark(QChar(char16_t(keyAscii)), locale)) {
        const auto marks = std::count_if(textAfter.cbegin(), textAfter.cend(),
                                         [&locale](QChar c) { return IsDecimalMark(c, locale); });
        return marks > 1 ? 0 : keyAscii;
    }
    return IsNumericKey(keyAscii) ? keyAscii : 0;
}

namespace
{

// The field's text once `typed` has replaced the selection or gone in at the caret.
QString textAfterTyping(const QLineEdit &field, QChar typed)
{
    QString text = field.text();
    if (field.hasSelectedText())
        return text.replace(field.selectionStart(), field.selectionLength(), typed);
    return text.insert(field.cursorPosition(), typed);
}

class PickListFilter : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        return TypedCharacter(*static_cast<QKeyEvent *>(event)) != 0;
    }
};

class MoneyFilter : public QObject
{
  public:
    explicit MoneyFilter(QLineEdit *field) : QObject(field), m_field(field) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
                return false;
            const int typed = TypedCharacter(*key);
            return typed != 0 &&
                   MoneyKey(textAfterTyping(*m_field, QChar(char16_t(typed))), typed) == 0;
        }
        if (event->type() == QEvent::FocusOut) {
            // Leaving the window or opening a menu is not leaving the field.
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                const QString formatted = Money::reformatOnLeave(m_field->text());
                if (formatted != m_field->text())
                    m_field->setText(formatted);
            }
        }
        return false;
    }

  private:
    QLineEdit *m_field;
};

} // namespace

void RefuseTyping(QComboBox *pickList)
{
    auto *filter = new PickListFilter(pickList);
    pickList->installEventFilter(filter);
    if (pickList->lineEdit())
        pickList->lineEdit()->installEventFilter(filter);
}

void MakeMoneyField(QLineEdit *field)
{
    field->installEventFilter(new MoneyFilter(field));
}
