// The list highlights the movie the store has as current after every way of keeping or
// leaving it, so that Delete removes the movie the user sees highlighted.
#include "TestSupport.h"

#include <QItemSelectionModel>

namespace
{
// In list order; the first is also the first row of the catalog.
const QStringList kTitles = {"alien nights", "ALPHABET CITY", "Brazil",       "Casablanca", "Dune",
                             "Eraserhead",   "Fargo",         "Fargo Nights", "Gattaca",    "Heat",
                             "Jaws",         "Solaris",       "Zardoz"};

QStringList highlighted(MainWindowFixture &f)
{
    QStringList texts;
    for (const QModelIndex &index : f.list().selectionModel()->selectedIndexes())
        texts << index.data().toString();
    return texts;
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

// The table's steps: the fixture's, and "refusedSearch" (a search the question keeps from
// applying) and "outOfStep".
void act(MainWindowFixture &f, const QString &step)
{
    QString error;
    if (step == "refusedSearch")
        QVERIFY(!f.w().ApplySearch("SELECT * FROM [Movies] WHERE [Title] LIKE 'J%'", &error));
    else if (step == "outOfStep")
        putOutOfStep(f);
    else
        f.run(step);
}
} // namespace

class TestListHighlight : public QObject
{
    Q_OBJECT
  private slots:
    void deleteRemovesTheHighlightedMovie_data()
    {
        addRows("window/highlight.tsv", {"start", "steps", "questions", "shown"});
    }

    void deleteRemovesTheHighlightedMovie()
    {
        QFETCH(QString, start);
        QFETCH(QString, steps);
        QFETCH(QString, questions);
        QFETCH(QString, shown);
        MainWindowFixture f(titled(kTitles));
        QVERIFY(f.show() && f.select(start) >= 0);
        if (steps == "undo")
            f.w().txtDirector()->setText(QStringLiteral("Someone else"));
        else
            emptyTitleAsTyped(f);
        f.boxes.answers = {vbNo, vbNo};
        for (const QString &step : steps.split(QStringLiteral("; ")))
            act(f, step);
        QCOMPARE(f.boxes.shown.size(), questions.toInt());
        Recordset &store = f.w().dataMovies().recordset();
        QCOMPARE(store.Fields(QStringLiteral("Title")), shown);
        QCOMPARE(highlighted(f), QStringList{shown});
        QCOMPARE(f.stored(), kTitles.join(u','));

        f.boxes.answers.clear();
        f.boxes.shown.clear();
        f.click(1);
        QCOMPARE(f.boxes.shown,
                 QStringList{"36|Are you sure you want to delete the currently selected movie?"});
        QStringList remaining = kTitles;
        remaining.removeOne(shown);
        QCOMPARE(f.stored(), remaining.join(u','));
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
        f.run("click 1");
        QCOMPARE(f.w().dataMovies().recordset().Fields(QStringLiteral("Title")), "Brazil");
        QCOMPARE(highlighted(f), QStringList{"Brazil"});
    }
};

QTEST_MAIN(TestListHighlight)
#include "test_list_highlight.moc"
