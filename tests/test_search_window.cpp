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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sqlite3.h>

namespace
{

// Patterns for the whole of a message box's "flags|text".
const QString kNoCriteria =
    QRegularExpression::escape("64|You have not specified any criteria for your search.");
const QString kBadAmount =
    QRegularExpression::escape("64|The value range must be amounts, such as $5.00.");
const QString kAllMovies = QStringLiteral("SELECT * FROM [Movies]");

// Stands in for the catalog window when the search window is tried on its own.
struct RecordingTarget : SearchTarget {
    bool ApplySearch(const QString &statement, QString *) override
    {
        statements << statement;
        return true;
    }
    QStringList statements;
};

// The named control holding `widget` (an editable list holds its own edit field).
QString nameOf(QWidget *widget)
{
    while (widget && widget->objectName().isEmpty())
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

// An entry as the user makes it: an option button clicked, a list's entry chosen when the list
// has it, otherwise the text typed key by key (and a text box left with Tab). Letters beyond
// ASCII arrive as the keyboard sends them. "paste FIELD" sets the text instead.
void enter(QWidget *window, const QString &field, const QString &value)
{
    auto *widget = window->findChild<QWidget *>(field.section(u' ', -1));
    QVERIFY2(widget, qPrintable(field));
    auto *list = qobject_cast<QComboBox *>(widget);
    const int index = list ? list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    if (field.startsWith(QLatin1String("paste "))) {
        qobject_cast<QLineEdit *>(widget)->setText(value);
    } else if (qobject_cast<QRadioButton *>(widget)) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    } else if (index >= 0) {
        list->setCurrentIndex(index);
    } else {
        widget->setFocus();
        for (QChar c : value)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), c, {});
        if (!list)
            QTest::keyClick(widget, Qt::Key_Tab);
    }
}

// What every entry of the window shows, and the chosen stars option.
QStringList entriesShown(QWidget *window)
{
    QStringList shown;
    for (auto *box : window->findChildren<QLineEdit *>())
        shown << box->text();
    for (const char *option : {"optOR", "optAND"})
        if (window->findChild<QRadioButton *>(QLatin1String(option))->isChecked())
            shown << QLatin1String(option);
    return shown;
}

// The catalog window's statement, selection and shown title, then its list.
QStringList stateOf(frmTarsel &main)
{
    QStringList state{main.dataMovies().RecordSource(),
                      QString::number(main.lstMovies()->ListIndex()), main.txtTitle()->text()};
    for (int i = 0; i < main.lstMovies()->ListCount(); ++i)
        state << main.lstMovies()->List(i);
    return state;
}

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QStringList m_messages;
    RecordingTarget m_target;
    QStringList m_entered, m_kept; // the search window's entries before and after its button

    void writeSettings(const QString &fixture)
    {
        const QString path = iniPathFor(m_folder->path());
        QFile::remove(path);
        if (!fixture.isEmpty())
            QVERIFY(QFile::copy(REELWARDEN_TEST_DATA "/search/" + fixture, path));
        setIniPath(path);
    }

    // The window shown and active, or nothing.
    template <typename W> static std::unique_ptr<W> shown(std::unique_ptr<W> window)
    {
        window->show();
        return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
    }
    std::unique_ptr<frmSearch> openWindow() { return shown(std::make_unique<frmSearch>(m_target)); }

    std::unique_ptr<frmTarsel> openCatalog()
    {
        QFile rows(QStringLiteral(REELWARDEN_TEST_DATA "/search/movies_to_search.sql"));
        const QByteArray sql =
            kCatalogSchemaSql + (rows.open(QIODevice::ReadOnly) ? rows.readAll() : "no rows");
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(m_folder->filePath("movies.mdb")).constData(), &db);
        const bool made = sqlite3_exec(db, sql.constData(), {}, {}, {}) == SQLITE_OK;
        sqlite3_close(db);
        auto main = std::make_unique<frmTarsel>(m_folder->path());
        main->Load();
        return made ? shown(std::move(main)) : nullptr;
    }

    // Opens the search window with the toolbar's Search button and, once it is shown and
    // active, makes the "field=value" entries and presses `button` ("close": the close button;
    // none: nothing). Says what became of the window; one left open is then cancelled.
    QString search(frmTarsel &main, const QStringList &entries, const QString &button = "cmdOK")
    {
        QString outcome = QStringLiteral("never shown");
        int waits = 0;
        QTimer timer; // dies with this call, so it never fires into a later test
        connect(&timer, &QTimer::timeout, this, [&] {
            auto *window = main.findChild<frmSearch *>();
            if (!window || !window->isVisible())
                return;
            // Focus moves, and so the money fields' formatting, need the window to be active.
            if (!window->isActiveWindow() && ++waits < 200)
                return window->activateWindow();
            timer.stop();
            for (const QString &entry : entries)
                enter(window, entry.section(u'=', 0, 0), entry.section(u'=', 1));
            m_entered = entriesShown(window);
            if (button == QLatin1String("close"))
                window->close();
            else if (!button.isEmpty())
                QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
            m_kept = entriesShown(window);
            const bool open = window->isVisible();
            outcome = QLatin1String(open ? "stayed open" : "closed");
            if (open)
                window->reject();
        });
        timer.start(5);
        main.cmdToolbar(5)->setValue(true);
        return outcome;
    }

  private slots:
    void initTestCase() { SetUpFonts(); }
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        writeSettings(QStringLiteral("categories_and_ratings.ini"));
        m_messages.clear();
        m_target.statements.clear();
        SetMsgBoxHook([this](const QString &text, int flags) {
            m_messages << QString::number(flags) + u'|' + text;
            return (flags & vbYesNo) ? int(vbNo) : int(vbOK); // No: keep the unsaved changes
        });
    }
    void cleanup() { SetMsgBoxHook(nullptr); }

    // ---- The window on its own --------------------------------------------------------------

    void loadedWindow_data()
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
    void loadedWindow()
    {
        QFETCH(QString, settings);
        QFETCH(QStringList, categories);
        QFETCH(QStringList, ratings);
        writeSettings(settings);
        auto window = openWindow();
        QVERIFY(window);
        QVERIFY(!QApplication::overrideCursor()); // the busy pointer is off once loaded
        QCOMPARE(window->objectName() + u'|' + window->windowTitle(),
                 QStringLiteral("frmSearch|Search"));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        const auto frame =
            Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
        QCOMPARE(window->windowFlags() & frame, Qt::WindowFlags(Qt::WindowCloseButtonHint));
        // The buttons lie over the container's corner and must be drawn above it.
        for (const char *name : {"cmdOK", "cmdCancel"}) {
            auto *button = window->findChild<QPushButton *>(QLatin1String(name));
            QCOMPARE(window->childAt(button->geometry().center()), button);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
        // Each caption names a field of its own and stands on the field's row, left of it.
        QSet<QWidget *> fields;
        for (QLabel *label : window->findChildren<QLabel *>()) {
            QWidget *field = label->buddy();
            QVERIFY2(field && !field->accessibleName().isEmpty(), qPrintable(label->text()));
            fields << field;
            const QRect box = field->geometry(), caption = label->geometry();
            QVERIFY2(caption.center().y() > box.top() && caption.center().y() < box.bottom() &&
                         caption.right() < box.left(),
                     qPrintable(label->text()));
        }
        QCOMPARE(fields.size(), 15);

        QStringList years{QString()}; // from 1925 to this year, never before 2025
        for (int year = 1925; year <= std::max(2025, QDate::currentDate().year()); ++year)
            years << QString::number(year);
        const QMap<QString, QStringList> lists{{"cboCategory", categories},
                                               {"cboRating", ratings},
                                               {"cboFormat", {"ANY", "VHS", "DVD"}},
                                               {"cboCopyrightFrom", years},
                                               {"cboCopyrightTo", years}};
        for (QComboBox *list : window->findChildren<QComboBox *>()) {
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->itemText(i);
            QCOMPARE(items, lists.value(list->objectName()));
            QCOMPARE(list->currentIndex(), -1);
            QVERIFY(list->isEditable() && !list->completer());
        }
        QCOMPARE(entriesShown(window.get()), QStringList(15, QString()) << "optOR");

        QCOMPARE(nameOf(QApplication::focusWidget()), QStringLiteral("txtTitle"));
        // Tab visits the controls in this order and comes back; the two options are one stop.
        const QStringList order{"txtTitle",     "cboCategory", "cboRating",        "cboFormat",
                                "txtValueFrom", "txtValueTo",  "cboCopyrightFrom", "cboCopyrightTo",
                                "txtCondition", "txtStarOne",  "txtStarTwo",       "txtStarThree",
                                "txtStarFour",  "txtProducer", "txtDirector",      "optOR",
                                "optAND",       "cmdOK",       "cmdCancel",        "txtTitle"};
        for (const char *chosen : {"optOR", "optAND"}) {
            enter(window.get(), QLatin1String(chosen), QString());
            window->findChild<QWidget *>("txtTitle")->setFocus();
            QStringList visited{nameOf(QApplication::focusWidget())};
            for (int i = 0; i < 18; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                visited << nameOf(QApplication::focusWidget());
            }
            QCOMPARE(visited.count("optOR") + visited.count("optAND"), 1);
            QStringList expected = order;
            expected.removeOne(visited.contains("optOR") ? "optAND" : "optOR");
            QCOMPARE(visited, expected);
        }
    }

    // Keys typed into a field (after picking a list's third entry) and what it shows then and
    // once left with Tab. Enter and Escape do nothing there, though OK would search.
    void typing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterLeaving");
        auto row = [](const char *name, const char *field, const char *typed, const char *shown,
                      const char *afterLeaving) {
            QTest::newRow(name) << field << typed << shown << afterLeaving;
        };
        row("title", "txtTitle", "night*", "night*", "night*");
        row("stars option", "optAND", "", "", "");
        for (const char *list : {"cboCategory", "cboRating", "cboCopyrightFrom", "cboCopyrightTo"})
            row(list, list, "Laser 9\b", "", "");
        row("format takes typing", "cboFormat", "Laser 9\b", "DVDLaser ", "DVDLaser ");
        row("money: letters and signs refused", "txtValueFrom", "a-$,7+ ", "7", "$7.00");
        row("money: second point refused", "txtValueFrom", "..5", ".5", "$0.50");
        row("money: grouped when left", "txtValueFrom", "1234", "1234", "$1,234.00");
        row("money: backspace works", "txtValueFrom", "12\b3", "13", "$13.00");
        row("money: empty stays empty", "txtValueFrom", "", "", "");
        row("money: upper bound", "txtValueTo", "1.2.3a", "1.23", "$1.23");
    }
    void typing()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, afterLeaving);
        auto window = openWindow();
        QVERIFY(window);
        enter(window.get(), "txtDirector", "Lund*");
        auto *widget = window->findChild<QWidget *>(field);
        auto *list = qobject_cast<QComboBox *>(widget);
        auto *box = list ? list->lineEdit() : qobject_cast<QLineEdit *>(widget);
        const auto text = [box] { return box ? box->text() : QString(); };
        if (list)
            list->setCurrentIndex(2);
        if (list && shown.isEmpty()) // a list refusing typing keeps the entry chosen
            shown = afterLeaving = list->currentText();
        widget->setFocus();
        QTest::keyClicks(widget, typed);
        QCOMPARE(text(), shown);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(window->isVisible() && !widget->hasFocus());
        QCOMPARE(m_target.statements, QStringList());
        QCOMPARE(text(), afterLeaving);
        QCOMPARE(list ? list->currentIndex() : 2, 2);
    }

    // ---- Searches through the catalog window ------------------------------------------------

    void searchesTheCatalog_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("found");
        auto row = [](const char *name, const QStringList &entries, const QStringList &found) {
            QTest::newRow(name) << entries << found;
        };
        row("non-ASCII letter in other case", {"txtTitle=amé*"}, {"AMÉLIE"});
        row("apostrophe", {"txtProducer=*O'Brien"}, {"Night Train", "O'Brien's Run"});
        // ALL chosen and then ANY again: a movie with any one of the stars.
        row("any of the stars", {"txtStarOne=*Grey", "txtStarTwo=Tom Holt", "optAND=", "optOR="},
            {"Night Train", "Nightfall", "O'Brien's Run", "The Last Stand"});
        row("all of the stars", {"txtStarOne=*Grey", "txtStarTwo=Tom Holt", "optAND="},
            {"Night Train", "The Last Stand"});
        row("any star with a director",
            {"txtStarThree=*Holt", "txtStarFour=Anna*", "txtDirector=Lund"}, {"Night Train"});
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
        row("typed 'any' is a format, matching none", {"cboFormat=any"}, {});
    }
    void searchesTheCatalog()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, found);
        auto main = openCatalog();
        QVERIFY(main);
        QCOMPARE(search(*main, entries), QStringLiteral("closed"));
        QCOMPARE(m_messages, QStringList());
        QStringList state = stateOf(*main);
        QVERIFY2(state[0].startsWith(kAllMovies + " WHERE "), qPrintable(state[0]));
        QCOMPARE(state[1].toInt(), found.isEmpty() ? -1 : 0);
        QCOMPARE(state[2], found.isEmpty() ? QString() : state[3]);
        state = state.mid(3);
        state.sort();
        found.sort();
        QCOMPARE(state, found);
        QCOMPARE(main->cmdToolbar(1)->isEnabled(), !found.isEmpty());
        QVERIFY(main->picToolbar()->isEnabled());

        main->cmdToolbar(6)->setValue(true); // Clear: every movie again
        QCOMPARE(stateOf(*main).mid(0, 2), (QStringList{kAllMovies, "0"}));
        QCOMPARE(main->lstMovies()->ListCount(), 7);
    }

    void searchNotApplied_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message"); // a pattern; none: the window closes silently
        auto row = [](const char *name, const QStringList &entries, const QString &message,
                      const char *button = "cmdOK", const char *setUp = "") {
            QTest::newRow(name) << QString(setUp) << entries << QString(button) << message;
        };
        const QStringList all{"txtTitle=*",    "cboCategory=Drama",   "cboFormat=DVD",
                              "optAND=",       "cboCopyrightTo=1999", "txtStarTwo=Holt",
                              "txtValueFrom=3"};
        row("cancelled", all, "", "cmdCancel");
        row("closed", all, "", "close");
        row("nothing entered", {}, kNoCriteria);
        row("ANY chosen, both options", {"cboCategory=ANY", "cboRating=ANY", "optAND=", "optOR="},
            kNoCriteria);
        row("lowest value only", {"txtValueFrom=5"}, kNoCriteria);
        row("pasted text as a bound",
            {"txtDirector=Lund*", "txtValueFrom=5", "paste txtValueTo=ten"}, kBadAmount);
        row("user keeps unsaved changes", {"txtDirector=Lund*"},
            "292\\|.*\n\nDiscard the changes to this movie\\?", "cmdOK", "duplicate title typed");
        row("catalog refuses the statement", {"txtDirector=Lund*"}, "64\\|.*Director.*", "cmdOK",
            "Director column dropped");
    }
    // Each follows a first search, so the list kept is not the whole catalog; the next opening
    // of the window is empty again.
    void searchNotApplied()
    {
        QFETCH(QString, setUp);
        QFETCH(QStringList, entries);
        QFETCH(QString, button);
        QFETCH(QString, message);
        auto main = openCatalog();
        QVERIFY(main);
        QCOMPARE(search(*main, {"cboCategory=Drama"}), QStringLiteral("closed"));
        QCOMPARE(main->lstMovies()->ListCount(), 4);
        main->lstMovies()->setListIndex(2);
        if (setUp == QLatin1String("duplicate title typed")) {
            main->txtTitle()->setText(main->lstMovies()->List(1));
        } else if (setUp == QLatin1String("Director column dropped")) { // by another program
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(m_folder->filePath("movies.mdb")).constData(), &db);
            QCOMPARE(sqlite3_exec(db, "ALTER TABLE Movies DROP COLUMN Director", {}, {}, {}), 0);
            sqlite3_close(db);
        }
        const QStringList before = stateOf(*main);
        QCOMPARE(search(*main, entries, button),
                 QString::fromLatin1(message.isEmpty() ? "closed" : "stayed open"));
        QCOMPARE(stateOf(*main), before);
        QCOMPARE(m_messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(m_kept, m_entered);
            const QRegularExpression pattern(QRegularExpression::anchoredPattern(message),
                                             QRegularExpression::DotMatchesEverythingOption);
            QVERIFY2(pattern.match(m_messages[0]).hasMatch(), qPrintable(m_messages[0]));
        }
        QCOMPARE(search(*main, {}, QString()), QStringLiteral("stayed open"));
        QCOMPARE(m_entered, QStringList(15, QString()) << "optOR");
    }
};

QTEST_MAIN(TestSearchWindow)
#include "test_search_window.moc"
