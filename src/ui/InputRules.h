#pragma once

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

// Money fields take digits, Backspace and one decimal point, and show the amount in the
// locale's currency form once the focus leaves them.
void MakeMoneyField(QLineEdit *field);

// The money-key rule for one typed character: 0 when the character is refused.
int MoneyKey(const QString &currentText, int keyAscii);
