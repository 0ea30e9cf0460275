// The catalog window's part in import, export and backup: the list's menu and dropped files
// run as toolbar commands run; the day's backup starts once the window is on screen.
#include "frmTarsel.h"

#include "CatalogTransferMenu.h"
#include "DailyBackupRunner.h"
#include "ListBox.h"
#include "StoreError.h"
#include "ToolbarShortcuts.h"

#include <QFrame>

void frmTarsel::buildTransfer()
{
    new CatalogTransferMenu(*this);
    InstallToolbarShortcuts(*this);
}

QString frmTarsel::CatalogPath() const
{
    return m_programFolder + QStringLiteral("/movies.mdb");
}

bool frmTarsel::RunListCommand(const std::function<void()> &command)
{
    if (!m_picToolbar->isEnabled())
        return false; // another command runs
    PutOutToolbar();
    m_picToolbar->setEnabled(false);
    bool ran = false;
    try {
        const bool pending = m_dataMovies.recordset().EditMode() != 0;
        if (LeaveCurrentRow()) {
            if (pending)
                ShowSettledRow();
            command();
            ran = true;
        }
    } catch (const StoreError &error) {
        ShowStoreError(error.message());
    }
    ShowCurrentRowInList();
    m_picToolbar->setEnabled(true);
    return ran;
}

void frmTarsel::ShowSettledRow()
{
    // The changes were saved or dropped: the list shows the titles as they now are, with the
    // movie the fields show selected.
    Recordset &recordset = m_dataMovies.recordset();
    const QString title =
        recordset.hasCurrentRow() ? recordset.Fields(QStringLiteral("Title")) : QString();
    RefreshMovieList();
    const int index = m_lstMovies->IndexOf(title);
    SelectAfterRefill(index >= 0 ? index : 0);
}

void frmTarsel::ShowAllMovies()
{
    Clear();
}

void frmTarsel::StartDailyBackup(QDate today)
{
    StartDailyBackup(today, DailyBackupRunner::kStartDelayMs);
}

void frmTarsel::StartDailyBackup(QDate today, int delayMs)
{
    if (!m_dailyBackup)
        m_dailyBackup = new DailyBackupRunner(CatalogPath(), this);
    m_dailyBackup->start(today, delayMs);
}
