// Times the catalog window's interactions over generated catalogs and prints one table.
//
//   reelwarden-bench [--runs N] [--data DIR] [SIZE...]     (default sizes: 1000 10000 100000)
//
// Each catalog size runs in its own process, so the peak memory printed is that size's own.
// Catalogs are generated once into DIR (default /tmp/reelwarden-bench) and copied per run.
#include "BoundControls.h"
#include "CatalogGenerator.h"
#include "ListBox.h"
#include "Look.h"
#include "MessageBox.h"
#include "QueryBuilder.h"
#include "RibbonButton.h"
#include "Settings.h"
#include "TextFold.h"
#include "frmTarsel.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{

const char *const kInteractions[] = {"open",      "select (code)", "select (arrow)",
                                     "save",      "add",           "delete",
                                     "search 1%", "clear",         "open, backup due"};
constexpr int kInteractionCount = 9;

struct Timings {
    std::vector<double> ms[kInteractionCount];
    std::vector<double> titlesFloor, searchFloor;
};

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

QString catalogPath(const QString &dataDir, int size)
{
    return QStringLiteral("%1/movies-%2.mdb").arg(dataDir).arg(size);
}

// ---- Floors: SQLite alone on the same file ----------------------------------------------

double sqliteFloor(const QString &path, const QByteArray &sql, bool folding)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (folding)
        TextFold::install(db);
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
    qint64 bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW)
        bytes += sqlite3_column_bytes16(statement, 1) + sqlite3_column_int64(statement, 0) % 2;
    sqlite3_finalize(statement);
    const double ms = elapsedMs(timer);
    sqlite3_close(db);
    return bytes >= 0 ? ms : ms;
}

QString searchStatement(int run)
{
    SearchEntries entries;
    entries.title =
        CatalogGenerator::leadWord((run * 37) % CatalogGenerator::kLeadWords) + QLatin1Char('*');
    return BuildSearchStatement(entries).sql;
}

// ---- The window -------------------------------------------------------------------------

struct Window {
    QString folder;
    std::unique_ptr<frmTarsel> w;
    ListBox &list() { return *w->lstMovies(); }
    void click(int index) { w->cmdToolbar(index)->setValue(true); }
};

void copyCatalog(const QString &from, const QString &folder)
{
    QDir().mkpath(folder);
    const QString to = folder + QStringLiteral("/movies.mdb");
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(from));
        std::exit(2);
    }
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

// `backupDue`: the day's backup starts as soon as the window is on screen (start-up leaves it
// a second later), so that the figure shows the most it could cost.
double openWindow(Window &window, bool backupDue = false)
{
    QElapsedTimer timer;
    timer.start();
    window.w = std::make_unique<frmTarsel>(window.folder);
    window.w->show();
    window.w->Load();
    if (backupDue)
        window.w->StartDailyBackup(QDate::currentDate(), 0);
    QCoreApplication::processEvents();
    return elapsedMs(timer);
}

// Times `action` from an idle window, as a user's action starts: what earlier actions left
// for the event loop (repaints, layouts) is done first, untimed.
template <typename F> double timed(F &&action)
{
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    action();
    return elapsedMs(timer);
}

void runSize(int size, int runs, const QString &dataDir, Timings &t)
{
    const QString source = catalogPath(dataDir, size);
    const QString folder = QStringLiteral("%1/run-%2").arg(dataDir).arg(size);
    QDir().mkpath(folder);
    setIniPath(folder + QStringLiteral("/TARSEL.INI"));
    SetMsgBoxHook([](const QString &, int) { return int(vbYes); });
    std::mt19937_64 rng(size);

    for (int run = 0; run < runs; ++run) {
        t.titlesFloor.push_back(sqliteFloor(source, "SELECT rowid, [Title] FROM [Movies]", false));
        const QByteArray search = searchStatement(run).toUtf8();
        t.searchFloor.push_back(sqliteFloor(source, search, true));
    }

    // Open: a fresh copy of the catalog each time, the page cache warm as a user's would be.
    for (int run = 0; run < runs; ++run) {
        copyCatalog(source, folder);
        Window window{folder, nullptr};
        t.ms[0].push_back(openWindow(window));
    }

    // Open with the day's backup due: the window's figure; the backup it starts is waited for
    // untimed, when the window closes.
    for (int run = 0; run < runs; ++run) {
        copyCatalog(source, folder);
        QDir(folder + QStringLiteral("/backups")).removeRecursively();
        Window window{folder, nullptr};
        t.ms[8].push_back(openWindow(window, true));
    }
    QDir(folder + QStringLiteral("/backups")).removeRecursively();

    copyCatalog(source, folder);
    Window window{folder, nullptr};
    openWindow(window);
    auto randomIndex = [&] { return int(rng() % quint64(window.list().ListCount())); };

    for (int run = 0; run < runs * 3; ++run) {
        const int index = randomIndex();
        t.ms[1].push_back(timed([&] { window.list().setListIndex(index); }));
    }
    window.list().setFocus();
    for (int run = 0; run < runs * 3; ++run) {
        if (window.list().ListIndex() >= window.list().ListCount() - 2)
            window.list().setListIndex(0);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        t.ms[2].push_back(timed([&] {
            QApplication::sendEvent(&window.list(), &press);
            QApplication::sendEvent(&window.list(), &release);
        }));
    }
    for (int run = 0; run < runs; ++run) {
        // Save: a changed title (the list entry moves) and a changed director.
        window.list().setListIndex(randomIndex());
        window.w->txtTitle()->setText(window.w->txtTitle()->text() + QStringLiteral(" (Redux)"));
        window.w->txtDirector()->setText(QStringLiteral("Agnès Varda"));
        t.ms[3].push_back(timed([&] { window.click(2); }));
    }
    for (int run = 0; run < runs; ++run) {
        t.ms[4].push_back(timed([&] {
            window.click(0);
            window.w->txtTitle()->setText(QStringLiteral("Bench Addition %1 Ærø").arg(run));
            window.click(2);
        }));
    }
    for (int run = 0; run < runs; ++run) {
        window.list().setListIndex(randomIndex());
        t.ms[5].push_back(timed([&] { window.click(1); }));
    }
    for (int run = 0; run < runs; ++run) {
        const QString statement = searchStatement(run);
        QString error;
        t.ms[6].push_back(timed([&] { window.w->ApplySearch(statement, &error); }));
        if (!error.isEmpty())
            std::fprintf(stderr, "search refused: %s\n", qPrintable(error));
        t.ms[7].push_back(timed([&] { window.click(6); }));
    }
    window.w.reset();
    SetMsgBoxHook({});
}

// ---- Child process: one size --------------------------------------------------------------

void writeDoubles(FILE *out, const std::vector<double> &values)
{
    std::fprintf(out, "%zu", values.size());
    for (double v : values)
        std::fprintf(out, " %.6f", v);
    std::fprintf(out, "\n");
}

std::vector<double> readDoubles(FILE *in)
{
    size_t n = 0;
    std::vector<double> values;
    if (std::fscanf(in, "%zu", &n) != 1)
        return values;
    values.resize(n);
    for (auto &v : values)
        if (std::fscanf(in, "%lf", &v) != 1)
            v = 0;
    return values;
}

int child(int size, int runs, const QString &dataDir, int fd)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "reelwarden-bench";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    SetUpFonts();
    Timings t;
    runSize(size, runs, dataDir, t);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    FILE *out = fdopen(fd, "w");
    for (const auto &values : t.ms)
        writeDoubles(out, values);
    writeDoubles(out, t.titlesFloor);
    writeDoubles(out, t.searchFloor);
    std::fprintf(out, "%ld\n", usage.ru_maxrss);
    std::fclose(out);
    return 0;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double worst(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 5;
    QString dataDir = QStringLiteral("/tmp/reelwarden-bench");
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--data" && i + 1 < argc)
            dataDir = QString::fromLocal8Bit(argv[++i]);
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--data DIR] [SIZE...]\n", argv[0]);
            return 2;
        }
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};
    QDir().mkpath(dataDir);

    std::printf("%-9s %-15s %10s %10s %10s %8s\n", "movies", "interaction", "median ms", "worst ms",
                "floor ms", "x floor");
    for (int size : sizes) {
        const QString path = catalogPath(dataDir, size);
        if (!QFile::exists(path)) {
            std::fflush(stdout);
            const pid_t generator = fork();
            if (generator == 0) {
                CatalogGenerator::write(path + QStringLiteral(".part"), size);
                QFile::rename(path + QStringLiteral(".part"), path);
                _exit(0);
            }
            int status = 0;
            waitpid(generator, &status, 0);
        }
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return 1;
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            close(pipeFds[0]);
            _exit(child(size, runs, dataDir, pipeFds[1]));
        }
        close(pipeFds[1]);
        FILE *in = fdopen(pipeFds[0], "r");
        std::vector<double> results[kInteractionCount];
        for (auto &values : results)
            values = readDoubles(in);
        const auto titlesFloor = readDoubles(in);
        const auto searchFloor = readDoubles(in);
        long peakKb = 0;
        if (std::fscanf(in, "%ld", &peakKb) != 1)
            peakKb = -1;
        std::fclose(in);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("%-9d run failed (status %d)\n", size, status);
            continue;
        }
        const double titles = median(titlesFloor);
        const double search = median(searchFloor);
        for (int i = 0; i < kInteractionCount; ++i) {
            const double floor = i == 6 ? search : titles;
            std::printf("%-9d %-15s %10.2f %10.2f %10.2f %8.2f\n", size, kInteractions[i],
                        median(results[i]), worst(results[i]), floor,
                        floor > 0 ? median(results[i]) / floor : 0.0);
        }
        std::printf("%-9d %-15s %10.1f MB\n", size, "peak memory", double(peakKb) / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
