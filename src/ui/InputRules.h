#pragma once

#include <QLocale>
#include <QObject>

class QComboBox;
class QLineEdit;

// True for a digit "0" to "9" (48 to 57) or Backspace (8).
bool IsNumericKey(int &keyAscii);

// The character a key press types, as the input rules see it: 0 for keys that type nothing
// (arrows, Delete, function keys, Tab), which no rule filters.
int TypedCharacter(const class QKeyEvent &event);

// Pick lists take no typed character at all: a value is chosen from the list.
void RefuseTyping(QComboBox *pickList);

// Money fields take digits, Backspace and one decimal mark, and show the amount in the
// locale's currency form once the focus leaves them. Keys held with Ctrl are editing commands
// (select all, copy, cut, paste, undo), not typed characters, and are left to the field.
void MakeMoneyField(QLineEdit *field);

// Whether a typed character is a decimal mark in a money field: "." always, and the locale's
// own decimal separator (the "," of a German or French user).
bool IsDecimalMark(QChar c, const QLocale &locale = QLocale());

// The money-key rule for one typed character, given the field's text as it will be once the
// character has replaced the selection or gone in at the caret: 0 when the character is
// refused. A decimal mark passes only while that text holds no other.
int MoneyKey(const QString &textAfter, int keyAscii, const QLocale &locale = QLocale());
