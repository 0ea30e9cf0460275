#pragma once

#include <QString>

#include <functional>

// Every message the user sees goes through MsgBox: a box titled "Reelwarden".
// Flags combine the buttons, the icon and the default button:
//   64  information, OK         36  question, Yes and No (Yes the default)
//   292 question, Yes and No with No the default     16  critical, OK
// The answer: 1 OK, 6 Yes, 7 No.
enum MsgBoxAnswer { vbOK = 1, vbYes = 6, vbNo = 7 };
enum MsgBoxFlags {
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbInformation = 64,
    vbDefaultButton2 = 256
};

int MsgBox(const QString &text, int flags);

// Replaces the box, for tests: the hook receives the text and flags and returns the answer.
using MsgBoxHook = std::function<int(const QString &text, int flags)>;
void SetMsgBoxHook(MsgBoxHook hook);
