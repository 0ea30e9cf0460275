#include "frmSearch.h"

#include "InputRules.h"
#include "Look.h"
#include "MessageBox.h"
#include "MovieColumns.h"
#include "SearchTarget.h"
#include "Settings.h"
#include "StoreError.h"
#include "Tarsel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace
{

// The year lists start later than the catalog window's: older years are not offered here.
constexpr int kFirstSearchYear = 1925;

// The last year of the lists: the current year, never before 2025 (as in the catalog window).
int lastSearchYear()
{
    return std::max(2025, QDate::currentDate().year());
}

const QString kAny = QStringLiteral("ANY");

QLabel *makeLabel(QWidget *parent, const QString &caption, int index, int left, int top, int width)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label1(%1)").arg(index));
    label->setFont(SansSerifFont());
    PlaceTwips(label, left, top, width, 195);
    // Labels size themselves to their text.
    if (label->sizeHint().width() > label->width())
        label->resize(label->sizeHint().width(), label->height());
    return label;
}

QLineEdit *makeText(QWidget *parent, const char *name, int left, int top, int width)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    PlaceTwips(box, left, top, width, 315);
    return box;
}

// A drop-down list with an edit portion. Entries come from the list only: nothing typed is
// ever added to it, and no completion is offered while typing.
QComboBox *makeCombo(QWidget *parent, const char *name, int left, int top)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    PlaceTwips(box, left, top, 2265, 315);
    return box;
}

QRadioButton *makeOption(QWidget *parent, const char *name, const char *caption, int top)
{
    auto *option = new QRadioButton(QLatin1String(caption), parent);
    option->setObjectName(QLatin1String(name));
    PlaceTwips(option, 4050, top, 3105, 270);
    // The caption must show whole: the substitute font can need a few pixels more.
    if (option->sizeHint().width() > option->width())
        option->resize(option->sizeHint().width(), option->height());
    return option;
}

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption, int left)
{
    auto *button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    // Neither button is the default: Enter in an entry field must not press one.
    button->setAutoDefault(false);
    button->setDefault(false);
    PlaceTwips(button, left, 4290, 1245, 525);
    return button;
}

} // namespace

frmSearch::frmSearch(SearchTarget &target, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_target(target)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Search"));
    setFont(SansSerifFont());
    setFixedSize(Twips(7980), Twips(4935));
    buildSpecs();
    buildButtons();
    setTabOrder();
    Load();
}

void frmSearch::buildSpecs()
{
    m_picSpecs = new QFrame(this);
    m_picSpecs->setObjectName(QStringLiteral("picSpecs"));
    m_picSpecs->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    PlaceTwips(m_picSpecs, 10, 0, 7950, 4830);

    QWidget *p = m_picSpecs;
    m_txtTitle = makeText(p, "txtTitle", 1140, 180, 5085);
    m_cboCategory = makeCombo(p, "cboCategory", 1140, 540);
    m_cboRating = makeCombo(p, "cboRating", 1140, 900);
    m_cboFormat = makeCombo(p, "cboFormat", 1140, 1260);
    m_txtValueFrom = makeText(p, "txtValueFrom", 1140, 1620, 2265);
    m_txtValueTo = makeText(p, "txtValueTo", 3930, 1620, 2265);
    m_cboCopyrightFrom = makeCombo(p, "cboCopyrightFrom", 1140, 1980);
    m_cboCopyrightTo = makeCombo(p, "cboCopyrightTo", 3930, 1980);
    m_txtCondition = makeText(p, "txtCondition", 1140, 2340, 2805);
    m_txtStarOne = makeText(p, "txtStarOne", 1140, 2700, 2805);
    m_txtStarTwo = makeText(p, "txtStarTwo", 1140, 3060, 2805);
    m_txtStarThree = makeText(p, "txtStarThree", 1140, 3420, 2805);
    m_txtStarFour = makeText(p, "txtStarFour", 1140, 3780, 2805);
    m_txtProducer = makeText(p, "txtProducer", 1140, 4140, 2805);
    m_txtDirector = makeText(p, "txtDirector", 1140, 4500, 2805);
    m_optOR = makeOption(p, "optOR", "&Include movies with ANY of these stars", 2655);
    m_optAND = makeOption(p, "optAND", "&Include movies with ALL of these stars", 3015);
    auto *stars = new QButtonGroup(this);
    stars->addButton(m_optOR);
    stars->addButton(m_optAND);

    struct LabelLayout {
        QString caption;
        int index, left, top, width;
        QWidget *field;
        const char *accessibleName; // when the caption alone does not name the field
    };
    const LabelLayout labels[] = {
        {movieColumnCaption(MovieColumn::Title), 0, 120, 240, 300, m_txtTitle, nullptr},
        {movieColumnCaption(MovieColumn::Category), 13, 120, 600, 630, m_cboCategory, nullptr},
        {movieColumnCaption(MovieColumn::Rating), 1, 120, 960, 465, m_cboRating, nullptr},
        {movieColumnCaption(MovieColumn::Format), 22, 120, 1320, 480, m_cboFormat, nullptr},
        {movieColumnCaption(MovieColumn::Value), 3, 120, 1680, 405, m_txtValueFrom, "Value from"},
        {QStringLiteral("to"), 19, 3600, 1680, 135, m_txtValueTo, "Value to"},
        {movieColumnCaption(MovieColumn::Copyright), 2, 120, 2040, 660, m_cboCopyrightFrom,
         "Copyright from"},
        {QStringLiteral("to"), 18, 3600, 2040, 135, m_cboCopyrightTo, "Copyright to"},
        {movieColumnCaption(MovieColumn::Condition), 20, 120, 2400, 660, m_txtCondition, nullptr},
        {movieColumnCaption(MovieColumn::StarOne), 12, 120, 2760, 525, m_txtStarOne, nullptr},
        {movieColumnCaption(MovieColumn::StarTwo), 14, 120, 3120, 525, m_txtStarTwo, nullptr},
        {movieColumnCaption(MovieColumn::StarThree), 11, 120, 3480, 525, m_txtStarThree, nullptr},
        {movieColumnCaption(MovieColumn::StarFour), 10, 120, 3840, 525, m_txtStarFour, nullptr},
        {movieColumnCaption(MovieColumn::Producer), 8, 120, 4200, 645, m_txtProducer, nullptr},
        {movieColumnCaption(MovieColumn::Director), 6, 120, 4560, 555, m_txtDirector, nullptr},
    };
    for (const LabelLayout &item : labels) {
        QLabel *label = makeLabel(p, item.caption, item.index, item.left, item.top, item.width);
        label->setBuddy(item.field);
        item.field->setAccessibleName(item.accessibleName ? QLatin1String(item.accessibleName)
                                                          : item.caption);
    }

    for (QComboBox *box : {m_cboCategory, m_cboRating, m_cboCopyrightFrom, m_cboCopyrightTo})
        RefuseTyping(box);
    // The format list takes typing: a typed format is searched for like a chosen one.
    MakeMoneyField(m_txtValueFrom);
    MakeMoneyField(m_txtValueTo);
}

void frmSearch::buildButtons()
{
    m_cmdOK = makeButton(this, "cmdOK", "OK", 5280);
    m_cmdCancel = makeButton(this, "cmdCancel", "Cancel", 6600);
    connect(m_cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmSearch::setTabOrder()
{
    QWidget *const order[] = {m_txtTitle,     m_cboCategory, m_cboRating,        m_cboFormat,
                              m_txtValueFrom, m_txtValueTo,  m_cboCopyrightFrom, m_cboCopyrightTo,
                              m_txtCondition, m_txtStarOne,  m_txtStarTwo,       m_txtStarThree,
                              m_txtStarFour,  m_txtProducer, m_txtDirector,      m_optOR,
                              m_optAND,       m_cmdOK,       m_cmdCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    m_txtTitle->setFocus();
}

void frmSearch::Load()
{
    ShowHourglass(true);
    CenterForm(this);
    fillPickLists();
    for (QComboBox *box :
         {m_cboCategory, m_cboRating, m_cboFormat, m_cboCopyrightFrom, m_cboCopyrightTo}) {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    m_optOR->setChecked(true);
    ShowHourglass(false);
}

void frmSearch::fillPickLists()
{
    const Profile profile(IniPath());
    m_cboCategory->clear();
    m_cboCategory->addItem(kAny);
    m_cboCategory->addItems(ReadPickList(profile, QStringLiteral("Categories"),
                                         QStringLiteral("CategoryTotal"),
                                         QStringLiteral("Category.")));
    m_cboRating->clear();
    m_cboRating->addItem(kAny);
    m_cboRating->addItems(ReadPickList(profile, QStringLiteral("Ratings"),
                                       QStringLiteral("RatingTotal"), QStringLiteral("Rating.")));
    m_cboFormat->clear();
    m_cboFormat->addItems({kAny, QStringLiteral("VHS"), QStringLiteral("DVD")});

    QStringList years{QString()};
    for (int year = kFirstSearchYear; year <= lastSearchYear(); ++year)
        years << QString::number(year);
    for (QComboBox *box : {m_cboCopyrightFrom, m_cboCopyrightTo}) {
        box->clear();
        box->addItems(years);
    }
}

SearchEntries frmSearch::Entries() const
{
    SearchEntries entries;
    entries.title = m_txtTitle->text();
    entries.category = m_cboCategory->currentText();
    entries.rating = m_cboRating->currentText();
    entries.format = m_cboFormat->currentText();
    entries.copyrightFrom = m_cboCopyrightFrom->currentText();
    entries.copyrightTo = m_cboCopyrightTo->currentText();
    entries.valueFrom = m_txtValueFrom->text();
    entries.valueTo = m_txtValueTo->text();
    entries.condition = m_txtCondition->text();
    entries.starOne = m_txtStarOne->text();
    entries.starTwo = m_txtStarTwo->text();
    entries.starThree = m_txtStarThree->text();
    entries.starFour = m_txtStarFour->text();
    entries.producer = m_txtProducer->text();
    entries.director = m_txtDirector->text();
    entries.allStars = m_optAND->isChecked();
    return entries;
}

void frmSearch::cmdOK_Click()
{
    const SearchStatement statement = BuildSearchStatement(Entries());
    switch (statement.outcome) {
    case SearchStatement::Outcome::NoCriteria:
        MsgBox(QStringLiteral("You have not specified any criteria for your search."),
               vbInformation);
        return;
    case SearchStatement::Outcome::BadAmount:
        MsgBox(QStringLiteral("The value range must be amounts, such as $5.00."), vbInformation);
        return;
    case SearchStatement::Outcome::Statement:
        break;
    }
    if (!Apply(statement.sql))
        return;
    accept();
    DoEvents();
}

bool frmSearch::Apply(const QString &statement)
{
    QString error;
    bool applied = false;
    try {
        applied = m_target.ApplySearch(statement, &error);
    } catch (const StoreError &failure) {
        // Reported here: an exception must not cross the window's event loop.
        error = failure.message();
    }
    // An empty reason: the user chose to stay on the movie's unsaved changes and has already
    // answered the catalog window's question.
    if (!applied && !error.isEmpty())
        MsgBox(error, vbInformation);
    return applied;
}

void frmSearch::cmdCancel_Click()
{
    reject();
    DoEvents();
}

void frmSearch::keyPressEvent(QKeyEvent *event)
{
    // Escape is bound to nothing here: it must not close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
