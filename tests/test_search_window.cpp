// The search window: its lists, keys and focus on its own, and searches run end to end through
// the catalog window on a real catalog.
#include "Look.h"
#include "SearchTarget.h"
#include "Settings.h"
#include "TestSupport.h"
#include "frmSearch.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace
{

// Stands in for the catalog window when the search window is tried on its own.
struct RecordingTarget : SearchTarget {
    bool ApplySearch(const QString &statement, QString *) override
    {
        statements << statement;
        return true;
    }
    QStringList statements;
};

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
QString entriesShown(QWidget *window)
{
    QStringList shown;
    for (auto *box : window->findChildren<QLineEdit *>())
        shown << box->text();
    return shown.join(u'|') +
           (window->findChild<QRadioButton *>("optAND")->isChecked() ? "|AND" : "|OR");
}

const QString kEmpty = QStringList(16, QString()).join(u'|') + "OR"; // 15 empty entries and ANY

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT
    RecordingTarget m_target;
    QString m_entered, m_kept; // the search window's entries before and after its button

    std::unique_ptr<MainWindowFixture> openCatalog()
    {
        auto f = std::make_unique<MainWindowFixture>(QStringLiteral("search/movies_to_search.sql"));
        f->boxes.otherwise = vbNo; // No: keep the unsaved changes
        return f->show() ? std::move(f) : nullptr;
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
            outcome = QLatin1String(window->isVisible() ? "stayed open" : "closed");
            if (window->isVisible())
                window->reject();
        });
        timer.start(5);
        main.cmdToolbar(5)->setValue(true);
        return outcome;
    }

  private slots:
    void initTestCase() { SetUpFonts(); }

    // The lists come from the settings file (or hold ANY alone) and fixed ranges (years from
    // 1925 to this year, never before 2025); every entry starts empty with ANY of the stars.
    void loadedWindow()
    {
        QTemporaryDir dir;
        setIniPath(dir.filePath("TARSEL.INI"));
        for (const char *categories : {"ANY", "ANY|Comedy|Drama||Thriller|Western"}) {
            if (categories[3])
                QVERIFY(QFile::copy(dataPath("search/movies_to_search.ini"),
                                    dir.filePath("TARSEL.INI")));
            frmSearch window(m_target);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QVERIFY(!QApplication::overrideCursor()); // the busy pointer is off once loaded
            const QString years =
                QStringLiteral("|1925-%1").arg(std::max(2025, QDate::currentDate().year()));
            QStringList lists;
            for (QComboBox *list : window.findChildren<QComboBox *>()) {
                const QStringList entries = items(list);
                lists << (list->objectName().startsWith("cboCopyright")
                              ? entries.first() + '|' + entries[1] + '-' + entries.last()
                              : entries.join(u'|'));
                QVERIFY(list->currentIndex() == -1 && list->isEditable() && !list->completer());
            }
            QCOMPARE(lists, (QStringList{categories, categories[3] ? "ANY|G|PG|R|NR" : "ANY",
                                         "ANY|VHS|DVD", years, years}));
            QCOMPARE(entriesShown(&window), kEmpty);
            QCOMPARE(QApplication::focusWidget(), window.findChild<QWidget *>("txtTitle"));
        }
    }

    // Enter and Escape do nothing in a field, though OK would search.
    void typing_data()
    {
        addRows("search/typing.tsv", {"field", "typed", "shown", "afterLeaving"});
    }
    void typing()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, afterLeaving);
        frmSearch window(m_target);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        enter(&window, "txtDirector", "Lund*");
        auto *widget = window.findChild<QWidget *>(field);
        auto *list = qobject_cast<QComboBox *>(widget);
        auto *box = list ? list->lineEdit() : qobject_cast<QLineEdit *>(widget);
        const auto text = [box] { return box ? box->text() : QString(); };
        if (list)
            list->setCurrentIndex(2);
        const QString chosen = list ? list->currentText() : QString();
        widget->setFocus();
        QTest::keyClicks(widget, typed);
        QCOMPARE(text(), shown.replace("<chosen>", chosen));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(window.isVisible() && !widget->hasFocus());
        QCOMPARE(m_target.statements, QStringList());
        QCOMPARE(text(), afterLeaving.replace("<chosen>", chosen));
    }

    // The window closes and the catalog window shows the matches with the first selected.
    void searchesTheCatalog_data() { addRows("search/searches.tsv", {"entries", "found"}); }
    void searchesTheCatalog()
    {
        QFETCH(QString, entries);
        QFETCH(QString, found);
        auto f = openCatalog();
        QVERIFY(f);
        QCOMPARE(search(f->w(), entries.split(u'|')), QStringLiteral("closed"));
        QCOMPARE(f->boxes.shown, QStringList());
        QStringList titles = f->entries();
        QCOMPARE(f->state().section(u'|', 1, 2), found.isEmpty() ? "-1|" : "0|" + titles.value(0));
        titles.sort();
        QCOMPARE(titles.join(u','), found);
        QCOMPARE(f->pairEnabled(1), !found.isEmpty());
        QVERIFY(f->w().picToolbar()->isEnabled());
    }

    // Each follows a first search, so the list kept is not the whole catalog; the next opening
    // of the window is empty again.
    void searchNotApplied_data()
    {
        addRows("search/not_applied.tsv", {"setUp", "entries", "button", "message"});
    }
    void searchNotApplied()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, entries);
        QFETCH(QString, button);
        QFETCH(QString, message);
        auto f = openCatalog();
        QVERIFY(f);
        QCOMPARE(search(f->w(), {"cboCategory=Drama"}), QStringLiteral("closed"));
        f->run("row 2");
        if (setUp == QLatin1String("duplicate title"))
            f->run("txtTitle=" + f->list().List(1));
        if (setUp == QLatin1String("drop Director")) // by another program
            QVERIFY(exec(f->catalog(), "ALTER TABLE Movies DROP COLUMN Director"));
        const QString before = f->w().dataMovies().RecordSource() + f->state();
        QCOMPARE(search(f->w(), entries.split(u'|', Qt::SkipEmptyParts), button),
                 QString::fromLatin1(message.isEmpty() ? "closed" : "stayed open"));
        QCOMPARE(f->boxes.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(m_kept, m_entered);
            QVERIFY2(matches(f->boxes.shown.value(0), message),
                     qPrintable(f->boxes.shown.value(0)));
        }
        f->boxes.shown.clear();
        QCOMPARE(f->w().dataMovies().RecordSource() + f->state(), before);
        QCOMPARE(search(f->w(), {}, QString()), QStringLiteral("stayed open"));
        QCOMPARE(m_entered, kEmpty);
    }
};

QTEST_MAIN(TestSearchWindow)
#include "test_search_window.moc"
