// The catalog window's input: the highlight under the mouse, what the fields accept, and the
// comments editor.
// Mouse movement goes through the window system, as a real pointer's does.
#define QTEST_QPA_MOUSE_HANDLING
#include "MainWindowFixture.h"
#include "frmComments.h"

#include <QComboBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kBlue = 16711680;

// Runs `action` on the comments editor once it is open, then lets the test go on.
void whenEditorOpens(std::function<void(frmComments &)> action)
{
    QTimer::singleShot(0, [action] {
        auto *editor = qApp->findChild<frmComments *>(QStringLiteral("frmComments"));
        if (!editor) {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if ((editor = qobject_cast<frmComments *>(widget)))
                    break;
        }
        QVERIFY(editor);
        action(*editor);
    });
}
} // namespace

class TestWindowInput : public QObject
{
    Q_OBJECT
private slots:
    void hoverLightsOneButtonAtATime();
    void clickPutsTheLitButtonOut();
    void pickListsRefuseTyping_data();
    void pickListsRefuseTyping();
    void valueTakesDigitsAndOnePoint_data();
    void valueTakesDigitsAndOnePoint();
    void valueShowsCurrencyWhenLeft_data();
    void valueShowsCurrencyWhenLeft();
    void commentsEditorCopiesBackOnOkOnly();
    void multiLineCommentsSurviveSavingAndReopening();
};

void TestWindowInput::hoverLightsOneButtonAtATime()
{
    MainWindowFixture f(TestCatalog::titled({"Alien"}));
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    // The lit buttons, each with a blue caption (-1 marks a caption of the wrong colour).
    auto lit = [&] {
        QList<int> result;
        for (int i = 0; i < 7; ++i) {
            const bool raised = f.w().cmdToolbar(i)->BevelWidth() > 0;
            if (raised)
                result << i;
            if (f.w().captionForeColor(i) != (raised ? kBlue : 0))
                result << -1;
        }
        return result;
    };
    QTest::mouseMove(f.w().cmdToolbar(2));
    QCOMPARE(lit(), QList<int>{2});
    QTest::mouseMove(f.w().cmdToolbar(2), QPoint(5, 5));
    QCOMPARE(lit(), QList<int>{2});
    QTest::mouseMove(f.w().cmdToolbar(3)); // straight onto the next button
    QCOMPARE(lit(), QList<int>{3});
    QTest::mouseMove(f.w().picToolbar(), QPoint(2, 2));
    QCOMPARE(lit(), QList<int>{});
    for (QWidget *away : {static_cast<QWidget *>(f.w().lstMovies()->viewport()),
                          static_cast<QWidget *>(f.w().picSpecs()), static_cast<QWidget *>(&f.w())}) {
        QTest::mouseMove(f.w().cmdToolbar(5));
        QCOMPARE(lit(), QList<int>{5});
        QTest::mouseMove(away, QPoint(3, 3));
        QCOMPARE(lit(), QList<int>{});
    }
    // A disabled button is never lit: the movement goes to its container.
    f.w().setPairEnabled(4, false);
    QTest::mouseMove(f.w().cmdToolbar(1));
    QTest::mouseMove(f.w().cmdToolbar(4));
    QCOMPARE(lit(), QList<int>{});
}

void TestWindowInput::clickPutsTheLitButtonOut()
{
    MainWindowFixture f(TestCatalog::titled({"Alien"}));
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    QTest::mouseMove(f.w().cmdToolbar(6));
    QCOMPARE(f.w().cmdToolbar(6)->BevelWidth(), 1);
    QTest::mouseClick(f.w().cmdToolbar(6), Qt::LeftButton);
    QCOMPARE(f.w().cmdToolbar(6)->BevelWidth(), 0);
    QCOMPARE(f.w().captionForeColor(6), 0);
    QVERIFY(!f.w().cmdToolbar(6)->Value());
    QTest::mouseMove(f.w().cmdToolbar(6), QPoint(4, 4));
    QCOMPARE(f.w().cmdToolbar(6)->BevelWidth(), 1);
}

void TestWindowInput::pickListsRefuseTyping_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"cboCategory", "cboRating", "cboFormat", "cboCopyright", "cboHours", "cboMinutes"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestWindowInput::pickListsRefuseTyping()
{
    QFETCH(QString, name);
    MainWindowFixture f({{{"Title", "Alien"}, {"Category", "Horror"}, {"Rating", "R"},
                          {"Format", "VHS"}, {"Copyright", 1979}, {"Hours", 1}, {"Minutes", 57}}},
                        "[Categories]\nCategoryTotal=1\nCategory.1=Horror\n"
                        "[Ratings]\nRatingTotal=1\nRating.1=R\n");
    auto *box = f.w().findChild<QComboBox *>(name);
    const QString before = box->currentText();
    QVERIFY(!before.isEmpty());
    box->lineEdit()->setFocus();
    for (auto key : {Qt::Key_A, Qt::Key_5, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape,
                     Qt::Key_Period})
        QTest::keyClick(box->lineEdit(), key);
    QTest::keyClicks(box->lineEdit(), QStringLiteral("xyz"));
    QCOMPARE(box->currentText(), before);
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 0);
    // Keys that type nothing still work: the arrow keys choose another entry.
    if (box->count() > 1) {
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(box->currentText() != before);
    }
}

void TestWindowInput::valueTakesDigitsAndOnePoint_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("refused characters") << "12" << "a-$, +" << "12";
    QTest::newRow("digit at the caret") << "12" << "7" << "127";
    QTest::newRow("one point only") << "" << ".5." << ".5";
    QTest::newRow("formatted text already has a point") << "$12.50" << "." << "$12.50";
    QTest::newRow("backspace deletes") << "123" << "\b" << "12";
}

void TestWindowInput::valueTakesDigitsAndOnePoint()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    MainWindowFixture f(TestCatalog::titled({"Alien"}));
    QLineEdit *value = f.w().txtValue();
    value->setText(start);
    value->end(false);
    for (QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(value, Qt::Key_Backspace);
        else
            QTest::keyClicks(value, QString(c));
    }
    QCOMPARE(value->text(), result);
}

void TestWindowInput::valueShowsCurrencyWhenLeft_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole number") << "1234" << "$1,234.00";
    QTest::newRow("one decimal") << "12.5" << "$12.50";
    QTest::newRow("already formatted") << "$1,234.00" << "$1,234.00";
    QTest::newRow("empty stays empty") << "" << "";
    QTest::newRow("not a number stays") << "abc" << "abc";
}

void TestWindowInput::valueShowsCurrencyWhenLeft()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    MainWindowFixture f(TestCatalog::titled({"Alien"}));
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    f.w().txtValue()->setFocus();
    f.w().txtValue()->setText(typed);
    f.w().txtCondition()->setFocus();
    QCOMPARE(f.w().txtValue()->text(), shown);
}

void TestWindowInput::commentsEditorCopiesBackOnOkOnly()
{
    MainWindowFixture f({{{"Title", "Alien"}, {"Comments", "Original"}}});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    // Cancel leaves the field as it was.
    whenEditorOpens([](frmComments &editor) {
        QCOMPARE(editor.txtComments()->toPlainText(), QStringLiteral("Original"));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Comments"));
        editor.txtComments()->setPlainText(QStringLiteral("Edited"));
        QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    QCOMPARE(f.w().txtComments()->text(), QStringLiteral("Original"));
    // Escape and Enter are bound to nothing; the close button discards like Cancel.
    whenEditorOpens([](frmComments &editor) {
        QTest::keyClick(editor.txtComments(), Qt::Key_Escape);
        QVERIFY(editor.isVisible());
        editor.txtComments()->selectAll();
        QTest::keyClicks(editor.txtComments(), QStringLiteral("Typed"));
        QTest::keyClick(editor.txtComments(), Qt::Key_Return);
        QTest::keyClicks(editor.txtComments(), QStringLiteral("More"));
        QVERIFY(editor.isVisible());
        editor.close();
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    QCOMPARE(f.w().txtComments()->text(), QStringLiteral("Original"));
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 0);
    // OK with no edits writes the same text: nothing changes.
    whenEditorOpens([](frmComments &editor) { QTest::mouseClick(editor.cmdOK(), Qt::LeftButton); });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 0);
}

void TestWindowInput::multiLineCommentsSurviveSavingAndReopening()
{
    MainWindowFixture f({{{"Title", "Alien"}, {"Comments", "Line one\r\nLine two"}},
                         {{"Title", "Brazil"}}});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    whenEditorOpens([](frmComments &editor) {
        QCOMPARE(editor.txtComments()->document()->blockCount(), 2);
        QTest::mouseClick(editor.cmdOK(), Qt::LeftButton);
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    QCOMPARE(f.w().txtComments()->text(), QStringLiteral("Line one\r\nLine two"));
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 0);

    whenEditorOpens([](frmComments &editor) {
        editor.txtComments()->moveCursor(QTextCursor::End);
        QTest::keyClick(editor.txtComments(), Qt::Key_Return);
        QTest::keyClicks(editor.txtComments(), QStringLiteral("Line three"));
        QTest::mouseClick(editor.cmdOK(), Qt::LeftButton);
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    const QString expected = QStringLiteral("Line one\nLine two\nLine three");
    QCOMPARE(f.w().txtComments()->text(), expected);
    f.click(2);
    f.select(QStringLiteral("Brazil"));
    f.select(QStringLiteral("Alien"));
    QCOMPARE(f.w().txtComments()->text(), expected);
    whenEditorOpens([&](frmComments &editor) {
        QCOMPARE(editor.txtComments()->toPlainText(), expected);
        QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
}

QTEST_MAIN(TestWindowInput)
#include "test_window_input.moc"
