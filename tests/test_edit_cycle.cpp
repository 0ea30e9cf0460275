// The toolbar's edit cycle: add, save, undo, delete, clear, and leaving a movie with changes.
#include "TestSupport.h"

class TestEditCycle : public QObject
{
    Q_OBJECT
private slots:
    void commandFlow_data() { TestSupport::commandFlow_data("window/edit_cycle.tsv"); }
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
};

QTEST_MAIN(TestEditCycle)
#include "test_edit_cycle.moc"
