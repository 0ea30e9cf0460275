// Import, export and backup from the catalog window: the list's menu reached by mouse and
// keys, the file chooser, the question before an import, Cancel in its progress window, a
// dropped file, pending changes before each command, the toolbar's keys, and the day's
// backup made without asking.
#include "BackupRetention.h"
#include "CatalogTransferMenu.h"
#include "DailyBackupRunner.h"
#include "FileChooser.h"
#include "MovieSheet.h"
#include "TestSupport.h"
#include "frmSearch.h"

#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

namespace
{

// Answers the file chooser from `paths` ("-": cancelled) and records what it was asked.
struct Chooser {
    QStringList paths;
    QStringList captions;
    Chooser()
    {
        SetFileChooserHook([this](const FileChooserRequest &request) {
            captions << request.caption;
            const QString path = paths.isEmpty() ? QString() : paths.takeFirst();
            return path == QLatin1String("-") ? QString() : path;
        });
    }
    ~Chooser() { SetFileChooserHook({}); }
};

QMenu *listMenu(MainWindowFixture &f)
{
    return f.w().findChild<CatalogTransferMenu *>()->menu();
}

// Opens the list's menu as `how` says: "right" (a right click), "menu" (the Menu key) or
// "shift+f10"; true when it shows exactly the three entries.
bool openMenu(MainWindowFixture &f, const QString &how)
{
    ListBox &list = f.list();
    if (how == QLatin1String("right")) {
        const QPoint at = list.visualRect(list.model()->index(0, 0)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &click);
    } else {
        list.setFocus();
        QTest::keyClick(&list, how == QLatin1String("menu") ? Qt::Key_Menu : Qt::Key_F10,
                        how == QLatin1String("menu") ? Qt::NoModifier : Qt::ShiftModifier);
    }
    QStringList captions;
    for (QAction *action : listMenu(f)->actions())
        captions << action->text();
    return listMenu(f)->isVisible() &&
           captions == QStringList{"Import Movies...", "Export Movies...", "Back Up Catalog..."};
}

// Clicks the menu's entry `index` and lets the command run.
void chooseEntry(MainWindowFixture &f, int index)
{
    QMenu *menu = listMenu(f);
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(menu->actions()[index]).center());
    QTRY_VERIFY(!menu->isVisible());
    QCoreApplication::processEvents(); // the command runs once the menu has closed
}

void drop(frmTarsel &window, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &dropped);
    QVERIFY(dropped.isAccepted());
    QCoreApplication::processEvents(); // the import runs once the drop has ended
}

QString filePath(MainWindowFixture &f, const QString &name)
{
    return name.startsWith(QLatin1String("data:")) ? dataPath(name.mid(5)) : f.dir.filePath(name);
}

void runSteps(MainWindowFixture &f, Chooser &chooser, const QString &steps)
{
    static const QStringList entries{"import", "export", "backup"};
    for (const QString &step : steps.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString word = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        if (entries.contains(step)) {
            QVERIFY(openMenu(f, QStringLiteral("right")));
            chooseEntry(f, int(entries.indexOf(step)));
        } else if (word == QLatin1String("choose")) {
            chooser.paths << (rest == QLatin1String("-") ? rest : filePath(f, rest));
        } else if (word == QLatin1String("drop")) {
            drop(f.w(), filePath(f, rest));
        } else {
            f.run(step);
        }
    }
}

// Runs the day's backup as start-up does and waits for it to end.
void dailyBackup(frmTarsel &window, QDate today)
{
    window.StartDailyBackup(today, 0);
    auto *runner = window.findChild<DailyBackupRunner *>();
    QTRY_VERIFY_WITH_TIMEOUT(!runner->running(), 20000);
    QCoreApplication::processEvents(); // its report
}

// Runs `action` on the top-level window of type T once one shows, while the timer lives.
template <typename T> std::unique_ptr<QTimer> whenShown(std::function<void(T &)> action)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [action] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *shown = qobject_cast<T *>(window); shown && shown->isVisible())
                return action(*shown);
    });
    timer->start(10);
    return timer;
}

QStringList backupFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestWindowTransfer : public QObject
{
    Q_OBJECT
  private slots:
    void menuOpens_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"right", "menu", "shift+f10"})
            QTest::newRow(how) << QString(how);
    }
    // A right click, the Menu key and Shift+F10 open the list's menu with its three entries.
    void menuOpens()
    {
        QFETCH(QString, how);
        MainWindowFixture f(titled({"Alien"}));
        QVERIFY(f.show());
        QVERIFY(openMenu(f, how));
        listMenu(f)->close();
    }

    void commands_data()
    {
        addRows("window/transfer.tsv", {"movies", "steps", "state", "stored", "after"});
    }
    void commands()
    {
        QFETCH(QString, movies);
        QFETCH(QString, steps);
        QFETCH(QString, state);
        QFETCH(QString, stored);
        QFETCH(QString, after);
        MainWindowFixture f(titled(movies.split(u',')));
        QVERIFY(f.show());
        Chooser chooser;
        runSteps(f, chooser, steps);
        const QString shown = f.state();
        QVERIFY2(matches(shown, state), qPrintable(shown));
        QVERIFY2(matches(f.stored(), stored), qPrintable(f.stored()));
        QStringList seen{"asked=" + chooser.captions.join(u',')};
        for (const QString &file : after.split(QStringLiteral("; ")).mid(1))
            seen << (QFileInfo::exists(f.dir.filePath(file)) ? file : "no " + file);
        QCOMPARE(seen.join(QStringLiteral("; ")), after);
        QVERIFY(f.w().picToolbar()->isEnabled());
    }

    // Cancel in the progress window of a long import leaves the catalog as it was.
    void cancelWritesNothing()
    {
        MainWindowFixture f(titled({"Alien"}));
        QVERIFY(f.show());
        QByteArray csv = "Title,Director\n";
        for (int i = 0; i < 30000; ++i) // long enough to be cancelled while it runs
            csv += "Movie " + QByteArray::number(i) + ",Someone\n";
        QVERIFY(writeFile(f.dir.filePath("long.csv"), csv));
        f.w().findChild<CatalogTransferMenu *>()->setProgressDelay(0);
        bool asked = false, cancelled = false;
        f.boxes.seen = [&] { asked = true; };
        const auto canceller = whenShown<QProgressDialog>([&](QProgressDialog &progress) {
            if (!asked)
                return; // the file is read before the question, with a progress window too
            QTest::mouseClick(progress.findChild<QPushButton *>(), Qt::LeftButton);
            cancelled = true;
        });
        Chooser chooser;
        chooser.paths << f.dir.filePath("long.csv");
        const QByteArray before = readFile(f.catalog());
        QVERIFY(openMenu(f, "menu"));
        chooseEntry(f, 0);
        QVERIFY(cancelled);
        QCOMPARE(readFile(f.catalog()), before);
        const QString shown = f.state();
        QVERIFY2(matches(shown, "Alien|0|Alien|0|+++++++|36|Import the movies of long.csv into the "
                                "catalog?\n\n30,000 movies would be added.*"),
                 qPrintable(shown));
    }

    // A movie deleted after the day's backup comes back, and only it, by importing the backup.
    void deletedMovieComesBack()
    {
        MainWindowFixture f(QStringLiteral("window/four_movies.sql"));
        QVERIFY(f.show());
        const QString before = f.stored();
        const QDate today = QDate::currentDate();
        dailyBackup(f.w(), today);
        f.run("row 1; answer Yes; delete");
        QVERIFY(f.stored() != before);
        Chooser chooser;
        chooser.paths << f.dir.filePath("backups/" + BackupRetention::fileName(today));
        f.boxes.answers << vbYes;
        QVERIFY(openMenu(f, "right"));
        chooseEntry(f, 0);
        QVERIFY2(f.state().contains("1 movie would be added."), qPrintable(f.stored()));
        QStringList rows;
        for (const QString &catalog :
             {f.catalog(), f.dir.filePath("backups/" + BackupRetention::fileName(today))})
            rows << scalar(catalog,
                           "SELECT group_concat(r, '/') FROM (SELECT Title || '|' || "
                           "ifnull(quote(Value),'') || '|' || ifnull(Director,'') || '|' || "
                           "ifnull(Comments,'') AS r FROM Movies ORDER BY Title)")
                        .toString();
        QCOMPARE(rows[0], rows[1]);
    }

    void shortcuts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("pair");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("effect");
        const std::tuple<const char *, int, const char *> keys[] = {
            {"Ctrl+N", 0, "edit mode 2,stored Heat=Mann"},
            {"Ctrl+S", 2, "stored Heat=Mann"},
            {"Ctrl+P", 4, "printer asked"},
            {"Ctrl+F", 5, "search window"},
            {"Delete", 1, "question"}};
        for (const auto &[key, pair, effect] : keys) {
            QTest::newRow(qPrintable(QString(key) + " enabled")) << key << pair << true << effect;
            QTest::newRow(qPrintable(QString(key) + " disabled")) << key << pair << false << "";
        }
    }
    // Each key runs its button's command when the button is enabled, and nothing otherwise.
    void shortcuts()
    {
        QFETCH(QString, key);
        QFETCH(int, pair);
        QFETCH(bool, enabled);
        QFETCH(QString, effect);
        MainWindowFixture f(titled({"Alien", "Heat"}));
        QVERIFY(f.show());
        f.run("select Heat; txtDirector=Mann; focus lstMovies");
        f.w().setPairEnabled(pair, enabled);
        QStringList seen;
        SetPrinterDialogHook([&](QWidget *) {
            seen << "printer asked";
            return std::unique_ptr<QPrinter>();
        });
        const auto closer = whenShown<frmSearch>([&](frmSearch &search) {
            seen << "search window";
            search.reject();
        });
        f.boxes.answers << vbNo;
        const QKeyCombination combination = QKeySequence(key)[0];
        QTest::keyClick(&f.list(), combination.key(), combination.keyboardModifiers());
        SetPrinterDialogHook({});
        if (f.editMode() == 2)
            seen << "edit mode 2";
        if (f.stored().contains("Heat=Mann"))
            seen << "stored Heat=Mann";
        if (!f.boxes.shown.isEmpty())
            seen << "question";
        QCOMPARE(seen.join(u','), effect);
        QVERIFY(!f.w().cmdToolbar(pair)->Value());
    }

    void dailyBackupsKept_data() { addRows("window/daily_backups.tsv", {"days", "kept"}); }
    // Started on nine days over months, the folder holds the backups the rule keeps; each
    // opens as a catalog with the catalog's rows.
    void dailyBackupsKept()
    {
        QFETCH(QString, days);
        QFETCH(QString, kept);
        MainWindowFixture f(titled({"Alien", "Heat"}));
        const QString folder = f.dir.filePath("backups");
        QDir().mkpath(folder);
        writeFile(folder + "/notes.txt", "mine");
        for (const QString &day : days.split(u',')) {
            f.load(); // the window opened anew that day
            dailyBackup(f.w(), QDate::fromString(day, Qt::ISODate));
        }
        QVERIFY(QFile::remove(folder + "/notes.txt")); // another file is never removed
        QCOMPARE(backupFiles(folder).join(u','), kept);
        QCOMPARE(BoundCatalog(folder + "/" + backupFiles(folder).first()).titles(),
                 (QStringList{"Alien", "Heat"}));
        QCOMPARE(f.boxes.shown, QStringList());
    }

    // A folder that cannot be made (a file holds its name): one message naming it, and the
    // window works on.
    void backupFailureToldOnce()
    {
        MainWindowFixture f(titled({"Alien"}));
        QVERIFY(f.show());
        const QString folder = f.dir.filePath("backups");
        QVERIFY(writeFile(folder, "in the way"));
        dailyBackup(f.w(), QDate(2026, 3, 1));
        dailyBackup(f.w(), QDate(2026, 3, 2));
        QCOMPARE(f.boxes.shown.size(), 1);
        QVERIFY2(f.boxes.shown[0].contains(folder), qPrintable(f.boxes.shown[0]));
        f.run("add; txtTitle=Heat; save");
        QCOMPARE(f.stored(), QStringLiteral("Alien,Heat"));
    }
};

QTEST_MAIN(TestWindowTransfer)
#include "test_window_transfer.moc"
