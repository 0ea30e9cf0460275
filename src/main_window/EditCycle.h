#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DataControl;
class StoreError;

// The toolbar's commands, in the order of their buttons.
enum class ToolbarCommand { Add, Delete, Save, Undo, Print, Search, Clear };
inline constexpr int kToolbarCommandCount = 7;

// The rules of the catalog window's edit cycle, apart from the window: what Save checks, what
// happens to pending changes when the user leaves the current movie, and which toolbar
// commands are enabled while adding and while browsing. The window asks the user and shows
// what these rules decide.
class EditCycle
{
  public:
    // `fieldTexts` gives the bound fields' texts, to tell whether anything was entered
    // since Add.
    EditCycle(DataControl &data, std::function<QStringList()> fieldTexts);

    // Add has blanked the fields of a new row: what they hold now counts as nothing entered.
    void startAdding();
    void stopAdding() { m_addSnapshot.clear(); }

    // The checks a movie must pass before it is written: the message of the first that
    // fails, or an empty text.
    QString check(const QString &title) const;

    // Leaving the current row: nothing pending, a new row on which nothing was entered
    // (dropped), or changes that pass the checks (written) leave it at once; otherwise
    // `problem` says why they cannot be written and nothing has changed, so that the
    // caller can ask whether to discard them.
    struct Leaving {
        QString problem;
        bool wasAdding = false;
    };
    Leaving leave(const QString &title);
    // Drops the pending changes after the user chose to discard them.
    void discard();

    // Whether a command's button is enabled while a new row is pending (Save alone) and
    // while browsing (all, Delete only when `movieListed`). Save itself is never switched.
    static bool enabledWhileAdding(ToolbarCommand command);
    static bool enabledWhileBrowsing(ToolbarCommand command, bool movieListed);

    // The message for a command the catalog refused: a value the catalog cannot take is
    // the user's to correct, and its own message says how.
    static QString failure(ToolbarCommand command, const StoreError &error);

  private:
    DataControl &m_data;
    std::function<QStringList()> m_fieldTexts;
    QStringList m_addSnapshot; // the fields as Add left them
};
