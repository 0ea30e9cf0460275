// Killing a writer at random moments never corrupts the catalog or loses a completed write.
#include "Database.h"
#include "TestData.h"

#include <QProcess>
#include <QThread>

#include <csignal>
#include <random>

namespace
{

using Catalog = std::map<QString, QString>; // title -> version (Director and Comments)

Catalog applied(Catalog state, const QStringList &op)
{
    state.erase(op[1]);
    if (op[0] != QLatin1String("delete"))
        state[op[op.size() - 2]] = op.last();
    return state;
}

// The journal's completed writes applied to `state`; the write begun but not recorded as
// completed, if any, is returned for the caller to allow either way.
std::optional<QStringList> replay(const QByteArray &journal, Catalog &state, int *completed)
{
    std::optional<QStringList> inFlight;
    const QList<QByteArray> lines = journal.split('\n');
    // The last element follows the last line break: a line cut short by the kill, or empty.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QStringList op = QString::fromUtf8(lines[i]).split(u' ').mid(1);
        if (lines[i].startsWith("begin: ")) {
            inFlight = op;
            continue;
        }
        if (!lines[i].startsWith("committed: ") || !inFlight || op != *inFlight)
            qFatal("journal out of order: %s", lines[i].constData());
        inFlight.reset();
        ++*completed;
        state = applied(std::move(state), op);
    }
    return inFlight;
}

// Opens the catalog as the program does (recovering an interrupted write), checks it and reads
// every movie; a movie whose Director and Comments differ was half written.
Catalog readBack(const QString &path, QString *problem)
{
    auto db = Database::open(path);
    Statement check(*db, QStringLiteral("PRAGMA integrity_check"));
    if (!check.step() || check.text(0) != QLatin1String("ok"))
        *problem = QStringLiteral("integrity check: ") + check.text(0);
    Catalog movies;
    Statement rows(*db, QStringLiteral("SELECT Title, Director, Comments, Value FROM Movies"));
    while (rows.step()) {
        if (rows.text(1) != rows.text(2) || rows.real(3) != 12.5 || movies.count(rows.text(0)))
            *problem = QStringLiteral("half-written or doubled movie ") + rows.text(0);
        movies[rows.text(0)] = rows.text(1);
    }
    return movies;
}

QString describe(const Catalog &catalog)
{
    QString text;
    for (const auto &[title, version] : catalog)
        text += title + u'=' + version + u',';
    return text;
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT
  private slots:
    void killedWriterLosesNothing_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("kills");
        QTest::addColumn<int>("maxDelayMs");
        QTest::newRow("early kills, empty catalog") << 11u << 40 << 40;
        QTest::newRow("late kills, grown catalog") << 90210u << 40 << 400;
    }
    void killedWriterLosesNothing()
    {
        QFETCH(quint32, seed);
        QFETCH(int, kills);
        QFETCH(int, maxDelayMs);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        createCatalog(path);
        std::mt19937 random(seed);
        Catalog expected;
        int completed = 0, interrupted = 0; // interrupted: kills between a write's start and end
        for (int round = 0; round < kills; ++round) {
            const QString journalPath = dir.filePath(QStringLiteral("journal-%1").arg(round));
            QProcess writer;
            writer.start(QStringLiteral(CRASH_WRITER_PATH),
                         {path, journalPath, QString::number(round), QString::number(random())});
            QVERIFY2(writer.waitForReadyRead(10000), writer.readAllStandardError().constData());
            QThread::msleep(random() % unsigned(maxDelayMs + 1));
            const bool ranUntilKilled = writer.state() == QProcess::Running;
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(5000));
            QVERIFY2(ranUntilKilled, writer.readAllStandardError().constData());

            const auto inFlight = replay(readFile(journalPath), expected, &completed);
            QString problem;
            const Catalog actual = readBack(path, &problem);
            if (actual != expected && !(inFlight && actual == applied(expected, *inFlight)))
                problem += QStringLiteral("catalog %1, expected %2, in flight %3")
                               .arg(describe(actual), describe(expected),
                                    inFlight ? inFlight->join(' ') : "");
            QVERIFY2(problem.isEmpty(),
                     qPrintable(QStringLiteral("round %1: ").arg(round) + problem));
            expected = actual;
            interrupted += bool(inFlight);
        }
        qInfo("%d kills (%d in the middle of a write), %d writes completed, %zu movies, 0 lost",
              kills, interrupted, completed, expected.size());
        QVERIFY(completed > 0);
        QVERIFY(interrupted > kills / 2);
    }
};

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "test_crash_recovery.moc"
