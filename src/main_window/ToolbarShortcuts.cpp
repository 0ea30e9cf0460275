#include "ToolbarShortcuts.h"

#include "ListBox.h"
#include "RibbonButton.h"
#include "frmTarsel.h"

#include <QShortcut>

namespace
{

void addShortcut(frmTarsel &window, QKeySequence key, int index, QWidget *scope,
                 Qt::ShortcutContext context)
{
    auto *shortcut = new QShortcut(key, scope, nullptr, nullptr, context);
    QObject::connect(shortcut, &QShortcut::activated, &window, [&window, index] {
        RibbonButton *button = window.cmdToolbar(index);
        if (button->isEnabled())
            button->setValue(true); // raises Click, as the user's click does
    });
}

} // namespace

void InstallToolbarShortcuts(frmTarsel &window)
{
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_N), 0, &window, Qt::WindowShortcut);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_S), 2, &window, Qt::WindowShortcut);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_P), 4, &window, Qt::WindowShortcut);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_F), 5, &window, Qt::WindowShortcut);
    addShortcut(window, QKeySequence(Qt::Key_Delete), 1, window.lstMovies(), Qt::WidgetShortcut);
}
