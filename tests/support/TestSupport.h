#pragma once

// What the window tests share besides TestData.h: the message-box answer hook and the catalog
// window over a catalog in a temporary folder.
#include "TestData.h"

#include "BoundControls.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "RibbonButton.h"
#include "frmTarsel.h"

#include <QComboBox>
#include <QTemporaryDir>

namespace TestSupport
{

QStringList items(const QComboBox *list); // a list's entries

// While alive, records every message box as "flags|text" and answers it from `answers`,
// then with `otherwise`; `seen` runs as each box shows.
struct MessageBoxes {
    QStringList shown;
    QList<int> answers;
    int otherwise = vbYes;
    std::function<void()> seen;
    MessageBoxes();
    ~MessageBoxes();
};

// The catalog window over movies.mdb in a temporary folder, loaded as start-up loads it; a
// settings file when `ini` is not null, and the statements of `sqlFile` (under tests/data)
// run on the new catalog.
struct MainWindowFixture {
    QTemporaryDir dir;
    MessageBoxes boxes;
    std::unique_ptr<frmTarsel> window;

    explicit MainWindowFixture(const QList<QVariantMap> &movies, const QByteArray &ini = {},
                               const QString &sqlFile = {}, bool load = true);
    // Over the movies of an SQL file under tests/data, with the settings file of the same name
    // ending in .ini when there is one.
    explicit MainWindowFixture(const QString &sqlFile)
        : MainWindowFixture({}, readFile(dataPath(sqlFile.chopped(3) + "ini")), sqlFile)
    {
    }
    void load();
    bool show(); // shown and active
    QString catalog() const { return dir.filePath(QStringLiteral("movies.mdb")); }
    frmTarsel &w() { return *window; }
    ListBox &list() { return *window->lstMovies(); }
    QStringList entries();
    QStringList freshEntries();       // the list of a window newly loaded from the catalog
    int select(const QString &title); // the entry's index, -1 when absent
    void click(int index) { window->cmdToolbar(index)->setValue(true); } // a toolbar button
    bool pairEnabled(int index); // a toolbar button and its caption
    int editMode() { return window->dataMovies().recordset().EditMode(); }

    // Runs "; "-separated steps as a user would: a toolbar command (add, delete, save, undo,
    // print, search, clear), "select TITLE", "row N", "find WHERE" (a search applied),
    // "answer Yes" or "answer No" for the next message box, "enable N" (a toolbar pair
    // enabled), "elsewhere TITLE" (another program adds the movie), "show" (the window shown
    // and active), "click N" (on the list's entry N), "focus CONTROL", "key NAME" (Ctrl+A,
    // Shift+End) and "type TEXT" (to the control with the focus), "close", "search
    // FIELD=keys|FIELD=keys" (the Search command, the keys typed into the search window's fields,
    // each left with Tab, then OK), or "CONTROL=text" (the control's list entry chosen, or its text
    // set as a paste sets it).
    void run(const QString &steps);
    void search(const QString &entries);                     // as "search ..." does
    void enter(const QString &control, const QString &text); // as "CONTROL=text" does
    // The list's entries ("," between them), its index, the title, the edit mode, the toolbar
    // (+ for each enabled pair, - for a disabled one), then each message shown since the last
    // call ("icon|text", "/" between them).
    QStringList stateColumns();
    QString state() { return stateColumns().join(u'|'); } // the same, "|" between them
    QString stored(); // the catalog's movies in the order stored: Title, or Title=Director
    QString text(const QString &control); // a bound control's text
};

// One row of a table of command flows (columns movies, steps, the state columns list, index,
// title, mode, toolbar and messages, then stored and fields): a window over the movies
// (titles, "," between them, or an SQL file under tests/data and a settings file of the same
// name ending in .ini) runs the steps, then shows the state (each * standing for any text),
// the catalog holds `stored` (the same way), and each "CONTROL=text" of
// `fields` ("; " between them) holds; "visible" is the window's, "focus" the name of the
// control with the focus, "fresh" is "same" when the list is the one a new window shows.
void commandFlow_data(const QStringList &files);
void commandFlow();

} // namespace TestSupport
