#pragma once

#include "DataControl.h"
#include "EditCycle.h"
#include "SearchTarget.h"

#include <QDate>
#include <QWidget>

#include <array>
#include <functional>

class BoundComboBox;
class BoundTextBox;
class DailyBackupRunner;
class ListBox;
class MovieListModel;
class QFrame;
class QLabel;
class QPushButton;
class RibbonButton;

// The catalog window: the toolbar, the list of titles and the fields of the current movie.
class frmTarsel : public QWidget, public SearchTarget
{
    Q_OBJECT
  public:
    // `programFolder` holds the catalog (movies.mdb) and the settings file.
    explicit frmTarsel(const QString &programFolder, QWidget *parent = nullptr);
    ~frmTarsel() override;

    // Centres the window, fills the pick lists, opens the catalog and selects the first
    // title. Throws StoreError when the catalog cannot be opened.
    void Load();

    // Rebuilds the list from the current recordset and sets Delete's enabled flags.
    void RefreshMovieList();

    DataControl &dataMovies() { return m_dataMovies; }
    ListBox *lstMovies() const { return m_lstMovies; }
    RibbonButton *cmdToolbar(int index) const { return m_cmdToolbar[size_t(index)]; }
    QLabel *lblToolbar(int index) const { return m_lblToolbar[size_t(index)]; }
    QFrame *picToolbar() const { return m_picToolbar; }
    QFrame *picSpecs() const { return m_picSpecs; }
    BoundTextBox *txtTitle() const { return m_txtTitle; }
    BoundComboBox *cboCategory() const { return m_cboCategory; }
    BoundComboBox *cboRating() const { return m_cboRating; }
    BoundComboBox *cboFormat() const { return m_cboFormat; }
    BoundTextBox *txtValue() const { return m_txtValue; }
    BoundComboBox *cboCopyright() const { return m_cboCopyright; }
    BoundComboBox *cboHours() const { return m_cboHours; }
    BoundComboBox *cboMinutes() const { return m_cboMinutes; }
    BoundTextBox *txtCondition() const { return m_txtCondition; }
    BoundTextBox *txtTapePosition() const { return m_txtTapePosition; }
    BoundTextBox *txtStarOne() const { return m_txtStarOne; }
    BoundTextBox *txtStarTwo() const { return m_txtStarTwo; }
    BoundTextBox *txtStarThree() const { return m_txtStarThree; }
    BoundTextBox *txtStarFour() const { return m_txtStarFour; }
    BoundTextBox *txtProducer() const { return m_txtProducer; }
    BoundTextBox *txtDirector() const { return m_txtDirector; }
    BoundTextBox *txtComments() const { return m_txtComments; }
    QPushButton *cmdReview() const { return m_cmdReview; }

    int SavedListIndex() const { return m_savedListIndex; }
    bool ListClickBusy() const { return m_listClickBusy; }

    // Switches button i and its caption together, button first.
    void setPairEnabled(int index, bool enabled);
    // A caption's colour as a blue-green-red number (0 black, 16711680 blue).
    int captionForeColor(int index) const;
    void setCaptionForeColor(int index, int bgr);

    // Runs `statement` as the record source and lists its movies, selecting the first.
    // All or nothing: when the catalog refuses the statement, `error` says why and the
    // window keeps its record source, list and current movie. False too when the user
    // keeps pending changes of the current movie instead (no message then).
    bool ApplySearch(const QString &statement, QString *error) override;

    // Prints the movie the fields show (PrintMovie.cpp).
    void PrintMovie();

    // Import, export and backup (frmTarselTransfer.cpp).
    QString CatalogPath() const;
    QString ProgramFolder() const { return m_programFolder; }
    // Runs a command of the list's menu as a toolbar command runs: not while another runs,
    // the toolbar disabled meanwhile, pending changes of the current movie saved or dropped
    // first as leaving the movie does. False when nothing ran (the user kept the changes).
    bool RunListCommand(const std::function<void()> &command);
    // Shows every movie again, as Clear does.
    void ShowAllMovies();
    // Makes the day's backup of the catalog in the background, when it is due, a moment after
    // the window is on screen (or `delayMs` from now).
    void StartDailyBackup(QDate today);
    void StartDailyBackup(QDate today, int delayMs);

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QFrame *makeContainer(const QString &name, int left, int width);
    void buildToolbar();
    void buildList();
    void buildSpecs();
    void setTabOrder();
    void buildTransfer();
    void ShowSettledRow();
    void fillPickLists();
    void lstMovies_Click();
    int EntryIndexAfterRefill(int index, const QString &title) const;

    // Toolbar (frmTarselToolbar.cpp)
    void cmdToolbar_Click(int index);
    void cmdToolbar_MouseMove(int index);
    void PutOutToolbar();
    void RunCommand(ToolbarCommand command);
    void Add();
    void Delete();
    void Save();
    void Undo();
    void Print();
    void Search();
    void Clear();
    void cmdReview_Click();
    // Whether the current row may be left: pending changes are written when they pass
    // Save's checks, otherwise the user is asked. False: stay on the row.
    bool LeaveCurrentRow();
    void ShowStoreError(const QString &message);
    void EnterBrowsing(bool deleteToo);
    // Highlights the current row's entry without running the click handler; nothing while a
    // new row is pending or when there is no current row. Leaves the list in step with the
    // fields after a command, and after a refusal to leave the row.
    void ShowCurrentRowInList();
    bool ListShowsCurrentRow();
    QStringList BoundTexts() const;
    void SelectAfterRefill(int index);

    QString m_programFolder;
    DataControl m_dataMovies;
    EditCycle m_editCycle;
    int m_savedHeight = 0;
    int m_savedWidth = 0;
    int m_savedListIndex = 0;
    bool m_listClickBusy = false;
    bool m_loaded = false;

    QFrame *m_picToolbar = nullptr;
    std::array<RibbonButton *, kToolbarCommandCount> m_cmdToolbar{};
    std::array<QLabel *, kToolbarCommandCount> m_lblToolbar{};
    MovieListModel *m_listModel = nullptr;
    ListBox *m_lstMovies = nullptr;
    QFrame *m_picSpecs = nullptr;
    std::array<QLabel *, 18> m_label1{};
    BoundTextBox *m_txtTitle = nullptr;
    BoundComboBox *m_cboCategory = nullptr;
    BoundComboBox *m_cboRating = nullptr;
    BoundComboBox *m_cboFormat = nullptr;
    BoundTextBox *m_txtValue = nullptr;
    BoundComboBox *m_cboCopyright = nullptr;
    BoundComboBox *m_cboHours = nullptr;
    BoundComboBox *m_cboMinutes = nullptr;
    BoundTextBox *m_txtCondition = nullptr;
    BoundTextBox *m_txtTapePosition = nullptr;
    BoundTextBox *m_txtStarOne = nullptr;
    BoundTextBox *m_txtStarTwo = nullptr;
    BoundTextBox *m_txtStarThree = nullptr;
    BoundTextBox *m_txtStarFour = nullptr;
    BoundTextBox *m_txtProducer = nullptr;
    BoundTextBox *m_txtDirector = nullptr;
    BoundTextBox *m_txtComments = nullptr;
    QPushButton *m_cmdReview = nullptr;
    DailyBackupRunner *m_dailyBackup = nullptr;
};

// The first year of the copyright lists and the last: the current year, never before 2025.
inline constexpr int kFirstCopyrightYear = 1900;
int LastCopyrightYear();
