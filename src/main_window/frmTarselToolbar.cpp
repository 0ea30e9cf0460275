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

namespace {
constexpr int kBlack = 0;
constexpr int kBlue = 16711680; // blue-green-red: 0xFF0000

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

const QString kAllMovies = QStringLiteral("SELECT * FROM [Movies]");
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
    RunCommand(index);
    ShowCurrentRowInList();
    m_picToolbar->setEnabled(true);
}

void frmTarsel::RunCommand(int index)
{
    try {
        switch (index) {
        case 0: Add(); break;
        case 1: Delete(); break;
        case 2: Save(); break;
        case 3: Undo(); break;
        case 4: Print(); break;
        case 5: Search(); break;
        case 6: Clear(); break;
        default: break;
        }
    } catch (const StoreError &error) {
        ShowStoreError(CommandFailure(index, error));
    }
}

QString frmTarsel::CommandFailure(int index, const StoreError &error)
{
    // A value the catalog cannot take is the user's to correct: its message says how.
    if (error.kind() == StoreError::Kind::Input)
        return error.message();
    switch (index) {
    case 1: return QStringLiteral("The movie could not be deleted. ") + error.message();
    case 0:
    case 2: return QStringLiteral("The movie could not be saved. ") + error.message();
    default: return error.message();
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
    for (auto *box : {m_txtCondition, m_txtTapePosition, m_txtStarOne, m_txtStarTwo,
                      m_txtStarThree, m_txtStarFour, m_txtProducer, m_txtDirector, m_txtComments})
        box->setText(QString());
    m_txtTitle->setFocus();
    for (int pair : {0, 1, 3, 4, 5, 6})
        setPairEnabled(pair, false);
    m_addSnapshot = BoundTexts();
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
    const QString problem = CheckCurrentRow();
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
    m_dataMovies.setRecordSource(kAllMovies);
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
    frmComments editor(m_txtComments->text(),
                       [this](const QString &text) { m_txtComments->setText(text); }, this);
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
    for (int pair : {0, 1, 3, 4, 5, 6}) {
        if (pair == 1 && !deleteToo)
            setPairEnabled(1, m_lstMovies->ListCount() > 0);
        else
            setPairEnabled(pair, true);
    }
    m_addSnapshot.clear();
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

QString frmTarsel::CheckCurrentRow()
{
    const QString title = m_txtTitle->text();
    if (title.isEmpty())
        return QStringLiteral("You must enter a title.");
    Recordset &recordset = m_dataMovies.recordset();
    std::optional<qint64> self;
    if (recordset.EditMode() != 2 && recordset.hasCurrentRow())
        self = recordset.rows()[size_t(recordset.position())].rowId;
    if (m_dataMovies.titleTaken(title, self))
        return QStringLiteral("You cannot have two movies with the same title.");
    return QString();
}

bool frmTarsel::LeaveCurrentRow()
{
    Recordset &recordset = m_dataMovies.recordset();
    const int mode = recordset.EditMode();
    if (mode == 0)
        return true;
    if (mode == 2 && BoundTexts() == m_addSnapshot) {
        recordset.CancelUpdate(); // nothing was entered since Add
        EnterBrowsing(false);
        return true;
    }
    QString problem = CheckCurrentRow();
    if (problem.isEmpty()) {
        try {
            recordset.Update();
            if (mode == 2)
                EnterBrowsing(false);
            return true;
        } catch (const StoreError &error) {
            problem = CommandFailure(2, error);
        }
    }
    const int answer = MsgBox(problem + QStringLiteral("\n\nDiscard the changes to this movie?"),
                              vbYesNo | vbQuestion | vbDefaultButton2);
    if (answer != vbYes) {
        ShowCurrentRowInList(); // stay: the list highlights the edited movie again
        return false;
    }
    recordset.CancelUpdate();
    if (mode == 2)
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
    for (int i = 0; i < 7; ++i) {
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
    for (int i = 0; i < 7; ++i) {
        if (cmdToolbar(i)->BevelWidth() > 0) {
            cmdToolbar(i)->setBevelWidth(0);
            setCaptionForeColor(i, kBlack);
            break;
        }
    }
}
