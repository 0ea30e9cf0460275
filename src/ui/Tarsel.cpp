#include "Tarsel.h"

#include <QApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>

void CenterForm(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QRect outer = window->frameGeometry();
    // move() places the frame's top-left corner; the frame size is known once the window
    // has been shown, before that the outer size is the client size.
    const int top = area.top() + (area.height() - outer.height()) / 2;
    const int left = area.left() + (area.width() - outer.width()) / 2;
    window->move(left, top);
}

void ShowHourglass(bool on)
{
    if (on) {
        if (!QApplication::overrideCursor())
            QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void DoEvents()
{
    QCoreApplication::processEvents();
}

void Sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void PlaceTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsRect(left, top, width, height));
}
