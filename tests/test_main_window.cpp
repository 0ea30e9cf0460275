// The catalog window: the list of titles in order, selection, the pick lists, what the fields
// accept, the highlight under the mouse, the comments editor, and the toolbar's edit cycle
// (add, save, undo, delete, clear, and leaving a movie with changes).
// Mouse movement goes through the window system, as a real pointer's does.
#define QTEST_QPA_MOUSE_HANDLING
#include "TestSupport.h"
#include "frmComments.h"

#include <QDate>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace
{

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
            if (auto *editor = qobject_cast<frmComments *>(widget); editor && editor->isVisible())
                return action(*editor);
        QFAIL("no comments editor");
    });
    f.w().cmdReview()->click();
    return f.text("txtComments");
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
  private slots:

    // A click on another button while a command runs does nothing: the toolbar is off.
    void toolbarIsDisabledWhileACommandRuns()
    {
        MainWindowFixture f(titled({"Alien"}));
        QVERIFY(f.show());
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
        MainWindowFixture f{QList<QVariantMap>()};
        QStringList shown;
        for (const char *name : {"cboFormat", "cboHours", "cboMinutes", "cboCopyright"}) {
            const QStringList entries = items(f.w().findChild<QComboBox *>(name));
            shown << QString::number(entries.size()) + ':' + entries.first() + '-' + entries.last();
        }
        const int lastYear = std::max(2025, QDate::currentDate().year());
        QCOMPARE(shown,
                 (QStringList{"2:VHS-DVD", "21:0-20", "60:0-59",
                              QStringLiteral("%1:1900-%2").arg(lastYear - 1899).arg(lastYear)}));
    }

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

    // Cancel, the close button, Escape and Enter leave the field as it was; OK copies back,
    // line breaks included, and the text survives saving and coming back.
    void commentsEditorCopiesBackOnOkOnly()
    {
        MainWindowFixture f(
            {{{"Title", "Alien"}, {"Comments", "Line one\r\nLine two"}}, {{"Title", "Brazil"}}});
        QVERIFY(f.show());
        const QString kept = QStringLiteral("Line one\r\nLine two");
        QCOMPARE(withEditor(f,
                            [](frmComments &editor) {
                                QCOMPARE(editor.windowTitle() +
                                             QString::number(
                                                 editor.txtComments()->document()->blockCount()),
                                         "Comments2");
                                editor.txtComments()->setPlainText(QStringLiteral("Edited"));
                                editor.cmdCancel()->click();
                            }),
                 kept);
        QCOMPARE(withEditor(f,
                            [](frmComments &editor) {
                                for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A})
                                    QTest::keyClick(editor.txtComments(), key);
                                QVERIFY(editor.isVisible());
                                editor.close();
                            }),
                 kept);
        withEditor(f, [](frmComments &editor) { editor.cmdOK()->click(); });
        QCOMPARE(f.editMode(), 0); // the same text: no change
        QCOMPARE(withEditor(f,
                            [](frmComments &editor) {
                                editor.txtComments()->moveCursor(QTextCursor::End);
                                QTest::keyClick(editor.txtComments(), Qt::Key_Return);
                                QTest::keyClicks(editor.txtComments(),
                                                 QStringLiteral("Line three"));
                                editor.cmdOK()->click();
                            }),
                 "Line one\nLine two\nLine three");
        f.run("save; select Brazil; select Alien");
        QCOMPARE(f.text("txtComments"), QStringLiteral("Line one\nLine two\nLine three"));
    }

    // A comment longer than its box is shown from its start whenever the movie is shown again;
    // typing leaves the caret where the user puts it, short of the "..." button over the box.
    void longCommentShownFromItsStart()
    {
        QString comment;
        while (comment.size() < 300)
            comment += QStringLiteral("Music by Anton Karas, zither. %1 ").arg(comment.size());
        comment.truncate(300);
        MainWindowFixture f({{{"Title", "Alien"}, {"Comments", comment}}, {{"Title", "Brazil"}}});
        QVERIFY(f.show());
        BoundTextBox *box = f.w().txtComments();
        const auto caretX = [box] {
            box->grab(); // painted, so the box has scrolled to its caret
            return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        // The caret before the first character, at the box's left edge: the start shows.
        const int leftEdge = caretX();
        QVERIFY(box->cursorPosition() == 0 && leftEdge < box->width() / 8);
        for (const char *steps :
             {"select Brazil; select Alien", "focus txtComments; key End; type x", "undo",
              "find [Title] = 'Brazil'; clear"}) {
            f.run(QString::fromLatin1(steps));
            QCOMPARE(f.text("txtComments").left(10), comment.left(10));
            const bool typed = QByteArray(steps).contains("type");
            QCOMPARE(box->cursorPosition(), typed ? 301 : 0);
            if (typed)
                QVERIFY(box->x() + caretX() < f.w().cmdReview()->x());
            else
                QCOMPARE(caretX(), leftEdge);
        }
    }

    // Last: the window closed in the edit cycle's last row ends the application's event loops,
    // so no dialog runs after it.
    // Every button draws its own picture, with no icon theme: sharp at twice the pixels, each
    // unlike the others, and grey when the button is off.
    void toolbarPicturesNeedNoIconTheme()
    {
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QString());
        MainWindowFixture f(QList<QVariantMap>{});
        auto picture = [&f](int button, qreal ratio, QIcon::Mode mode) {
            return f.w().cmdToolbar(button)->icon().pixmap(QSize(16, 16), ratio, mode).toImage();
        };
        for (int index = 0; index < 7; ++index) {
            for (qreal ratio : {1.0, 2.0}) {
                const QImage normal = picture(index, ratio, QIcon::Normal);
                const QImage greyed = picture(index, ratio, QIcon::Disabled);
                QCOMPARE(normal.size(), QSize(16, 16) * ratio);
                int drawn = 0, coloured = 0;
                for (int y = 0; y < normal.height(); ++y)
                    for (int x = 0; x < normal.width(); ++x) {
                        const QRgb pixel = greyed.pixel(x, y);
                        drawn += qAlpha(normal.pixel(x, y)) > 0;
                        coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
                    }
                QVERIFY2(drawn * 5 > normal.width() * normal.height(), "a nearly empty picture");
                QVERIFY(greyed != normal && coloured == 0);
            }
            for (int other = 0; other < index; ++other)
                QVERIFY(picture(other, 1.0, QIcon::Normal) != picture(index, 1.0, QIcon::Normal));
        }
    }

    void commandFlow_data()
    {
        TestSupport::commandFlow_data(
            {"window/main_window.tsv", "window/input.tsv", "window/edit_cycle.tsv"});
    }
    void commandFlow() { TestSupport::commandFlow(); }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
