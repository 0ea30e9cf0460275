// The catalog window: the list of titles in order, selection, the pick lists, and the toolbar's
// edit cycle (add, save, undo, delete, clear, and leaving a movie with changes).
#include "TestSupport.h"

#include <QDate>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void commandFlow_data() { TestSupport::commandFlow_data({"window/main_window.tsv", "window/edit_cycle.tsv"}); }
    void commandFlow() { TestSupport::commandFlow(); }

    // A click on another button while a command runs does nothing: the toolbar is off.
    void toolbarIsDisabledWhileACommandRuns()
    {
        MainWindowFixture f(titled({"Alien"}));
        bool toolbarEnabled = true;
        f.boxes.seen = [&] {
            toolbarEnabled = f.w().picToolbar()->isEnabled();
            QTest::mouseClick(f.w().cmdToolbar(0), Qt::LeftButton);
        };
        f.boxes.answers = {vbNo};
        f.run("delete");
        QVERIFY(!toolbarEnabled);
        QCOMPARE(f.state(), QStringLiteral("Alien|0|Alien|0|+++++++|36|Are you sure you want to "
                                           "delete the currently selected movie?"));
        QVERIFY(!f.w().cmdToolbar(1)->Value());
    }

    // The C locale sorts without case too.
    void cLocaleSortsWithoutCase()
    {
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        MainWindowFixture f(titled({"Zardoz", "amélie", "Casablanca", "alien"}));
        QLocale::setDefault(before);
        QCOMPARE(f.entries(), (QStringList{"alien", "amélie", "Casablanca", "Zardoz"}));
    }

    // Each arrow key moves one entry, and the list's click guard is free again after each.
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
            const QStringList entries = items(f.w().findChild<QComboBox *>(name));
            shown << QString::number(entries.size()) + ':' + entries.first() + '-' + entries.last();
        }
        const int lastYear = std::max(2025, QDate::currentDate().year());
        QCOMPARE(shown, (QStringList{"2:VHS-DVD", "21:0-20", "60:0-59",
                                     QStringLiteral("%1:1900-%2").arg(lastYear - 1899).arg(lastYear)}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
