#include "frmTarsel.h"

#include "BoundControls.h"
#include "InputRules.h"
#include "ListBox.h"
#include "Look.h"
#include "MovieColumns.h"
#include "MovieListModel.h"
#include "RibbonButton.h"
#include "Settings.h"
#include "StoreError.h"
#include "Tarsel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWindowStateChangeEvent>

int LastCopyrightYear()
{
    return std::max(2025, QDate::currentDate().year());
}

namespace
{

struct ToolbarButtonLayout {
    const char *caption;
    int buttonTop;
    int left, top, width, height; // caption
};

constexpr std::array<ToolbarButtonLayout, kToolbarCommandCount> kToolbar = {{
    {"Add", 240, 255, 720, 315, 195},
    {"Delete", 1080, 165, 1560, 495, 195},
    {"Save", 1920, 210, 2400, 405, 195},
    {"Undo", 2760, 210, 3240, 405, 195},
    {"Print", 3600, 240, 4080, 345, 195},
    {"Search", 4440, 150, 4920, 525, 195},
    {"Clear", 5280, 225, 5760, 375, 195},
}};

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLabel *makeLabel(QWidget *parent, const QString &text, int index, int left, int top, int width,
                  int height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(arrayName("Label1", index));
    label->setFont(SansSerifFont());
    PlaceTwips(label, left, top, width, height);
    // Labels size themselves to their text.
    if (label->sizeHint().width() > label->width())
        label->resize(label->sizeHint().width(), label->height());
    return label;
}

} // namespace

frmTarsel::frmTarsel(const QString &programFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_programFolder(programFolder), m_editCycle(m_dataMovies, [this] { return BoundTexts(); })
{
    setObjectName(QStringLiteral("frmTarsel"));
    setWindowTitle(QStringLiteral("Reelwarden"));
    setWindowIcon(ProgramIcon());
    setFont(SansSerifFont());
    resize(Twips(9750), Twips(6315));
    setMouseTracking(true);
    buildToolbar();
    buildList();
    buildSpecs();
    setTabOrder();
    buildTransfer();
}

frmTarsel::~frmTarsel() = default;

QFrame *frmTarsel::makeContainer(const QString &name, int left, int width)
{
    auto *container = new QFrame(this);
    container->setObjectName(name);
    container->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    PlaceTwips(container, left, 0, width, 6300);
    // Mouse movement over the container puts out a lit toolbar button (eventFilter).
    container->setMouseTracking(true);
    container->installEventFilter(this);
    return container;
}

void frmTarsel::buildToolbar()
{
    m_picToolbar = makeContainer(QStringLiteral("picToolbar"), 15, 915);
    for (int i = 0; i < kToolbarCommandCount; ++i) {
        const ToolbarButtonLayout &item = kToolbar[size_t(i)];
        auto *button = new RibbonButton(i, ToolbarIcon(ToolbarPicture(i)), m_picToolbar);
        button->setObjectName(arrayName("cmdToolbar", i));
        button->setAccessibleName(QLatin1String(item.caption));
        PlaceTwips(button, 180, item.buttonTop, 510, 465);
        connect(button, &RibbonButton::Click, this, [this](int index) { cmdToolbar_Click(index); });
        connect(button, &RibbonButton::mouseMoved, this,
                [this](int index) { cmdToolbar_MouseMove(index); });
        m_cmdToolbar[size_t(i)] = button;

        auto *caption = new QLabel(QLatin1String(item.caption), m_picToolbar);
        caption->setObjectName(arrayName("lblToolbar", i));
        caption->setFont(SansSerifFont());
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        PlaceTwips(caption, item.left, item.top, item.width, item.height);
        if (caption->sizeHint().width() > caption->width()) {
            // Keep the caption centred under its button when the font needs more room.
            const int grow = caption->sizeHint().width() - caption->width();
            caption->setGeometry(caption->x() - grow / 2, caption->y(), caption->sizeHint().width(),
                                 caption->height());
        }
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_lblToolbar[size_t(i)] = caption;
    }
}

void frmTarsel::buildList()
{
    m_listModel = new MovieListModel(this);
    m_lstMovies = new ListBox(m_listModel, this);
    m_lstMovies->setObjectName(QStringLiteral("lstMovies"));
    m_lstMovies->setAccessibleName(QStringLiteral("Movies"));
    m_lstMovies->setFont(SansSerifFont());
    PlaceTwips(m_lstMovies, 960, 0, 3675, 6300);
    connect(m_lstMovies, &ListBox::Click, this, [this] { lstMovies_Click(); });
    connect(m_lstMovies, &ListBox::mouseMoved, this, [this] { PutOutToolbar(); });
}

void frmTarsel::buildSpecs()
{
    m_picSpecs = makeContainer(QStringLiteral("picSpecs"), 4665, 5070);

    auto text = [this](BoundTextBox *&box, const char *name, int column, int top,
                       int width = 3795) {
        box = new BoundTextBox(QLatin1String(kMovieColumns[std::size_t(column)].name), m_picSpecs);
        box->setObjectName(QLatin1String(name));
        PlaceTwips(box, 1140, top, width, 315);
        m_dataMovies.bind(box);
    };
    auto combo = [this](BoundComboBox *&box, const char *name, int column, int left, int top,
                        int width) {
        box = new BoundComboBox(QLatin1String(kMovieColumns[std::size_t(column)].name), m_picSpecs);
        box->setObjectName(QLatin1String(name));
        PlaceTwips(box, left, top, width, 315);
        m_dataMovies.bind(box);
    };
    text(m_txtTitle, "txtTitle", MovieColumn::Title, 30);
    combo(m_cboCategory, "cboCategory", MovieColumn::Category, 1140, 420, 2355);
    combo(m_cboRating, "cboRating", MovieColumn::Rating, 1140, 810, 2355);
    combo(m_cboFormat, "cboFormat", MovieColumn::Format, 1140, 1200, 2355);
    text(m_txtValue, "txtValue", MovieColumn::Value, 1590, 2355);
    combo(m_cboCopyright, "cboCopyright", MovieColumn::Copyright, 1140, 1980, 2355);
    combo(m_cboHours, "cboHours", MovieColumn::Hours, 1140, 2370, 705);
    combo(m_cboMinutes, "cboMinutes", MovieColumn::Minutes, 2670, 2370, 825);
    text(m_txtCondition, "txtCondition", MovieColumn::Condition, 2760);
    text(m_txtTapePosition, "txtTapePosition", MovieColumn::TapePosition, 3150);
    text(m_txtStarOne, "txtStarOne", MovieColumn::StarOne, 3540);
    text(m_txtStarTwo, "txtStarTwo", MovieColumn::StarTwo, 3930);
    text(m_txtStarThree, "txtStarThree", MovieColumn::StarThree, 4320);
    text(m_txtStarFour, "txtStarFour", MovieColumn::StarFour, 4710);
    text(m_txtProducer, "txtProducer", MovieColumn::Producer, 5100);
    text(m_txtDirector, "txtDirector", MovieColumn::Director, 5490);
    text(m_txtComments, "txtComments", MovieColumn::Comments, 5880);

    struct LabelLayout {
        QString caption;
        int index, left, top, width;
        QWidget *buddy;
    };
    const LabelLayout labels[] = {
        {movieColumnCaption(MovieColumn::Title), 0, 120, 90, 300, m_txtTitle},
        {movieColumnCaption(MovieColumn::Category), 13, 120, 480, 630, m_cboCategory},
        {movieColumnCaption(MovieColumn::Rating), 1, 120, 870, 465, m_cboRating},
        {movieColumnCaption(MovieColumn::Format), 17, 120, 1260, 480, m_cboFormat},
        {movieColumnCaption(MovieColumn::Value), 3, 120, 1650, 405, m_txtValue},
        {movieColumnCaption(MovieColumn::Copyright), 2, 120, 2040, 660, m_cboCopyright},
        {QStringLiteral("Length"), 4, 120, 2430, 495, m_cboHours},
        {movieColumnCaption(MovieColumn::Hours), 7, 1890, 2430, 420, nullptr},
        {movieColumnCaption(MovieColumn::Minutes), 9, 3540, 2430, 555, nullptr},
        {movieColumnCaption(MovieColumn::Condition), 15, 120, 2820, 660, m_txtCondition},
        {movieColumnCaption(MovieColumn::TapePosition), 16, 120, 3210, 975, m_txtTapePosition},
        {movieColumnCaption(MovieColumn::StarOne), 12, 120, 3600, 525, m_txtStarOne},
        {movieColumnCaption(MovieColumn::StarTwo), 14, 120, 3990, 525, m_txtStarTwo},
        {movieColumnCaption(MovieColumn::StarThree), 11, 120, 4380, 525, m_txtStarThree},
        {movieColumnCaption(MovieColumn::StarFour), 10, 120, 4770, 525, m_txtStarFour},
        {movieColumnCaption(MovieColumn::Producer), 8, 120, 5160, 645, m_txtProducer},
        {movieColumnCaption(MovieColumn::Director), 6, 120, 5550, 555, m_txtDirector},
        {movieColumnCaption(MovieColumn::Comments), 5, 120, 5940, 735, m_txtComments},
    };
    for (const auto &item : labels) {
        QLabel *label =
            makeLabel(m_picSpecs, item.caption, item.index, item.left, item.top, item.width, 195);
        if (item.buddy) {
            label->setBuddy(item.buddy);
            item.buddy->setAccessibleName(item.caption);
        }
        m_label1[size_t(item.index)] = label;
    }
    // The minutes box is named by its own caption, right of it.
    m_cboHours->setAccessibleName(QStringLiteral("Length, hours"));
    m_cboMinutes->setAccessibleName(QStringLiteral("Minutes"));

    for (auto *box :
         {m_cboCategory, m_cboCopyright, m_cboFormat, m_cboHours, m_cboMinutes, m_cboRating})
        RefuseTyping(box);
    MakeMoneyField(m_txtValue);

    m_cmdReview = new QPushButton(QStringLiteral("..."), m_picSpecs);
    m_cmdReview->setObjectName(QStringLiteral("cmdReview"));
    m_cmdReview->setAccessibleName(QStringLiteral("Edit comments"));
    m_cmdReview->setFont(SansSerifFont(9.75, true));
    m_cmdReview->setAutoDefault(false);
    PlaceTwips(m_cmdReview, 4530, 5910, 375, 250);
    m_cmdReview->raise();
    // The comments' text stops where the button begins: no character is drawn under it.
    m_txtComments->setTextMargins(0, 0, m_txtComments->geometry().right() - m_cmdReview->x() + 1,
                                  0);
    connect(m_cmdReview, &QPushButton::clicked, this, [this] { cmdReview_Click(); });
}

void frmTarsel::setTabOrder()
{
    QList<QWidget *> order;
    for (auto *button : m_cmdToolbar)
        order << button;
    order << m_lstMovies << m_txtTitle << m_cboCategory << m_cboRating << m_cboFormat << m_txtValue
          << m_cboCopyright << m_cboHours << m_cboMinutes << m_txtCondition << m_txtTapePosition
          << m_txtStarOne << m_txtStarTwo << m_txtStarThree << m_txtStarFour << m_txtProducer
          << m_txtDirector << m_txtComments << m_cmdReview;
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void frmTarsel::fillPickLists()
{
    const Profile profile(IniPath());
    m_cboCategory->clear();
    m_cboCategory->addItems(ReadPickList(profile, QStringLiteral("Categories"),
                                         QStringLiteral("CategoryTotal"),
                                         QStringLiteral("Category.")));
    m_cboRating->clear();
    m_cboRating->addItems(ReadPickList(profile, QStringLiteral("Ratings"),
                                       QStringLiteral("RatingTotal"), QStringLiteral("Rating.")));
    m_cboFormat->clear();
    m_cboFormat->addItems({QStringLiteral("VHS"), QStringLiteral("DVD")});
    for (int hour = 0; hour <= 20; ++hour)
        m_cboHours->addItem(QString::number(hour));
    for (int minute = 0; minute <= 59; ++minute)
        m_cboMinutes->addItem(QString::number(minute));
    for (int year = kFirstCopyrightYear; year <= LastCopyrightYear(); ++year)
        m_cboCopyright->addItem(QString::number(year));
    for (auto *box :
         {m_cboCategory, m_cboRating, m_cboFormat, m_cboHours, m_cboMinutes, m_cboCopyright})
        box->setCurrentIndex(-1);
}

void frmTarsel::Load()
{
    CenterForm(this);
    m_savedHeight = height();
    m_savedWidth = width();
    fillPickLists();
    m_dataMovies.Open(m_programFolder + QStringLiteral("/movies.mdb"));
    m_dataMovies.setRecordSource(QLatin1String(kAllMovies));
    m_dataMovies.Refresh();
    RefreshMovieList();
    if (m_lstMovies->ListCount() > 0)
        m_lstMovies->setListIndex(0);
    m_loaded = true;
}

void frmTarsel::RefreshMovieList()
{
    m_lstMovies->clearSelectionQuietly();
    Recordset &recordset = m_dataMovies.recordset();
    m_listModel->fill(recordset.rows(), recordset.generation(), recordset.lastChange());
    if (!recordset.BOF())
        recordset.MoveFirst();
    setPairEnabled(1, m_lstMovies->ListCount() > 0);
}

void frmTarsel::setPairEnabled(int index, bool enabled)
{
    m_cmdToolbar[size_t(index)]->setEnabled(enabled);
    m_lblToolbar[size_t(index)]->setEnabled(enabled);
}

void frmTarsel::lstMovies_Click()
{
    if (m_listClickBusy)
        return;
    m_listClickBusy = true;
    const int index = m_lstMovies->ListIndex();
    const QString title = index >= 0 ? m_lstMovies->List(index) : QString();
    try {
        if (LeaveCurrentRow()) {
            RefreshMovieList();
            m_dataMovies.recordset().Find(title);
            m_lstMovies->setListIndex(EntryIndexAfterRefill(index, title));
        }
    } catch (const StoreError &error) {
        ShowStoreError(error.message());
    }
    ShowCurrentRowInList(); // also when the title was not found or the catalog failed
    m_listClickBusy = false;
}

int frmTarsel::EntryIndexAfterRefill(int index, const QString &title) const
{
    // Writing pending changes on the way may have moved entries: follow the chosen title.
    if (index < 0 || (index < m_lstMovies->ListCount() && m_lstMovies->List(index) == title))
        return index;
    const int moved = m_lstMovies->IndexOf(title);
    return moved >= 0 ? moved : index;
}

void frmTarsel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_savedWidth || isMinimized())
        return;
    if (width() != m_savedWidth || height() != m_savedHeight)
        resize(m_savedWidth, m_savedHeight);
}

void frmTarsel::closeEvent(QCloseEvent *event)
{
    if (m_loaded && !LeaveCurrentRow()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

void frmTarsel::mouseMoveEvent(QMouseEvent *event)
{
    PutOutToolbar();
    QWidget::mouseMoveEvent(event);
}

bool frmTarsel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && (watched == m_picToolbar || watched == m_picSpecs))
        PutOutToolbar();
    return QWidget::eventFilter(watched, event);
}
