// The catalog window's input: the highlight under the mouse, what the fields accept, and the
// comments editor.
// Mouse movement goes through the window system, as a real pointer's does.
#define QTEST_QPA_MOUSE_HANDLING
#include "TestSupport.h"
#include "frmComments.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The lit buttons, each with a blue caption (-1 marks a caption of the wrong colour).
QList<int> lit(frmTarsel &w)
{
    QList<int> result;
    for (int i = 0; i < 7; ++i) {
        const bool raised = w.cmdToolbar(i)->BevelWidth() > 0;
        if (raised)
            result << i;
        if (w.captionForeColor(i) != (raised ? 16711680 : 0))
            result << -1;
    }
    return result;
}

// Opens the comments editor with the window's button, runs `action` on it, and says what the
// comments field holds then.
QString withEditor(MainWindowFixture &f, std::function<void(frmComments &)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *editor = qobject_cast<frmComments *>(widget))
                return action(*editor);
        QFAIL("no comments editor");
    });
    QTest::mouseClick(f.w().cmdReview(), Qt::LeftButton);
    return f.text("txtComments");
}

} // namespace

class TestWindowInput : public QObject
{
    Q_OBJECT
private slots:
    // One button at a time is lit under the pointer, never a disabled one, and a click puts
    // it out until the pointer moves on it again.
    void hoverLightsOneButtonAtATime()
    {
        MainWindowFixture f(titled({"Alien"}));
        QVERIFY(f.show());
        f.w().setPairEnabled(4, false);
        const std::pair<QWidget *, QList<int>> moves[] = {
            {f.w().cmdToolbar(2), {2}}, {f.w().cmdToolbar(3), {3}}, {f.w().picToolbar(), {}},
            {f.w().cmdToolbar(5), {5}}, {f.list().viewport(), {}},  {f.w().cmdToolbar(5), {5}},
            {f.w().picSpecs(), {}},     {f.w().cmdToolbar(1), {1}}, {f.w().cmdToolbar(4), {}},
            {f.w().cmdToolbar(6), {6}}};
        for (const auto &[widget, expected] : moves) {
            QTest::mouseMove(widget, QPoint(3, 3));
            QCOMPARE(lit(f.w()), expected);
        }
        QTest::mouseClick(f.w().cmdToolbar(6), Qt::LeftButton);
        QCOMPARE(lit(f.w()), QList<int>{});
        QVERIFY(!f.w().cmdToolbar(6)->Value());
        QTest::mouseMove(f.w().cmdToolbar(6), QPoint(4, 4));
        QCOMPARE(lit(f.w()), QList<int>{6});
    }

    // Pick lists refuse typing, the value takes digits and one point.
    void commandFlow_data() { TestSupport::commandFlow_data({"window/input.tsv"}); }
    void commandFlow() { TestSupport::commandFlow(); }

    // Cancel, the close button, Escape and Enter leave the field as it was; OK copies back,
    // line breaks included, and the text survives saving and coming back.
    void commentsEditorCopiesBackOnOkOnly()
    {
        MainWindowFixture f({{{"Title", "Alien"}, {"Comments", "Line one\r\nLine two"}}, {{"Title", "Brazil"}}});
        QVERIFY(f.show());
        const QString kept = QStringLiteral("Line one\r\nLine two");
        QCOMPARE(withEditor(f, [](frmComments &editor) {
                     QCOMPARE(editor.windowTitle() + QString::number(editor.txtComments()->document()->blockCount()), "Comments2");
                     editor.txtComments()->setPlainText(QStringLiteral("Edited"));
                     QTest::mouseClick(editor.cmdCancel(), Qt::LeftButton);
                 }), kept);
        QCOMPARE(withEditor(f, [](frmComments &editor) {
                     for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A})
                         QTest::keyClick(editor.txtComments(), key);
                     QVERIFY(editor.isVisible());
                     editor.close();
                 }), kept);
        withEditor(f, [](frmComments &editor) { QTest::mouseClick(editor.cmdOK(), Qt::LeftButton); });
        QCOMPARE(f.editMode(), 0); // the same text: no change
        QCOMPARE(withEditor(f, [](frmComments &editor) {
                     editor.txtComments()->moveCursor(QTextCursor::End);
                     QTest::keyClick(editor.txtComments(), Qt::Key_Return);
                     QTest::keyClicks(editor.txtComments(), QStringLiteral("Line three"));
                     QTest::mouseClick(editor.cmdOK(), Qt::LeftButton);
                 }), "Line one\nLine two\nLine three");
        f.run("save; select Brazil; select Alien");
        QCOMPARE(f.text("txtComments"), QStringLiteral("Line one\nLine two\nLine three"));
    }
};

QTEST_MAIN(TestWindowInput)
#include "test_window_input.moc"
