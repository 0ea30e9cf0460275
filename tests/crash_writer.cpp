// A writer that adds, edits and deletes movies through the data control as the catalog window
// does, and records each write in a journal once the store has returned from it. The crash test
// kills it at random moments and compares the catalog with the journal.
//
// crash_writer CATALOG JOURNAL ROUND SEED
//
// Journal lines, each written and synced before the next step ("begin: " or "committed: "
// before each): add TITLE VERSION, update OLD NEW VERSION, delete TITLE.
#include "StoreError.h"
#include "TestData.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <random>

namespace
{

struct Writer : BoundCatalog {
    int journal;
    Writer(const QString &path, const QString &journalPath)
        : BoundCatalog(path), journal(::open(QFile::encodeName(journalPath).constData(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0644))
    {
    }
    void line(const QString &text)
    {
        const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
        if (::write(journal, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            ::fsync(journal) != 0) {
            std::fprintf(stderr, "journal write failed\n");
            std::_Exit(3);
        }
    }
    // Writes a movie's title and version (Director and Comments), or deletes it when `title`
    // is empty, between its journal lines.
    void write(const QString &what, const QString &title, const QString &version)
    {
        line(QStringLiteral("begin: ") + what);
        if (title.isEmpty()) {
            rs().Delete();
        } else {
            field("Title").type(title);
            field("Director").type(version);
            field("Comments").type(version);
            field("Value").type(QStringLiteral("$12.50"));
            rs().Update();
        }
        line(QStringLiteral("committed: ") + what);
        data.Refresh();
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: crash_writer CATALOG JOURNAL ROUND SEED\n");
        return 2;
    }
    std::mt19937 random(args[4].toUInt());
    try {
        Writer writer(args[1], args[2]);
        // The test starts its clock here, so that its kills fall among the writes.
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        for (int n = 0; n < 100000; ++n) {
            const QString name = QStringLiteral("R%1-%2").arg(args[3]).arg(n);
            const QStringList titles = writer.titles();
            const int choice = int(random() % 10);
            const QString existing =
                titles.isEmpty() ? QString() : titles[random() % titles.size()];
            if (titles.isEmpty() || choice < 5) {
                writer.rs().AddNew();
                writer.write(QStringLiteral("add %1 %1").arg(name), name, name);
            } else {
                writer.select(existing);
                if (choice < 8)
                    writer.write(QStringLiteral("update %1 %2 %2").arg(existing, name), name, name);
                else
                    writer.write(QStringLiteral("delete %1").arg(existing), {}, {});
            }
        }
    } catch (const StoreError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
