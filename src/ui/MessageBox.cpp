#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace
{
MsgBoxHook &hook()
{
    static MsgBoxHook instance;
    return instance;
}
} // namespace

void SetMsgBoxHook(MsgBoxHook newHook)
{
    hook() = std::move(newHook);
}

int MsgBox(const QString &text, int flags)
{
    if (hook())
        return hook()(text, flags);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Reelwarden"));
    box.setText(text);
    box.setObjectName(QStringLiteral("MsgBox"));
    if (flags & vbCritical)
        box.setIcon(QMessageBox::Critical);
    else if (flags & vbQuestion)
        box.setIcon(QMessageBox::Question);
    else if (flags & vbInformation)
        box.setIcon(QMessageBox::Information);
    if (flags & vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((flags & vbDefaultButton2) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return vbOK;
}
