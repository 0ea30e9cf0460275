// The catalog's NOCASE collation and LIKE give the same answers as TextFold's own comparison
// for every pair of texts, ASCII or not (the SQL versions take shortcuts for plain ASCII).
#include "TestData.h"
#include "TextFold.h"

#include <sqlite3.h>

namespace
{

int sqlInt(sqlite3 *db, const char *sql, const QString &a, const QString &b)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    const QByteArray left = a.toUtf8(), right = b.toUtf8();
    sqlite3_bind_text(statement, 1, left.constData(), int(left.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, right.constData(), int(right.size()), SQLITE_TRANSIENT);
    const int result =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -99;
    sqlite3_finalize(statement);
    return result;
}

} // namespace

class TestStoreFold : public QObject
{
    Q_OBJECT
  private slots:
    void sqlAgreesWithTextFold()
    {
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        QCOMPARE(TextFold::install(db), SQLITE_OK);
        const QStringList texts = QString("|a|A|ab|AB c|abc|Straße|STRASSE|strasse|Éclair|eclair|"
                                          "ÉCLAIR|z|[|_|abc%|Midnight Harbor|midnight|über|ÜBER|u")
                                      .split(u'|');
        const QStringList patterns =
            QString("%|a%|A_C|%c|stra%|%SS%|é%|_|midnight%|%a%b%|Ü%|").split(u'|');
        for (const QString &a : texts) {
            for (const QString &b : texts) {
                const int order = TextFold::compareIgnoringCase(a, b);
                QCOMPARE(sqlInt(db,
                                "SELECT CASE WHEN ?1 = ?2 COLLATE NOCASE THEN 0 WHEN ?1 < ?2 "
                                "COLLATE NOCASE THEN -1 ELSE 1 END",
                                a, b),
                         order < 0 ? -1 : order > 0);
            }
            for (const QString &p : patterns) {
                QCOMPARE(sqlInt(db, "SELECT ?2 LIKE ?1", p, a), int(TextFold::like(p, a)));
                QCOMPARE(sqlInt(db, "SELECT ?2 LIKE ?1 ESCAPE 'c'", p, a),
                         int(TextFold::like(p, a, QLatin1Char('c'))));
            }
        }
        sqlite3_close(db);
    }
};

QTEST_MAIN(TestStoreFold)
#include "test_store_fold.moc"
