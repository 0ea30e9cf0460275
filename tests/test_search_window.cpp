// The search window: its lists, keys and focus on its own, and searches run end to end through
// the catalog window on a real catalog.
#include "BoundControls.h"
#include "CatalogSchema.h"
#include "ListBox.h"
#include "Look.h"
#include "MessageBox.h"
#include "RibbonButton.h"
#include "SearchTarget.h"
#include "Settings.h"
#include "frmSearch.h"
#include "frmTarsel.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sqlite3.h>

#include <functional>
#include <memory>

namespace
{

const QString kNoCriteria = QStringLiteral("You have not specified any criteria for your search.");
const QString kBadAmount = QStringLiteral("The value range must be amounts, such as $5.00.");

// Takes the search in place of the catalog window: records each statement and accepts it.
class RecordingTarget : public SearchTarget
{
public:
    bool ApplySearch(const QString &statement, QString *) override
    {
        statements << statement;
        return true;
    }
    QStringList statements;
};

template <typename T> T *control(QWidget *window, const QString &name)
{
    return window->findChild<T *>(name);
}

// The named control of the window, or the control that holds the focus widget (an editable
// list's own edit field).
QString nameOf(QWidget *widget)
{
    while (widget && widget->objectName().isEmpty())
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

// Types `text` key by key; letters beyond ASCII arrive as the keyboard sends them.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            const auto key = Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
        }
    }
}

// An entry as the user makes it: a list entry chosen when the list has it, otherwise typed;
// text typed into a text box, which is then left with Tab; an option button clicked.
void enter(QWidget *window, const QString &field, const QString &value)
{
    if (auto *list = window->findChild<QComboBox *>(field)) {
        const int index = list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0) {
            list->setCurrentIndex(index);
        } else {
            list->setFocus();
            typeText(list, value);
        }
    } else if (auto *box = window->findChild<QLineEdit *>(field)) {
        box->setFocus();
        typeText(box, value);
        QTest::keyClick(box, Qt::Key_Tab);
    } else if (auto *option = window->findChild<QRadioButton *>(field)) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    } else {
        QFAIL(qPrintable(QStringLiteral("no field ") + field));
    }
}

// "field=value" pairs.
void enterAll(QWidget *window, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const qsizetype split = entry.indexOf(u'=');
        enter(window, entry.left(split), entry.mid(split + 1));
    }
}

void clickButton(QWidget *window, const char *name)
{
    QTest::mouseClick(control<QPushButton>(window, QLatin1String(name)), Qt::LeftButton);
}

QStringList listEntries(const frmTarsel &main)
{
    QStringList entries;
    for (int i = 0; i < main.lstMovies()->ListCount(); ++i)
        entries << main.lstMovies()->List(i);
    return entries;
}

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetUpFonts(); }
    void init();
    void cleanup();

    void windowFrame();
    void labelsNameTheirFields();
    void pickListsAfterLoading_data();
    void pickListsAfterLoading();
    void focusAndTabOrder();
    void enterAndEscapeDoNothing_data();
    void enterAndEscapeDoNothing();
    void pickListsRefuseTyping_data();
    void pickListsRefuseTyping();
    void moneyFields_data();
    void moneyFields();
    void entriesReachTheirColumns_data();
    void entriesReachTheirColumns();

    void searchesTheCatalog_data();
    void searchesTheCatalog();
    void refusedEntriesChangeNothing_data();
    void refusedEntriesChangeNothing();
    void cancelChangesNothingAndNextOpeningIsEmpty();
    void staysOpenWhenUserKeepsUnsavedChanges();
    void catalogRefusingTheSearchKeepsEverything();
    void rejectedStatementLeavesMainWindowAsItWas();

private:
    void writeSettings(const QString &fixture);
    std::unique_ptr<frmTarsel> openCatalog();
    // Opens the search window with the toolbar's Search button and runs `act` on it while it
    // is shown. Returns whether the window was still open afterwards (it is then cancelled).
    bool withSearchWindow(frmTarsel &main, const std::function<void(frmSearch *)> &act);

    std::unique_ptr<QTemporaryDir> m_folder;
    QStringList m_messages;
    QList<int> m_flags;
    int m_questionAnswer = vbYes;
    RecordingTarget m_target;
};

void TestSearchWindow::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    writeSettings(QStringLiteral("categories_and_ratings.ini"));
    m_messages.clear();
    m_flags.clear();
    m_questionAnswer = vbYes;
    m_target = RecordingTarget();
    SetMsgBoxHook([this](const QString &text, int flags) {
        m_messages << text;
        m_flags << flags;
        return (flags & vbYesNo) ? m_questionAnswer : int(vbOK);
    });
}

void TestSearchWindow::cleanup()
{
    SetMsgBoxHook(nullptr);
    m_folder.reset();
}

void TestSearchWindow::writeSettings(const QString &fixture)
{
    const QString path = iniPathFor(m_folder->path());
    QFile::remove(path);
    if (!fixture.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(REELWARDEN_TEST_DATA "/search/") + fixture, path));
    setIniPath(path);
}

std::unique_ptr<frmTarsel> TestSearchWindow::openCatalog()
{
    QFile movies(QStringLiteral(REELWARDEN_TEST_DATA "/search/movies_to_search.sql"));
    if (!movies.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray path = QFile::encodeName(m_folder->filePath(QStringLiteral("movies.mdb")));
    sqlite3 *db = nullptr;
    sqlite3_open(path.constData(), &db);
    const QByteArray sql = QByteArray(kCatalogSchemaSql) + movies.readAll();
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        return nullptr;
    auto main = std::make_unique<frmTarsel>(m_folder->path());
    main->Load();
    main->show();
    if (!QTest::qWaitForWindowActive(main.get()))
        return nullptr;
    return main;
}

bool TestSearchWindow::withSearchWindow(frmTarsel &main,
                                        const std::function<void(frmSearch *)> &act)
{
    bool stayedOpen = false;
    int waits = 0;
    // The toolbar lets pending events run before it opens the window: wait until it is shown.
    QTimer timer; // dies with this call, so it never fires into a later test
    connect(&timer, &QTimer::timeout, this, [&] {
        auto *window = main.findChild<frmSearch *>();
        if (!window || !window->isVisible())
            return;
        // Focus moves, and so the money fields' formatting, need the window to be active.
        if (!window->isActiveWindow() && ++waits < 200) {
            window->activateWindow();
            return;
        }
        timer.stop();
        act(window);
        stayedOpen = window->isVisible();
        if (stayedOpen)
            window->reject();
    });
    timer.start(5);
    main.cmdToolbar(5)->setValue(true);
    return stayedOpen;
}

// ---- The window on its own ----------------------------------------------------------------

void TestSearchWindow::windowFrame()
{
    frmSearch window(m_target);
    QCOMPARE(window.objectName(), QStringLiteral("frmSearch"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Search"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!QApplication::overrideCursor()); // the busy pointer is off once loaded
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The buttons lie over the container's corner and must be drawn above it.
    for (const char *name : {"cmdOK", "cmdCancel"}) {
        auto *button = control<QPushButton>(&window, QLatin1String(name));
        QCOMPARE(window.childAt(button->geometry().center()), button);
        QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

void TestSearchWindow::labelsNameTheirFields()
{
    frmSearch window(m_target);
    const QList<QLabel *> labels =
        window.findChildren<QLabel *>(QRegularExpression(QStringLiteral(R"(^Label1\(\d+\)$)")));
    QCOMPARE(labels.size(), 15);
    QSet<QWidget *> fields;
    for (QLabel *label : labels) {
        QWidget *field = label->buddy();
        QVERIFY2(field, qPrintable(label->objectName()));
        fields << field;
        // A caption stands on its field's row, left of the field.
        const QRect box = field->geometry();
        QVERIFY(label->geometry().center().y() > box.top());
        QVERIFY(label->geometry().center().y() < box.bottom());
        QVERIFY(label->geometry().right() < box.left());
        QVERIFY(!field->accessibleName().isEmpty());
    }
    QCOMPARE(fields.size(), 15);
}

void TestSearchWindow::pickListsAfterLoading_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<QStringList>("ratings");
    QTest::newRow("settings with lists")
        << "categories_and_ratings.ini"
        << QStringList{"ANY", "Comedy", "Drama", "", "Thriller", "Western"}
        << QStringList{"ANY", "G", "PG", "R", "NR"};
    QTest::newRow("no settings file") << "" << QStringList{"ANY"} << QStringList{"ANY"};
}

void TestSearchWindow::pickListsAfterLoading()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, categories);
    QFETCH(QStringList, ratings);
    writeSettings(settings);
    frmSearch window(m_target);
    auto items = [&](const char *name) {
        auto *list = control<QComboBox>(&window, QLatin1String(name));
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    };
    QCOMPARE(items("cboCategory"), categories);
    QCOMPARE(items("cboRating"), ratings);
    QCOMPARE(items("cboFormat"), (QStringList{"ANY", "VHS", "DVD"}));

    const int lastYear = std::max(2025, QDate::currentDate().year());
    for (const char *name : {"cboCopyrightFrom", "cboCopyrightTo"}) {
        const QStringList years = items(name);
        QCOMPARE(years.size(), 1 + lastYear - 1925 + 1); // 102 while the year is 2025
        QCOMPARE(years.first(), QString());
        QCOMPARE(years.at(1), QStringLiteral("1925"));
        QCOMPARE(years.last(), QString::number(lastYear));
        QVERIFY(!years.contains(QStringLiteral("1924")));
        for (int i = 2; i < years.size(); ++i)
            QCOMPARE(years.at(i).toInt(), years.at(i - 1).toInt() + 1);
    }
    for (auto *list : window.findChildren<QComboBox *>()) {
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->currentText(), QString());
        QVERIFY(list->isEditable());
        QVERIFY(!list->completer());
    }
    QVERIFY(control<QRadioButton>(&window, "optOR")->isChecked());
    QVERIFY(!control<QRadioButton>(&window, "optAND")->isChecked());
}

void TestSearchWindow::focusAndTabOrder()
{
    frmSearch window(m_target);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(nameOf(QApplication::focusWidget()), QStringLiteral("txtTitle"));
    const QStringList order{"txtTitle",     "cboCategory", "cboRating",        "cboFormat",
                            "txtValueFrom", "txtValueTo",  "cboCopyrightFrom", "cboCopyrightTo",
                            "txtCondition", "txtStarOne",  "txtStarTwo",       "txtStarThree",
                            "txtStarFour",  "txtProducer", "txtDirector",      "optOR",
                            "optAND",       "cmdOK",       "cmdCancel"};
    QStringList chain;
    QWidget *widget = control<QWidget>(&window, "txtTitle");
    do {
        if (order.contains(widget->objectName()))
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && nameOf(widget) != QStringLiteral("txtTitle"));
    QCOMPARE(chain, order);

    // Tab visits the controls in that order; the two option buttons are one stop.
    QStringList visited{nameOf(QApplication::focusWidget())};
    for (int i = 0; i < 18; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << nameOf(QApplication::focusWidget());
    }
    QCOMPARE(visited.count(QStringLiteral("optOR")) + visited.count(QStringLiteral("optAND")), 1);
    QStringList expected = order;
    expected.removeOne(visited.contains(QStringLiteral("optOR")) ? "optAND" : "optOR");
    expected << QStringLiteral("txtTitle");
    QCOMPARE(visited, expected);
}

void TestSearchWindow::enterAndEscapeDoNothing_data()
{
    QTest::addColumn<QString>("field");
    for (const char *field : {"txtTitle", "cboCategory", "cboFormat", "txtValueFrom", "optAND"})
        QTest::newRow(field) << field;
}

void TestSearchWindow::enterAndEscapeDoNothing()
{
    QFETCH(QString, field);
    frmSearch window(m_target);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    enter(&window, QStringLiteral("txtTitle"), QStringLiteral("night*")); // OK would search
    window.findChild<QWidget *>(field)->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(window.isVisible());
    }
    QCOMPARE(m_target.statements, QStringList());
    QCOMPARE(control<QLineEdit>(&window, "txtTitle")->text(), QStringLiteral("night*"));
}

void TestSearchWindow::pickListsRefuseTyping_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("takesTyping");
    for (const char *list : {"cboCategory", "cboRating", "cboCopyrightFrom", "cboCopyrightTo"})
        QTest::newRow(list) << list << false;
    QTest::newRow("cboFormat") << "cboFormat" << true;
}

void TestSearchWindow::pickListsRefuseTyping()
{
    QFETCH(QString, list);
    QFETCH(bool, takesTyping);
    frmSearch window(m_target);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *box = control<QComboBox>(&window, list);
    box->setCurrentIndex(2);
    const QString chosen = box->currentText();
    box->setFocus();
    box->lineEdit()->end(false);
    QTest::keyClicks(box, QStringLiteral("Laser 9"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->currentText(), takesTyping ? chosen + QStringLiteral("Laser ") : chosen);
    if (!takesTyping)
        QCOMPARE(box->currentIndex(), 2);
}

void TestSearchWindow::moneyFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterLeaving");
    struct Case {
        const char *name, *typed, *shown, *afterLeaving;
    };
    const Case cases[] = {
        {"letters and signs refused", "a-$,7+ ", "7", "$7.00"},
        {"second point refused", "..5", ".5", "$0.50"},
        {"grouped when left", "1234", "1234", "$1,234.00"},
        {"backspace works", "12\b3", "13", "$13.00"},
        {"empty stays empty", "", "", ""},
    };
    for (const Case &c : cases) // the upper bound's box is the same kind: one case for it
        QTest::addRow("txtValueFrom: %s", c.name) << "txtValueFrom" << c.typed << c.shown
                                                  << c.afterLeaving;
    QTest::newRow("txtValueTo") << "txtValueTo" << "1.2.3a" << "1.23" << "$1.23";
}

void TestSearchWindow::moneyFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, afterLeaving);
    frmSearch window(m_target);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *box = control<QLineEdit>(&window, field);
    box->setFocus();
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), shown);
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
    QCOMPARE(box->text(), afterLeaving);
}

void TestSearchWindow::entriesReachTheirColumns_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("fragment");
    auto row = [](const char *name, const QStringList &entries, const char *fragment) {
        QTest::newRow(name) << entries << QString::fromUtf8(fragment);
    };
    row("format typed", {"cboFormat=any"}, "[Format] = 'any'");
    row("values", {"txtValueFrom=5", "txtValueTo=1234"}, "[Value] >= 5.00 AND [Value] <= 1234.00");
    for (const char *star : {"txtStarOne", "txtStarTwo", "txtStarThree", "txtStarFour"})
        row(star, {QStringLiteral("%1=Holt").arg(QLatin1String(star))}, "[StarFour] LIKE 'Holt'");
    row("stars any again", {"txtStarOne=Grey", "txtStarTwo=Holt", "optAND=", "optOR="}, ") OR (");
    row("director", {"txtDirector=Lund*"}, "[Director] LIKE 'Lund%'");
}

void TestSearchWindow::entriesReachTheirColumns()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, fragment);
    frmSearch window(m_target);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    enterAll(&window, entries);
    clickButton(&window, "cmdOK");
    QCOMPARE(m_target.statements.size(), 1);
    QVERIFY2(m_target.statements.first().contains(fragment),
             qPrintable(m_target.statements.first()));
}

// ---- Searches through the catalog window ----------------------------------------------------

void TestSearchWindow::searchesTheCatalog_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("found");
    auto row = [](const char *name, const QStringList &entries, const QStringList &found) {
        QTest::newRow(name) << entries << found;
    };
    row("title prefix", {"txtTitle=NIGHT*"}, {"Night Train", "Nightfall"});
    row("apostrophe in title", {"txtTitle=O'Brien*"}, {"O'Brien's Run"});
    row("apostrophe in producer", {"txtProducer=*O'Brien"}, {"Night Train", "O'Brien's Run"});
    row("non-ASCII letter in other case", {"txtTitle=amé*"}, {"AMÉLIE"});
    row("any of the stars", {"txtStarOne=*Grey", "txtStarTwo=Tom Holt"},
        {"Night Train", "Nightfall", "O'Brien's Run", "The Last Stand"});
    row("all of the stars", {"txtStarOne=*Grey", "txtStarTwo=Tom Holt", "optAND="},
        {"Night Train", "The Last Stand"});
    row("any star with a director", {"txtStarOne=*Holt", "txtStarFour=Anna*", "txtDirector=Lund"},
        {"Night Train"});
    row("to year only, older years too", {"cboCopyrightTo=1943"},
        {"O'Brien's Run", "Day of Wrath", "The Last Stand"});
    row("year range", {"cboCopyrightFrom=1950", "cboCopyrightTo=1990"},
        {"Night Train", "Nightfall"});
    row("value range $5.00 to $1,234.00", {"txtValueFrom=5", "txtValueTo=1234"},
        {"Nightfall", "Night Train", "AMÉLIE", "Late Spring", "The Last Stand"});
    row("category and format", {"cboCategory=Drama", "cboFormat=VHS"},
        {"O'Brien's Run", "Day of Wrath"});
    row("typed format in other case", {"cboFormat=dvd", "cboRating=PG"},
        {"Night Train", "The Last Stand"});
    row("condition", {"txtCondition=worn"}, {"Nightfall", "O'Brien's Run"});
    row("nothing matches", {"txtTitle=Zz*"}, {});
}

void TestSearchWindow::searchesTheCatalog()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, found);
    auto main = openCatalog();
    QVERIFY(main);
    QString valuesShown;
    const bool stayedOpen = withSearchWindow(*main, [&](frmSearch *window) {
        enterAll(window, entries);
        valuesShown = control<QLineEdit>(window, "txtValueFrom")->text() + u'|' +
                      control<QLineEdit>(window, "txtValueTo")->text();
        clickButton(window, "cmdOK");
    });
    QVERIFY(!stayedOpen);
    QCOMPARE(m_messages, QStringList());
    if (entries.contains(QStringLiteral("txtValueTo=1234")))
        QCOMPARE(valuesShown, QStringLiteral("$5.00|$1,234.00"));
    QStringList listed = listEntries(*main);
    listed.sort();
    found.sort();
    QCOMPARE(listed, found);
    QVERIFY(main->dataMovies().RecordSource().startsWith(
        QStringLiteral("SELECT * FROM [Movies] WHERE ")));
    if (found.isEmpty()) {
        QCOMPARE(main->lstMovies()->ListIndex(), -1);
        QVERIFY(!main->cmdToolbar(1)->isEnabled());
    } else {
        QCOMPARE(main->lstMovies()->ListIndex(), 0);
        QCOMPARE(main->txtTitle()->text(), main->lstMovies()->List(0));
        QVERIFY(main->cmdToolbar(1)->isEnabled());
    }
    QVERIFY(main->picToolbar()->isEnabled());

    // Clear shows every movie again.
    main->cmdToolbar(6)->setValue(true);
    QCOMPARE(main->lstMovies()->ListCount(), 7);
    QCOMPARE(main->lstMovies()->ListIndex(), 0);
    QCOMPARE(main->dataMovies().RecordSource(), QStringLiteral("SELECT * FROM [Movies]"));
}

void TestSearchWindow::refusedEntriesChangeNothing_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("pastedValueTo");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing entered") << QStringList() << "" << kNoCriteria;
    QTest::newRow("ANY chosen, both options")
        << QStringList{"cboCategory=ANY", "cboRating=ANY", "optAND=", "optOR="} << ""
        << kNoCriteria;
    QTest::newRow("lowest value only") << QStringList{"txtValueFrom=5"} << "" << kNoCriteria;
    QTest::newRow("pasted text as a bound")
        << QStringList{"txtDirector=Lund*", "txtValueFrom=5"} << "about ten" << kBadAmount;
}

void TestSearchWindow::refusedEntriesChangeNothing()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, pastedValueTo);
    QFETCH(QString, message);
    auto main = openCatalog();
    QVERIFY(main);
    main->lstMovies()->setListIndex(3);
    const QString shown = main->txtTitle()->text();
    QString valueFromAfter;
    const bool stayedOpen = withSearchWindow(*main, [&](frmSearch *window) {
        enterAll(window, entries);
        if (!pastedValueTo.isEmpty())
            control<QLineEdit>(window, "txtValueTo")->setText(pastedValueTo);
        clickButton(window, "cmdOK");
        valueFromAfter = control<QLineEdit>(window, "txtValueFrom")->text();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_messages, QStringList{message});
    QCOMPARE(m_flags, QList<int>{64});
    QCOMPARE(valueFromAfter,
             QString::fromLatin1(entries.contains("txtValueFrom=5") ? "$5.00" : ""));
    QCOMPARE(main->dataMovies().RecordSource(), QStringLiteral("SELECT * FROM [Movies]"));
    QCOMPARE(main->lstMovies()->ListCount(), 7);
    QCOMPARE(main->lstMovies()->ListIndex(), 3);
    QCOMPARE(main->txtTitle()->text(), shown);
}

void TestSearchWindow::cancelChangesNothingAndNextOpeningIsEmpty()
{
    auto main = openCatalog();
    QVERIFY(main);
    withSearchWindow(*main, [&](frmSearch *window) {
        enter(window, "txtTitle", "night*");
        clickButton(window, "cmdOK");
    });
    QCOMPARE(main->lstMovies()->ListCount(), 2);
    main->lstMovies()->setListIndex(1);
    const QString source = main->dataMovies().RecordSource();

    for (bool closeButton : {false, true}) {
        const bool stayedOpen = withSearchWindow(*main, [&](frmSearch *window) {
            enterAll(window, {"txtTitle=*", "cboCategory=Drama", "cboFormat=DVD", "optAND=",
                              "cboCopyrightTo=1999", "txtStarTwo=Holt", "txtValueFrom=3"});
            if (closeButton)
                window->close();
            else
                clickButton(window, "cmdCancel");
        });
        QVERIFY(!stayedOpen);
        QCOMPARE(main->dataMovies().RecordSource(), source);
        QCOMPARE(main->lstMovies()->ListCount(), 2);
        QCOMPARE(main->lstMovies()->ListIndex(), 1);
        QCOMPARE(main->txtTitle()->text(), main->lstMovies()->List(1));
    }

    withSearchWindow(*main, [&](frmSearch *window) {
        for (auto *box : window->findChildren<QLineEdit *>())
            QCOMPARE(box->text(), QString());
        for (auto *list : window->findChildren<QComboBox *>())
            QCOMPARE(list->currentIndex(), -1);
        QVERIFY(control<QRadioButton>(window, "optOR")->isChecked());
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(window, "txtTitle"));
    });
    QCOMPARE(m_messages, QStringList());
}

void TestSearchWindow::staysOpenWhenUserKeepsUnsavedChanges()
{
    auto main = openCatalog();
    QVERIFY(main);
    const QString current = main->txtTitle()->text();
    const QString other = main->lstMovies()->List(1);
    main->txtTitle()->setText(other); // a duplicate title: the change cannot be written
    m_questionAnswer = vbNo;
    QString titleAfter;
    const bool stayedOpen = withSearchWindow(*main, [&](frmSearch *window) {
        enter(window, "txtDirector", "Lund*");
        clickButton(window, "cmdOK");
        titleAfter = control<QLineEdit>(window, "txtDirector")->text();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_messages.size(), 1); // the catalog window's question, and nothing more
    QCOMPARE(titleAfter, QStringLiteral("Lund*"));
    QCOMPARE(main->dataMovies().RecordSource(), QStringLiteral("SELECT * FROM [Movies]"));
    QCOMPARE(main->lstMovies()->ListCount(), 7);
    QCOMPARE(main->txtTitle()->text(), other);
    QVERIFY(current != other);
}

void TestSearchWindow::catalogRefusingTheSearchKeepsEverything()
{
    auto main = openCatalog();
    QVERIFY(main);
    main->lstMovies()->setListIndex(2);
    const QString shown = main->txtTitle()->text();
    // Another program takes the Director column away while the catalog is open.
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(m_folder->filePath("movies.mdb")).constData(), &db);
    QCOMPARE(sqlite3_exec(db, "ALTER TABLE Movies DROP COLUMN Director", nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);

    QString directorAfter;
    const bool stayedOpen = withSearchWindow(*main, [&](frmSearch *window) {
        enter(window, "txtDirector", "Lund*");
        clickButton(window, "cmdOK");
        directorAfter = control<QLineEdit>(window, "txtDirector")->text();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(QStringLiteral("Director")),
             qPrintable(m_messages.first()));
    QCOMPARE(m_flags, QList<int>{64});
    QCOMPARE(directorAfter, QStringLiteral("Lund*"));
    QCOMPARE(main->dataMovies().RecordSource(), QStringLiteral("SELECT * FROM [Movies]"));
    QCOMPARE(main->lstMovies()->ListCount(), 7);
    QCOMPARE(main->lstMovies()->ListIndex(), 2);
    QCOMPARE(main->txtTitle()->text(), shown);
}

void TestSearchWindow::rejectedStatementLeavesMainWindowAsItWas()
{
    auto main = openCatalog();
    QVERIFY(main);
    withSearchWindow(*main, [&](frmSearch *window) {
        enter(window, "cboCategory", "Drama");
        clickButton(window, "cmdOK");
    });
    main->lstMovies()->setListIndex(2);
    const QString source = main->dataMovies().RecordSource();
    const QStringList entries = listEntries(*main);
    const QString shown = main->txtTitle()->text();

    QString error;
    QVERIFY(
        !main->ApplySearch(QStringLiteral("SELECT * FROM [Movies] WHERE [Nonesuch] = 1"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(main->dataMovies().RecordSource(), source);
    QCOMPARE(listEntries(*main), entries);
    QCOMPARE(main->lstMovies()->ListIndex(), 2);
    QCOMPARE(main->txtTitle()->text(), shown);
}

QTEST_MAIN(TestSearchWindow)
#include "test_search_window.moc"
