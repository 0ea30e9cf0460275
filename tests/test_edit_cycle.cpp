// The toolbar's edit cycle: add, save, undo, delete, clear, and leaving a movie with changes.
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QFrame>

namespace {
const QString kDiscard = QStringLiteral("\n\nDiscard the changes to this movie?");
const QString kSameTitle = QStringLiteral("64|You cannot have two movies with the same title.");
QVariant sql(MainWindowFixture &f, const QString &query)
{
    return TestCatalog::scalar(f.catalog(), query);
}
int count(MainWindowFixture &f, const QString &where = "1")
{
    return sql(f, "SELECT COUNT(*) FROM Movies WHERE " + where).toInt();
}
bool allEnabled(MainWindowFixture &f)
{
    for (int pair = 0; pair < 7; ++pair)
        if (!f.pairEnabled(pair))
            return false;
    return true;
}
} // namespace

class TestEditCycle : public QObject
{
    Q_OBJECT
private slots:
    void addBlanksTheFormAndLeavesOnlySave()
    {
        MainWindowFixture f({{{"Title", "Alien"}, {"Category", "Horror"}, {"Copyright", 1979},
                              {"Hours", 1}, {"Comments", "Scary"}}},
                            "[Categories]\nCategoryTotal=1\nCategory.1=Horror\n");
        f.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        f.click(0);
        QCOMPARE(f.w().cboCategory()->currentIndex(), -1);
        QCOMPARE((QStringList{f.w().txtTitle()->text(), f.w().cboCategory()->currentText(),
                              f.w().cboHours()->currentText(), f.w().cboCopyright()->currentText(),
                              f.w().txtComments()->text()}),
                 (QStringList{"", "", "", "1975", ""}));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.w().txtTitle()));
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), 2);
        for (int pair : {0, 1, 3, 4, 5, 6})
            QVERIFY(f.pairDisabled(pair));
        QVERIFY(f.pairEnabled(2));
        QCOMPARE(f.w().SavedListIndex(), 0);
    }

    void saveRefusesEmptyAndDuplicateTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("hidden"); // a search shows only Straße
        QTest::newRow("empty") << QString() << "64|You must enter a title." << false;
        QTest::newRow("other case") << QStringLiteral("STRASSE") << kSameTitle << false;
        QTest::newRow("same title") << QStringLiteral("Alien") << kSameTitle << false;
        QTest::newRow("hidden by search") << QStringLiteral("alien") << kSameTitle << true;
        QTest::newRow("trailing blank is another title")
            << QStringLiteral("Alien ") << QString() << false;
        QTest::newRow("blanks only pass") << QStringLiteral("   ") << QString() << false;
    }

    void saveRefusesEmptyAndDuplicateTitles()
    {
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(bool, hidden);
        MainWindowFixture f(TestCatalog::titled({"Alien", "Straße"}));
        QString error;
        if (hidden)
            QVERIFY(f.w().ApplySearch("SELECT * FROM [Movies] WHERE [Title] = 'Straße'", &error));
        QCOMPARE(f.entries().size(), hidden ? 1 : 2);
        f.click(0);
        f.w().txtTitle()->setText(title);
        f.w().txtDirector()->setText(QStringLiteral("Someone"));
        f.click(2);
        if (message.isEmpty()) {
            QVERIFY(f.messages.isEmpty());
            QVERIFY(f.entries().contains(title));
            QVERIFY(f.pairEnabled(0));
            return;
        }
        QCOMPARE(f.messages, QStringList{message});
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), 2);
        QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Someone"));
        QVERIFY(f.pairDisabled(0));
        QCOMPARE(count(f), 2);
    }

    void saveWritesTheNewMovieAndReturnsToBrowsing()
    {
        MainWindowFixture f(TestCatalog::titled({"Brazil", "Alien", "Casablanca"}));
        f.list().setListIndex(2);
        f.click(0);
        QCOMPARE(f.w().SavedListIndex(), 2);
        f.w().txtTitle()->setText(QStringLiteral("Amélie"));
        f.w().cboFormat()->setCurrentIndex(1);
        f.w().txtValue()->setText(QStringLiteral("$1,234.50"));
        f.w().txtComments()->setText(QStringLiteral("First line\nSecond line"));
        f.click(2);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.entries(), (QStringList{"Alien", "Amélie", "Brazil", "Casablanca"}));
        QCOMPARE(f.list().ListIndex(), 2); // the position remembered by Add
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Brazil"));
        QVERIFY(allEnabled(f));
        f.select(QStringLiteral("Amélie"));
        QCOMPARE(f.w().cboFormat()->currentText(), QStringLiteral("DVD"));
        QCOMPARE(f.w().txtValue()->text(), QStringLiteral("$1,234.50"));
        QCOMPARE(f.w().cboCopyright()->currentText(), QStringLiteral("1975"));
        QCOMPARE(f.w().txtComments()->text(), QStringLiteral("First line\nSecond line"));
        QVERIFY(sql(f, "SELECT Hours FROM Movies WHERE Title = 'Amélie'").isNull());
    }

    void editedMovieSavesUnderItsOwnTitle()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
        f.select(QStringLiteral("Brazil"));
        f.click(2); // nothing pending: nothing happens
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.list().ListIndex(), 1);
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Brazil"));
        f.w().txtDirector()->setText(QStringLiteral("Gilliam"));
        f.click(2);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(sql(f, "SELECT Director FROM Movies WHERE Title='Brazil'"),
                 QVariant(QStringLiteral("Gilliam")));
        // Another movie's title, in other case, is still refused.
        f.select(QStringLiteral("Brazil"));
        f.w().txtTitle()->setText(QStringLiteral("ALIEN"));
        f.click(2);
        QCOMPARE(f.messages, QStringList{kSameTitle});
    }

    void refusedAmountKeepsThePendingRow()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien"}));
        f.click(0);
        f.w().txtTitle()->setText(QStringLiteral("Brazil"));
        f.w().txtValue()->setText(QStringLiteral("twelve")); // pasted, not typed
        f.click(2);
        QCOMPARE(f.messages, QStringList{"64|The value must be an amount, such as $12.50."});
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), 2);
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Brazil"));
        QCOMPARE(count(f), 1);
        f.w().txtValue()->setText(QStringLiteral("12.5"));
        f.click(2);
        QCOMPARE(sql(f, "SELECT Value FROM Movies WHERE Title='Brazil'").toDouble(), 12.5);
    }

    void undoDropsChangesAndShowsTheFirstMovie()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
        f.select(QStringLiteral("Brazil"));
        f.w().txtTitle()->setText(QStringLiteral("Changed"));
        f.click(3);
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Alien"));
        QCOMPARE(f.list().ListIndex(), 0); // the highlight follows the movie shown
        QCOMPARE(count(f, "Title='Brazil'"), 1);
        f.click(3); // nothing pending
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Alien"));
    }

    void deleteAsksAndSelectsTheNextEntry()
    {
        MainWindowFixture f(TestCatalog::titled({"A", "B", "C"}));
        f.select(QStringLiteral("B"));
        f.answers = {vbNo};
        f.click(1);
        QCOMPARE(f.messages,
                 QStringList{"36|Are you sure you want to delete the currently selected movie?"});
        QCOMPARE(f.entries().size(), 3);
        f.click(1);
        QCOMPARE(f.entries(), (QStringList{"A", "C"}));
        QCOMPARE(f.list().ListIndex(), 1);
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("C"));
        f.click(1); // the last entry: the new last one is selected
        QCOMPARE(f.entries(), QStringList{"A"});
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("A"));
        f.click(1);
        QCOMPARE(f.list().ListCount(), 0);
        QCOMPARE(f.list().ListIndex(), -1);
        QVERIFY(f.pairDisabled(1));
        QCOMPARE(count(f), 0);
    }

    void deleteWithNoCurrentMovieDoesNothing()
    {
        MainWindowFixture f(TestCatalog::titled({"A", "B"}));
        QString error;
        QVERIFY(f.w().ApplySearch(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] = 'none'"),
                                  &error));
        QVERIFY(f.pairDisabled(1));
        f.w().setPairEnabled(1, true); // as a successful save leaves it
        f.click(1);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(count(f), 2);
        f.click(6);
        QCOMPARE(f.entries(), (QStringList{"A", "B"}));
        QCOMPARE(f.list().ListIndex(), 0);
    }

    void leavingWritesValidChanges()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil", "Casablanca"}));
        f.w().txtTitle()->setText(QStringLiteral("Zardoz"));
        f.select(QStringLiteral("Casablanca"));
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.entries(), (QStringList{"Brazil", "Casablanca", "Zardoz"}));
        QCOMPARE(f.list().List(f.list().ListIndex()), QStringLiteral("Casablanca"));
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Casablanca"));
        // A new movie with a title is written when another one is chosen.
        f.click(0);
        f.w().txtTitle()->setText(QStringLiteral("Aardvark"));
        f.select(QStringLiteral("Brazil"));
        QCOMPARE(f.entries().first(), QStringLiteral("Aardvark"));
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Brazil"));
        QVERIFY(allEnabled(f));
    }

    void leavingWithInvalidChangesAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::newRow("keep the changes") << int(vbNo) << 0 << "BRAZIL";
        QTest::newRow("discard them") << int(vbYes) << 1 << "Brazil";
    }

    void leavingWithInvalidChangesAsks()
    {
        QFETCH(int, answer);
        QFETCH(int, index);
        QFETCH(QString, title);
        MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
        f.w().txtTitle()->setText(QStringLiteral("BRAZIL"));
        f.answers = {answer};
        f.select(QStringLiteral("Brazil"));
        QCOMPARE(f.messages,
                 QStringList{"292|You cannot have two movies with the same title." + kDiscard});
        QCOMPARE(f.list().ListIndex(), index);
        QCOMPARE(f.w().txtTitle()->text(), title);
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), answer == vbNo ? 1 : 0);
        QCOMPARE(count(f, "Title='Alien'"), 1);
    }

    void abandonedAddIsDroppedSilently()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
        f.click(0);
        f.select(QStringLiteral("Brazil"));
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Brazil"));
        QVERIFY(allEnabled(f));
        QCOMPARE(count(f), 2);
        // A new movie with something but no title asks, and No keeps it pending.
        f.click(0);
        f.w().txtDirector()->setText(QStringLiteral("Scott"));
        f.answers = {vbNo};
        f.select(QStringLiteral("Alien"));
        QCOMPARE(f.messages, QStringList{"292|You must enter a title." + kDiscard});
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), 2);
        QCOMPARE(f.list().ListIndex(), -1);
        QVERIFY(f.pairDisabled(0));
    }

    void closingAsksBeforeLosingChanges()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien"}));
        f.w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
        f.w().txtTitle()->setText(QString());
        f.answers = {vbNo};
        QVERIFY(!f.w().close());
        QVERIFY(f.w().isVisible());
        QCOMPARE(f.messages, QStringList{"292|You must enter a title." + kDiscard});
        f.w().txtTitle()->setText(QStringLiteral("Aliens"));
        QVERIFY(f.w().close());
        QCOMPARE(sql(f, "SELECT Title FROM Movies"),
                 QVariant(QStringLiteral("Aliens")));
    }

    void toolbarIsDisabledWhileACommandRuns()
    {
        MainWindowFixture f(TestCatalog::titled({"Alien"}));
        bool toolbarEnabledDuringBox = true;
        SetMsgBoxHook([&](const QString &, int) {
            toolbarEnabledDuringBox = f.w().picToolbar()->isEnabled();
            // A click on another button while the command runs does nothing.
            QTest::mouseClick(f.w().cmdToolbar(0), Qt::LeftButton);
            return int(vbNo);
        });
        f.click(1);
        QVERIFY(!toolbarEnabledDuringBox);
        QVERIFY(f.w().picToolbar()->isEnabled());
        QCOMPARE(f.w().dataMovies().recordset().EditMode(), 0);
        QVERIFY(!f.w().cmdToolbar(1)->Value());
    }
};

QTEST_MAIN(TestEditCycle)
#include "test_edit_cycle.moc"
