// The catalog's NOCASE collation and LIKE give the same answers as TextFold's own
// comparison for every pair of texts, ASCII or not (the SQL versions take shortcuts for
// plain ASCII).
#include "TextFold.h"

#include <QTest>

#include <sqlite3.h>

class TestStoreFold : public QObject
{
    Q_OBJECT
private slots:
    void sqlAgreesWithTextFold();
};

namespace {

int sqlInt(sqlite3 *db, const char *sql, const QString &a, const QString &b)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    const QByteArray left = a.toUtf8();
    const QByteArray right = b.toUtf8();
    sqlite3_bind_text(statement, 1, left.constData(), int(left.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, right.constData(), int(right.size()), SQLITE_TRANSIENT);
    int result = -99;
    if (sqlite3_step(statement) == SQLITE_ROW)
        result = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return result;
}

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

void TestStoreFold::sqlAgreesWithTextFold()
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
    QCOMPARE(TextFold::install(db), SQLITE_OK);
    const QStringList texts = {
        QString(),          QStringLiteral("a"),      QStringLiteral("A"),
        QStringLiteral("ab"), QStringLiteral("AB c"),  QStringLiteral("abc"),
        QStringLiteral("Straße"), QStringLiteral("STRASSE"), QStringLiteral("strasse"),
        QStringLiteral("Éclair"), QStringLiteral("eclair"), QStringLiteral("ÉCLAIR"),
        QStringLiteral("z"),  QStringLiteral("["),     QStringLiteral("_"),
        QStringLiteral("abc%"), QStringLiteral("Midnight Harbor"), QStringLiteral("midnight"),
        QStringLiteral("über"), QStringLiteral("ÜBER"), QStringLiteral("u"),
    };
    const QStringList patterns = {
        QStringLiteral("%"),    QStringLiteral("a%"),  QStringLiteral("A_C"),
        QStringLiteral("%c"),   QStringLiteral("stra%"), QStringLiteral("%SS%"),
        QStringLiteral("é%"),   QStringLiteral("_"),   QStringLiteral("midnight%"),
        QStringLiteral("%a%b%"), QStringLiteral("Ü%"), QStringLiteral(""),
    };
    for (const QString &a : texts) {
        for (const QString &b : texts) {
            QCOMPARE(sqlInt(db, "SELECT CASE WHEN ?1 = ?2 COLLATE NOCASE THEN 0 WHEN ?1 < ?2 "
                                "COLLATE NOCASE THEN -1 ELSE 1 END",
                            a, b),
                     sign(TextFold::compareIgnoringCase(a, b)));
        }
        for (const QString &p : patterns) {
            QCOMPARE(sqlInt(db, "SELECT ?2 LIKE ?1", p, a), TextFold::like(p, a) ? 1 : 0);
            QCOMPARE(sqlInt(db, "SELECT ?2 LIKE ?1 ESCAPE 'c'", p, a),
                     TextFold::like(p, a, QLatin1Char('c')) ? 1 : 0);
        }
    }
    sqlite3_close(db);
}

QTEST_MAIN(TestStoreFold)
#include "test_store_fold.moc"
