// The list highlights the movie the store has as current after every way of keeping or
// leaving it, so that Delete removes the movie the user sees highlighted.
#include "TestSupport.h"

#include <QItemSelectionModel>

namespace {
// In list order; the first is also the first row of the catalog.
const QStringList kTitles = {"alien nights", "ALPHABET CITY", "Brazil", "Casablanca", "Dune",
                             "Eraserhead", "Fargo", "Fargo Nights", "Gattaca", "Heat", "Jaws",
                             "Solaris", "Zardoz"};
const QStringList kCommands = {"Add", "Delete", "Save", "Undo", "Print", "Search", "Clear"};

QStringList highlighted(MainWindowFixture &f)
{
    QStringList texts;
    for (const QModelIndex &index : f.list().selectionModel()->selectedIndexes())
        texts << index.data().toString();
    return texts;
}

QStringList storedTitles(MainWindowFixture &f)
{
    const QString joined =
        scalar(f.catalog(), "SELECT group_concat(Title, '|') FROM "
                                         "(SELECT Title FROM Movies ORDER BY rowid)")
            .toString();
    return joined.split(QLatin1Char('|'));
}

void emptyTitleAsTyped(MainWindowFixture &f)
{
    f.w().txtTitle()->setFocus();
    QTest::keyClick(f.w().txtTitle(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.w().txtTitle(), Qt::Key_Backspace);
    QVERIFY(f.w().txtTitle()->text().isEmpty());
}

// Highlights another entry than the current row's behind the window's back.
void putOutOfStep(MainWindowFixture &f)
{
    QItemSelectionModel *selection = f.list().selectionModel();
    const QSignalBlocker quiet(selection);
    selection->setCurrentIndex(f.list().model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    QCOMPARE(highlighted(f), QStringList{kTitles.first()});
}

// One step of the user's, named as in the table.
void act(MainWindowFixture &f, const QString &step)
{
    static const QHash<QString, Qt::Key> keys = {{"Down", Qt::Key_Down},
                                                 {"PageDown", Qt::Key_PageDown},
                                                 {"Home", Qt::Key_Home},
                                                 {"End", Qt::Key_End}};
    ListBox &list = f.list();
    QString error;
    if (keys.contains(step))
        QTest::keyClick(&list, keys.value(step));
    else if (step == "letter")
        QTest::keyClicks(&list, QStringLiteral("c"));
    else if (step == "click")
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 0)).center());
    else if (step == "search")
        QVERIFY(!f.w().ApplySearch("SELECT * FROM [Movies] WHERE [Title] LIKE 'J%'", &error));
    else if (step == "close")
        QVERIFY(!f.w().close());
    else if (step == "outOfStep")
        putOutOfStep(f);
    else if (kCommands.contains(step))
        f.click(kCommands.indexOf(step));
    else
        QFAIL(qPrintable("no such step: " + step));
}
} // namespace

class TestListHighlight : public QObject
{
    Q_OBJECT
private slots:
    void deleteRemovesTheHighlightedMovie_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("steps"); // after the edit; each No-able question answered No
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("shown"); // the movie current and highlighted afterwards
        QTest::newRow("reported: click ALPHABET CITY, No")
            << "alien nights" << "click" << 1 << "alien nights";
        QTest::newRow("reported: Undo an edit of Fargo Nights")
            << "Fargo Nights" << "Undo" << 0 << "alien nights";
        QTest::newRow("Down twice, No each time")
            << "Eraserhead" << "Down Down" << 2 << "Eraserhead";
        QTest::newRow("Page Down, No") << "Eraserhead" << "PageDown" << 1 << "Eraserhead";
        QTest::newRow("Home, No") << "Eraserhead" << "Home" << 1 << "Eraserhead";
        QTest::newRow("End, No") << "Eraserhead" << "End" << 1 << "Eraserhead";
        QTest::newRow("typed letter, No") << "Eraserhead" << "letter" << 1 << "Eraserhead";
        QTest::newRow("Clear, No") << "Eraserhead" << "Clear" << 1 << "Eraserhead";
        QTest::newRow("search, No") << "Eraserhead" << "search" << 1 << "Eraserhead";
        QTest::newRow("Add, No") << "Eraserhead" << "Add" << 1 << "Eraserhead";
        QTest::newRow("closing, No") << "Eraserhead" << "close" << 1 << "Eraserhead";
        QTest::newRow("out of step: Delete deletes nothing")
            << "Eraserhead" << "outOfStep Delete" << 0 << "Eraserhead";
    }

    void deleteRemovesTheHighlightedMovie()
    {
        QFETCH(QString, start);
        QFETCH(QString, steps);
        QFETCH(int, questions);
        QFETCH(QString, shown);
        MainWindowFixture f(titled(kTitles));
        f.w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
        QVERIFY(f.select(start) >= 0);
        if (steps == "Undo")
            f.w().txtDirector()->setText(QStringLiteral("Someone else"));
        else
            emptyTitleAsTyped(f);
        f.boxes.answers = {vbNo, vbNo};
        for (const QString &step : steps.split(QLatin1Char(' ')))
            act(f, step);
        QCOMPARE(f.boxes.shown.size(), questions);
        Recordset &store = f.w().dataMovies().recordset();
        QCOMPARE(store.Fields(QStringLiteral("Title")), shown);
        QCOMPARE(highlighted(f), QStringList{shown});
        QCOMPARE(storedTitles(f), kTitles);

        f.boxes.answers.clear();
        f.boxes.shown.clear();
        f.click(1);
        QCOMPARE(f.boxes.shown,
                 QStringList{"36|Are you sure you want to delete the currently selected movie?"});
        QStringList remaining = kTitles;
        remaining.removeOne(shown);
        QCOMPARE(storedTitles(f), remaining);
        QCOMPARE(highlighted(f), QStringList{store.Fields(QStringLiteral("Title"))});
    }

    void addingHighlightsNothing()
    {
        MainWindowFixture f(titled({"Alien", "Brazil"}));
        f.select(QStringLiteral("Brazil"));
        f.click(0);
        QCOMPARE(highlighted(f), QStringList{});
        QCOMPARE(f.list().ListIndex(), -1);
        // The entry highlighted before Add chooses its movie again.
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {},
                          f.list().visualRect(f.list().model()->index(1, 0)).center());
        QCOMPARE(f.w().dataMovies().recordset().Fields(QStringLiteral("Title")), "Brazil");
        QCOMPARE(highlighted(f), QStringList{"Brazil"});
    }
};

QTEST_MAIN(TestListHighlight)
#include "test_list_highlight.moc"
