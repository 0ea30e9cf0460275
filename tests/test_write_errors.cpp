// Saving when the disk is full or the catalog file refuses writes: the user is told, the
// pending movie stays, the catalog stays whole, and the next save after the cause is gone works.
#include "MainWindowFixture.h"

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

namespace {

// As the next program to open the catalog sees it: a journal left by the refused write is
// rolled back first, which needs a connection that may write.
QString integrity(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt *statement = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// Files of this process may not grow past `bytes` while it lives: a full disk, as SQLite sees it.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // a write fails with EFBIG instead
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

bool setImmutable(const QString &path, bool on)
{
    return QProcess::execute(QStringLiteral("chattr"),
                             {on ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
}

} // namespace

class TestWriteErrors : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskKeepsTheNewMovie();
    void readOnlyCatalogKeepsTheEdit();
};

void TestWriteErrors::fullDiskKeepsTheNewMovie()
{
    MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
    const QByteArray before = TestCatalog::fileHash(f.catalog());
    f.click(0);
    f.w().txtTitle()->setText(QStringLiteral("Casablanca"));
    f.w().txtComments()->setText(QString(200000, QLatin1Char('x')));
    {
        FileSizeLimit full(QFileInfo(f.catalog()).size());
        f.click(2);
    }
    QCOMPARE(f.messages, QStringList{"64|The movie could not be saved. The catalog could not be "
                                     "read or written: the disk is full."});
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 2);
    QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Casablanca"));
    QVERIFY(f.pairDisabled(0)); // still adding: only Save offered
    QCOMPARE(TestCatalog::fileHash(f.catalog()), before);
    QCOMPARE(integrity(f.catalog()), QStringLiteral("ok"));

    f.click(2); // room again
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.entries(), (QStringList{"Alien", "Brazil", "Casablanca"}));
    QCOMPARE(TestCatalog::scalar(f.catalog(),
                                 "SELECT length(Comments) FROM Movies WHERE Title='Casablanca'")
                 .toInt(),
             200000);
}

void TestWriteErrors::readOnlyCatalogKeepsTheEdit()
{
    MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
    // An immutable file refuses writes even to a program that opened it for writing, and
    // even to root, for whom permissions are no obstacle.
    if (!setImmutable(f.catalog(), true))
        QSKIP("chattr +i is not possible here (it needs root and a file system that has it)");
    f.w().txtDirector()->setText(QStringLiteral("Scott"));
    f.click(2);
    setImmutable(f.catalog(), false);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages[0].startsWith(QStringLiteral("64|The movie could not be saved. ")),
             qPrintable(f.messages[0]));
    QCOMPARE(f.w().dataMovies().recordset().EditMode(), 1);
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Scott"));
    QCOMPARE(integrity(f.catalog()), QStringLiteral("ok"));
    QVERIFY(TestCatalog::scalar(f.catalog(), "SELECT Director FROM Movies WHERE Title='Alien'")
                .isNull());
    f.click(2);
    QCOMPARE(TestCatalog::scalar(f.catalog(), "SELECT Director FROM Movies WHERE Title='Alien'"),
             QVariant(QStringLiteral("Scott")));
}

QTEST_MAIN(TestWriteErrors)
#include "test_write_errors.moc"
