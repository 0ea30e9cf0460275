// A writer that adds, edits and deletes movies through the data control as the catalog window
// does, and records each write in a journal once the store has returned from it. The crash test
// kills it at random moments and compares the catalog with the journal.
//
// crash_writer CATALOG JOURNAL ROUND SEED
//
// Journal lines, each written and synced before the next step:
//   begin: add TITLE VERSION            committed: add TITLE VERSION
//   begin: update OLD NEW VERSION       committed: update OLD NEW VERSION
//   begin: delete TITLE                 committed: delete TITLE
#include "FakeField.h"
#include "BoundField.h"
#include "DataControl.h"
#include "MovieColumns.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>

namespace {

class Journal
{
public:
    explicit Journal(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644))
    {
    }
    ~Journal() { ::close(m_fd); }
    bool ok() const { return m_fd >= 0; }
    void line(const QString &text)
    {
        const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            ::fsync(m_fd) != 0) {
            std::fprintf(stderr, "journal write failed\n");
            std::_Exit(3);
        }
    }

private:
    int m_fd;
};

struct Writer {
    DataControl data;
    FakeFields fields;
    Journal &journal;

    explicit Writer(Journal &j) : journal(j)
    {
        fields = bindEveryColumn(data);
    }
    FakeField &field(const char *name) { return *fields.at(QLatin1String(name)); }

    void add(const QString &title, const QString &version)
    {
        const QString what = QStringLiteral("add %1 %2").arg(title, version);
        journal.line(QStringLiteral("begin: ") + what);
        data.recordset().AddNew();
        field("Title").type(title);
        field("Director").type(version);
        field("Comments").type(version);
        field("Copyright").type(QStringLiteral("1999"));
        field("Value").type(QStringLiteral("$12.50"));
        data.recordset().Update();
        journal.line(QStringLiteral("committed: ") + what);
        data.Refresh();
    }

    void update(const QString &oldTitle, const QString &newTitle, const QString &version)
    {
        data.recordset().MoveFirst();
        data.recordset().Find(oldTitle);
        const QString what = QStringLiteral("update %1 %2 %3").arg(oldTitle, newTitle, version);
        journal.line(QStringLiteral("begin: ") + what);
        field("Title").type(newTitle);
        field("Director").type(version);
        field("Comments").type(version);
        data.recordset().Update();
        journal.line(QStringLiteral("committed: ") + what);
        data.Refresh();
    }

    void remove(const QString &title)
    {
        data.recordset().MoveFirst();
        data.recordset().Find(title);
        const QString what = QStringLiteral("delete %1").arg(title);
        journal.line(QStringLiteral("begin: ") + what);
        data.recordset().Delete();
        journal.line(QStringLiteral("committed: ") + what);
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
    Journal journal(args[2]);
    if (!journal.ok())
        return 2;
    const QString round = args[3];
    std::mt19937 random(args[4].toUInt());
    Writer writer(journal);
    try {
        writer.data.Open(args[1]);
        writer.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies]"));
        writer.data.Refresh();
        // The test starts its clock here, so that its kills fall among the writes.
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        for (int n = 0; n < 100000; ++n) {
            const QString name = QStringLiteral("R%1-%2").arg(round).arg(n);
            const auto &rows = writer.data.recordset().rows();
            const int choice = int(random() % 10);
            if (rows.empty() || choice < 5) {
                writer.add(name, name);
            } else {
                const QString existing = rows[random() % rows.size()].title;
                if (choice < 8)
                    writer.update(existing, name, name);
                else
                    writer.remove(existing);
            }
        }
    } catch (const StoreError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
