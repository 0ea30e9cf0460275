// Saving when the disk is full or the catalog file refuses writes: the user is told, the
// pending movie stays, the catalog stays whole, and the next save after the cause is gone works.
#include "TestSupport.h"

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

#include <sqlite3.h>

namespace
{

// As the next program to open the catalog sees it: a journal left by the refused write is
// rolled back first, which needs a connection that may write.
QString integrity(const QString &path)
{
    exec(path, "PRAGMA user_version"); // opens for writing and so rolls back a journal
    return scalar(path, "PRAGMA integrity_check").toString();
}

// Files of this process may not grow past `bytes` while it lives: a full disk, as SQLite sees it.
struct FileSizeLimit {
    rlimit saved{};
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN); // a write fails with EFBIG instead
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
};

bool setImmutable(const QString &path, bool on)
{
    return QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0;
}

} // namespace

class TestWriteErrors : public QObject
{
    Q_OBJECT
  private slots:
    void fullDiskKeepsTheNewMovie()
    {
        MainWindowFixture f(titled({"Alien", "Brazil"}));
        const QByteArray before = readFile(f.catalog());
        f.run("add; txtTitle=Casablanca; txtComments=" + QString(200000, QLatin1Char('x')));
        {
            FileSizeLimit full(QFileInfo(f.catalog()).size());
            f.click(2);
        }
        QCOMPARE(f.entries(), (QStringList{"Alien", "Brazil"}));
        QCOMPARE(f.state().section(u'|', 2),
                 QStringLiteral("Casablanca|2|--+----|64|The movie could "
                                "not be saved. The catalog could not be read or written: "
                                "the disk is full."));
        QCOMPARE(readFile(f.catalog()), before);
        QCOMPARE(integrity(f.catalog()), QStringLiteral("ok"));
        f.click(2); // room again
        QCOMPARE(f.state(), QStringLiteral("Alien,Brazil,Casablanca|0|Alien|0|+++++++|"));
        QCOMPARE(
            scalar(f.catalog(), "SELECT length(Comments) FROM Movies WHERE Title='Casablanca'"),
            QVariant(qint64(200000)));
    }

    // An immutable file refuses writes even to a program that opened it for writing, and even
    // to root, for whom permissions are no obstacle.
    void readOnlyCatalogKeepsTheEdit()
    {
        MainWindowFixture f(titled({"Alien", "Brazil"}));
        if (!setImmutable(f.catalog(), true))
            QSKIP("chattr +i is not possible here (it needs root and a file system that has it)");
        f.run("txtDirector=Scott; save");
        setImmutable(f.catalog(), false);
        QCOMPARE(f.boxes.shown.size(), 1);
        QVERIFY2(f.boxes.shown[0].startsWith("64|The movie could not be saved. "),
                 qPrintable(f.boxes.shown[0]));
        QCOMPARE(f.editMode(), 1);
        QCOMPARE(f.text("txtDirector"), QStringLiteral("Scott"));
        QCOMPARE(integrity(f.catalog()), QStringLiteral("ok"));
        QCOMPARE(f.stored(), QStringLiteral("Alien,Brazil"));
        f.click(2);
        QCOMPARE(f.stored(), QStringLiteral("Alien=Scott,Brazil"));
    }
};

QTEST_MAIN(TestWriteErrors)
#include "test_write_errors.moc"
