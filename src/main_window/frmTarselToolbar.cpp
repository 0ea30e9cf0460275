// The toolbar of the catalog window: the click frame, the seven commands, the edit cycle
// and the highlight under the mouse.
#include "frmTarsel.h"

#include "BoundControls.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "RibbonButton.h"
#include "StoreError.h"
#include "Tarsel.h"
#include "frmComments.h"
#include "frmSearch.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace
{
constexpr int kBlack = 0;
constexpr int kBlue = 16711680; // blue-green-red: 0xFF0000

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}
} // namespace

// ---- Click frame ------------------------------------------------------------------------

void frmTarsel::cmdToolbar_Click(int index)
{
    RibbonButton *button = cmdToolbar(index);
    if (!button->Value())
        return; // the notification of the button being lifted
    button->setValue(false);
    button->setBevelWidth(0);
    setCaptionForeColor(index, kBlack);
    m_picToolbar->setEnabled(false);
    DoEvents();
    RunCommand(ToolbarCommand(index));
    ShowCurrentRowInList();
    m_picToolbar->setEnabled(true);
}

void frmTarsel::RunCommand(ToolbarCommand command)
{
    try {
        switch (command) {
        case ToolbarCommand::Add:
            Add();
            break;
        case ToolbarCommand::Delete:
            Delete();
            break;
        case ToolbarCommand::Save:
            Save();
            break;
        case ToolbarCommand::Undo:
            Undo();
            break;
        case ToolbarCommand::Print:
            Print();
            break;
        case ToolbarCommand::Search:
            Search();
            break;
        case ToolbarCommand::Clear:
            Clear();
            break;
        }
    } catch (const StoreError &error) {
        ShowStoreError(EditCycle::failure(command, error));
    }
}

void frmTarsel::ShowStoreError(const QString &message)
{
    ShowHourglass(false);
    MsgBox(message, vbInformation);
}

// ---- Commands ---------------------------------------------------------------------------

void frmTarsel::Add()
{
    if (!LeaveCurrentRow())
        return;
    m_savedListIndex = m_lstMovies->ListIndex();
    m_dataMovies.recordset().AddNew();
    m_txtTitle->setText(QString());
    for (auto *box : {m_cboCategory, m_cboRating, m_cboFormat})
        box->setCurrentIndex(-1);
    m_txtValue->setText(QString());
    m_cboCopyright->setCurrentIndex(1975 - kFirstCopyrightYear);
    m_cboHours->setCurrentIndex(-1);
    m_cboMinutes->setCurrentIndex(-1);
    for (auto *box : {m_txtCondition, m_txtTapePosition, m_txtStarOne, m_txtStarTwo, m_txtStarThree,
                      m_txtStarFour, m_txtProducer, m_txtDirector, m_txtComments})
        box->setText(QString());
    m_txtTitle->setFocus();
    for (int i = 0; i < kToolbarCommandCount; ++i) {
        if (ToolbarCommand(i) != ToolbarCommand::Save)
            setPairEnabled(i, EditCycle::enabledWhileAdding(ToolbarCommand(i)));
    }
    m_editCycle.startAdding();
}

void frmTarsel::Delete()
{
    Recordset &recordset = m_dataMovies.recordset();
    if (!recordset.hasCurrentRow())
        return; // nothing is shown, so there is nothing to delete
    // The question speaks of the highlighted movie. Were another entry than the current
    // row's ever highlighted, nothing is deleted and the frame brings the list back in step.
    if (!ListShowsCurrentRow())
        return;
    if (MsgBox(QStringLiteral("Are you sure you want to delete the currently selected movie?"),
               vbYesNo | vbQuestion) != vbYes)
        return;
    recordset.Delete();
    m_savedListIndex = m_lstMovies->ListIndex();
    RefreshMovieList();
    if (recordset.BOF())
        return;
    SelectAfterRefill(m_savedListIndex);
}

void frmTarsel::Save()
{
    Recordset &recordset = m_dataMovies.recordset();
    if (recordset.EditMode() == 0)
        return;
    const QString problem = m_editCycle.check(m_txtTitle->text());
    if (!problem.isEmpty()) {
        MsgBox(problem, vbInformation);
        return;
    }
    recordset.Update(); // a refusal keeps the pending row: the caller shows why
    recordset.Requery();
    m_dataMovies.Refresh();
    RefreshMovieList();
    SelectAfterRefill(m_savedListIndex);
    EnterBrowsing(true);
}

void frmTarsel::Undo()
{
    Recordset &recordset = m_dataMovies.recordset();
    const bool wasAdding = recordset.EditMode() == 2;
    recordset.CancelUpdate();
    m_dataMovies.Refresh();
    if (wasAdding)
        EnterBrowsing(false);
    // The fields show the first movie now: its entry is selected as any other selection is,
    // so that the list highlights the movie shown.
    RefreshMovieList();
    if (recordset.hasCurrentRow())
        m_lstMovies->setListIndex(m_lstMovies->IndexOf(recordset.Fields(QStringLiteral("Title"))));
}

void frmTarsel::Print()
{
    PrintMovie();
}

void frmTarsel::Search()
{
    frmSearch window(*this, this);
    window.exec();
}

void frmTarsel::Clear()
{
    if (!LeaveCurrentRow())
        return;
    const QString previous = m_dataMovies.RecordSource();
    m_dataMovies.setRecordSource(QLatin1String(kAllMovies));
    try {
        m_dataMovies.Refresh();
    } catch (const StoreError &) {
        m_dataMovies.setRecordSource(previous);
        throw;
    }
    RefreshMovieList();
    if (m_lstMovies->ListCount() > 0)
        m_lstMovies->setListIndex(0);
}

bool frmTarsel::ApplySearch(const QString &statement, QString *error)
{
    if (!LeaveCurrentRow()) {
        if (error)
            error->clear();
        return false;
    }
    const QString previous = m_dataMovies.RecordSource();
    m_dataMovies.setRecordSource(statement);
    try {
        m_dataMovies.Refresh();
    } catch (const StoreError &failure) {
        m_dataMovies.setRecordSource(previous);
        if (error)
            *error = failure.message();
        // The previous rows are still loaded; show the movie the list has selected again.
        const int index = m_lstMovies->ListIndex();
        if (index >= 0)
            m_dataMovies.recordset().Find(m_lstMovies->List(index));
        return false;
    }
    RefreshMovieList();
    if (m_lstMovies->ListCount() > 0)
        m_lstMovies->setListIndex(0);
    return true;
}

void frmTarsel::cmdReview_Click()
{
    frmComments editor(
        m_txtComments->text(), [this](const QString &text) { m_txtComments->setText(text); }, this);
    editor.exec();
}

// ---- Edit cycle -------------------------------------------------------------------------

void frmTarsel::SelectAfterRefill(int index)
{
    const int count = m_lstMovies->ListCount();
    if (count == 0 || index < 0)
        return;
    m_lstMovies->setListIndex(std::min(index, count - 1));
}

void frmTarsel::EnterBrowsing(bool deleteToo)
{
    const bool movieListed = deleteToo || m_lstMovies->ListCount() > 0;
    for (int i = 0; i < kToolbarCommandCount; ++i) {
        if (ToolbarCommand(i) != ToolbarCommand::Save)
            setPairEnabled(i, EditCycle::enabledWhileBrowsing(ToolbarCommand(i), movieListed));
    }
    m_editCycle.stopAdding();
}

QStringList frmTarsel::BoundTexts() const
{
    QStringList texts;
    for (BoundField *field : std::initializer_list<BoundField *>{
             m_txtTitle, m_cboCategory, m_cboRating, m_cboFormat, m_txtValue, m_cboCopyright,
             m_cboHours, m_cboMinutes, m_txtCondition, m_txtTapePosition, m_txtStarOne,
             m_txtStarTwo, m_txtStarThree, m_txtStarFour, m_txtProducer, m_txtDirector,
             m_txtComments})
        texts << field->text();
    return texts;
}

bool frmTarsel::LeaveCurrentRow()
{
    const auto leaving = m_editCycle.leave(m_txtTitle->text());
    if (!leaving.problem.isEmpty()) {
        const int answer =
            MsgBox(leaving.problem + QStringLiteral("\n\nDiscard the changes to this movie?"),
                   vbYesNo | vbQuestion | vbDefaultButton2);
        if (answer != vbYes) {
            ShowCurrentRowInList(); // stay: the list highlights the edited movie again
            return false;
        }
        m_editCycle.discard();
    }
    if (leaving.wasAdding)
        EnterBrowsing(false);
    return true;
}

void frmTarsel::ShowCurrentRowInList()
{
    Recordset &recordset = m_dataMovies.recordset();
    try {
        if (recordset.EditMode() == 2 || !recordset.hasCurrentRow())
            m_lstMovies->clearSelectionQuietly();
        else if (!ListShowsCurrentRow())
            m_lstMovies->setListIndexQuietly(
                m_lstMovies->IndexOf(recordset.Fields(QStringLiteral("Title"))));
    } catch (const StoreError &) {
        // Rows that cannot be read again follow a failed refresh, already reported: with
        // no movie to point at, nothing is highlighted.
        m_lstMovies->clearSelectionQuietly();
    }
}

bool frmTarsel::ListShowsCurrentRow()
{
    Recordset &recordset = m_dataMovies.recordset();
    const int index = m_lstMovies->ListIndex();
    return index >= 0 && recordset.EditMode() != 2 && recordset.hasCurrentRow() &&
           m_lstMovies->List(index) == recordset.Fields(QStringLiteral("Title"));
}

// ---- Highlight under the mouse ----------------------------------------------------------

int frmTarsel::captionForeColor(int index) const
{
    return m_lblToolbar[size_t(index)]->property("ForeColor").toInt();
}

void frmTarsel::setCaptionForeColor(int index, int bgr)
{
    QLabel *caption = m_lblToolbar[size_t(index)];
    caption->setProperty("ForeColor", bgr);
    QPalette palette = caption->palette();
    // A disabled caption keeps the greyed look whatever its colour.
    palette.setColor(QPalette::Active, QPalette::WindowText, fromBgr(bgr));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, fromBgr(bgr));
    caption->setPalette(palette);
}

void frmTarsel::cmdToolbar_MouseMove(int index)
{
    for (int i = 0; i < kToolbarCommandCount; ++i) {
        if (i != index && cmdToolbar(i)->BevelWidth() > 0) {
            setCaptionForeColor(i, kBlack);
            cmdToolbar(i)->setBevelWidth(0);
            break;
        }
    }
    if (cmdToolbar(index)->BevelWidth() == 0) {
        cmdToolbar(index)->setBevelWidth(1);
        setCaptionForeColor(index, kBlue);
    }
}

void frmTarsel::PutOutToolbar()
{
    for (int i = 0; i < kToolbarCommandCount; ++i) {
        if (cmdToolbar(i)->BevelWidth() > 0) {
            cmdToolbar(i)->setBevelWidth(0);
            setCaptionForeColor(i, kBlack);
            break;
        }
    }
}
