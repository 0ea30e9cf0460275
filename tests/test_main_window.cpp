// The catalog window after loading: the list of titles in order, selection, and the pick lists.
#include "TestSupport.h"

#include <QComboBox>
#include <QDate>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void listsEveryTitleSortedAndShowsTheFirst()
    {
        MainWindowFixture f({{{"Title", "banana"}, {"Value", 1234.5}, {"Copyright", 1999}},
                             {{"Title", "éclair"}},
                             {{"Title", "Apple"}, {"Director", "Ang Lee"}, {"Value", 0.0},
                              {"Hours", 1}, {"Minutes", 5}, {"Category", "Drama"}},
                             {{"Title", "cherry"}}},
                            "[Categories]\nCategoryTotal=1\nCategory.1=Drama\n");
        QCOMPARE(f.state(), QStringLiteral("Apple,banana,cherry,éclair|0|Apple|0|+++++++|"));
        QCOMPARE(f.text("txtDirector") + f.text("txtValue") + f.text("cboHours") + f.text("cboMinutes") +
                     f.text("cboCategory"),
                 QStringLiteral("Ang Lee$0.0015Drama"));
        f.select(QStringLiteral("banana"));
        QCOMPARE(f.text("txtValue") + f.text("cboCopyright") + f.text("cboCategory"),
                 QStringLiteral("$1,234.501999"));
    }

    void emptyCatalogSelectsNothing()
    {
        MainWindowFixture f({});
        QCOMPARE(f.state(), QStringLiteral("|-1||0|+-+++++|"));
        QCOMPARE(f.text("cboCopyright"), QString());
    }

    // Case twins can come from older catalogs; each entry shows its own movie, by click, key
    // or index, and the C locale sorts without case too.
    void choosingATitleShowsItsMovie()
    {
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        MainWindowFixture f({{{"Title", "Ocean's Eleven"}, {"Director", "Soderbergh"}},
                             {{"Title", QVariant()}, {"Director", "Nobody"}},
                             {{"Title", "heat"}, {"Director", "lower"}},
                             {{"Title", "Heat"}, {"Director", "upper"}},
                             {{"Title", "amélie"}, {"Director", "Jeunet"}}});
        QLocale::setDefault(before);
        QCOMPARE(f.entries(), (QStringList{"", "amélie", "heat", "Heat", "Ocean's Eleven"}));
        QStringList shown{f.text("txtDirector")};
        f.list().setListIndex(4);
        shown << f.text("txtDirector");
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {},
                          f.list().visualRect(f.list().model()->index(3, 0)).center());
        shown << f.text("txtDirector");
        QTest::keyClick(&f.list(), Qt::Key_Up);
        shown << f.text("txtDirector") << f.w().dataMovies().recordset().Fields("Title");
        QCOMPARE(shown, (QStringList{"Nobody", "Soderbergh", "upper", "lower", "heat"}));
        QCOMPARE(f.list().ListIndex(), 2);
    }

    // Each arrow key moves one entry, and the click guard is free again after each.
    void arrowKeysRebuildOncePerStep()
    {
        QStringList titles;
        for (int i = 0; i < 50; ++i)
            titles << QStringLiteral("Movie %1").arg(i, 2, 10, QLatin1Char('0'));
        MainWindowFixture f(titled(titles));
        for (int step = 1; step <= 10; ++step) {
            QTest::keyClick(&f.list(), Qt::Key_Down);
            QCOMPARE(f.list().ListIndex(), step);
            QCOMPARE(f.w().txtTitle()->text(), titles[step]);
            QVERIFY(!f.w().ListClickBusy());
        }
    }

    // Hours 0 to 20, minutes 0 to 59, years from 1900 to this year (never before 2025).
    void pickListsHaveTheirFixedRanges()
    {
        MainWindowFixture f({});
        QStringList shown;
        for (const char *name : {"cboFormat", "cboHours", "cboMinutes", "cboCopyright"}) {
            auto *box = f.w().findChild<QComboBox *>(name);
            shown << QString::number(box->count()) + ':' + box->itemText(0) + '-' + box->itemText(box->count() - 1);
        }
        const int lastYear = std::max(2025, QDate::currentDate().year());
        QCOMPARE(shown, (QStringList{"2:VHS-DVD", "21:0-20", "60:0-59",
                                     QStringLiteral("%1:1900-%2").arg(lastYear - 1899).arg(lastYear)}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
