// The edit cycle's rules without a window: leaving a movie with pending changes, and which
// toolbar commands each state enables.
#include "EditCycle.h"
#include "TestData.h"

namespace
{

struct Fixture : QTemporaryDir, BoundCatalog {
    EditCycle cycle;
    explicit Fixture(const QStringList &titles)
        : BoundCatalog((createCatalog(filePath("movies.mdb"), TestSupport::titled(titles)),
                        filePath("movies.mdb"))),
          cycle(data, [this] { return texts(); })
    {
    }
    QStringList texts()
    {
        QStringList result;
        for (const auto &[name, field] : fields)
            result << field->text();
        return result;
    }
    QString storedTitles()
    {
        rs().Requery();
        return titles().join(',');
    }
};

} // namespace

class TestEditCycle : public QObject
{
    Q_OBJECT
  private slots:
    void leavingTheCurrentMovie_data()
    {
        addRows("edit_cycle/leaving.tsv",
                {"movies", "start", "typed", "problem", "adding", "stored"});
    }
    void leavingTheCurrentMovie()
    {
        QFETCH(QString, movies);
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QFETCH(QString, adding);
        QFETCH(QString, stored);
        Fixture f(movies.split(','));
        if (start == "add") {
            f.rs().AddNew();
            f.cycle.startAdding();
        } else {
            QVERIFY(f.select(start));
        }
        for (const QString &entry : typed.split("; ", Qt::SkipEmptyParts))
            f.field(entry.section('=', 0, 0)).type(entry.section('=', 1));
        const auto leaving = f.cycle.leave(f.field("Title").text());
        QCOMPARE(leaving.problem, problem);
        QCOMPARE(leaving.wasAdding, adding == "yes");
        if (!problem.isEmpty()) {
            QCOMPARE(f.rs().EditMode(), adding == "yes" ? 2 : 1); // nothing changed yet
            f.cycle.discard();
        }
        QCOMPARE(f.rs().EditMode(), 0);
        QCOMPARE(f.storedTitles(), stored);
    }

    // While adding, Save alone; while browsing, every command, Delete only with a movie.
    void enabledCommands()
    {
        QStringList adding, browsingEmpty, browsing;
        for (int i = 0; i < kToolbarCommandCount; ++i) {
            const auto command = ToolbarCommand(i);
            adding << QString::number(EditCycle::enabledWhileAdding(command));
            browsingEmpty << QString::number(EditCycle::enabledWhileBrowsing(command, false));
            browsing << QString::number(EditCycle::enabledWhileBrowsing(command, true));
        }
        QCOMPARE(adding.join(""), "0010000");
        QCOMPARE(browsingEmpty.join(""), "1011111");
        QCOMPARE(browsing.join(""), "1111111");
    }
};

QTEST_GUILESS_MAIN(TestEditCycle)
#include "test_edit_cycle.moc"
