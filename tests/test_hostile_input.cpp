// Hostile text in every text field of the catalog window: stored and read back exactly,
// found by a search for it, and never able to change what a statement does.
#include "MainWindowFixture.h"
#include "QueryBuilder.h"
#include "frmComments.h"

#include <QPushButton>

#include <functional>

namespace {

using Field = std::function<QString(frmTarsel &)>;
using Setter = std::function<void(frmTarsel &, const QString &)>;

struct TextField {
    const char *column;
    bool pickList; // its entries come from lists, whose entries are at most MaxIniValueLength long
    Setter set;
    Field get;
};

template <typename Getter> TextField box(const char *column, Getter control)
{
    return {column, false,
            [control](frmTarsel &w, const QString &t) { (w.*control)()->setText(t); },
            [control](frmTarsel &w) { return (w.*control)()->text(); }};
}

template <typename Getter> TextField combo(const char *column, Getter control)
{
    return {column, true,
            [control](frmTarsel &w, const QString &t) { (w.*control)()->setEditText(t); },
            [control](frmTarsel &w) { return (w.*control)()->text(); }};
}

const std::vector<TextField> &textFields()
{
    static const std::vector<TextField> fields = {
        box("Title", &frmTarsel::txtTitle),
        combo("Category", &frmTarsel::cboCategory),
        combo("Rating", &frmTarsel::cboRating),
        box("Condition", &frmTarsel::txtCondition),
        box("TapePosition", &frmTarsel::txtTapePosition),
        box("StarOne", &frmTarsel::txtStarOne),
        box("StarTwo", &frmTarsel::txtStarTwo),
        box("StarThree", &frmTarsel::txtStarThree),
        box("StarFour", &frmTarsel::txtStarFour),
        box("Producer", &frmTarsel::txtProducer),
        box("Director", &frmTarsel::txtDirector),
        box("Comments", &frmTarsel::txtComments),
    };
    return fields;
}

// The stored value of a column of the movie titled `title`, read with the title bound.
QVariant stored(const QString &path, const char *column, const QString &title)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    const QByteArray sql = QByteArray("SELECT ") + column + " FROM Movies WHERE Title = ?";
    sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
    const QByteArray key = title.toUtf8();
    sqlite3_bind_text(statement, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
    QVariant result;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        result = QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(statement, 0)),
                                   sqlite3_column_bytes(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT
private slots:
    void hostileTextIsKeptExactly_data();
    void hostileTextIsKeptExactly();
    void commentsEditorKeepsHostileText_data();
    void commentsEditorKeepsHostileText();
    void longTypedTextIsKept_data();
    void longTypedTextIsKept();
    void hostileSearchIsLiteral_data() { hostileTextIsKeptExactly_data(); }
    void hostileSearchIsLiteral();
    void quotingKeepsEveryTextOneLiteral_data() { hostileTextIsKeptExactly_data(); }
    void quotingKeepsEveryTextOneLiteral();
};

void TestHostileInput::hostileTextIsKeptExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("drop table") << QStringLiteral("'; DROP TABLE Movies; --");
    QTest::newRow("always true") << QStringLiteral("' OR '1'='1");
    QTest::newRow("bracketed name") << QStringLiteral("x]; DELETE FROM [Movies]; --");
    QTest::newRow("quotes of every kind")
        << QStringLiteral("O'Brien \"The\" `tick` \u2018single\u2019 \u201Cdouble\u201D \u00B4 "
                          "\u02BC \uFF07 \u00AB\u00BB ''");
    QTest::newRow("backslashes") << QStringLiteral("C:\\films\\ \\' \\\" \\\\ \\0 \\n");
    QTest::newRow("NUL") << QStringLiteral("before") + QChar(0) + QStringLiteral("after");
    QTest::newRow("control characters")
        << QStringLiteral("a\x01\x02\x07\x08\tb\x0b\x0c\x1b[31mred\x1f\x7f z");
    QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree\rfour");
    QTest::newRow("emoji") << QStringLiteral("🎬🍿 👨‍👩‍👧 🏳️‍🌈 🇫🇷");
    QTest::newRow("right to left")
        << QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u202Eevil\u202C \u0645\u0631\u062D\u0628\u0627 \u200F!");
    QTest::newRow("one megabyte") << QString(1024 * 1024, QLatin1Char('M')) + QStringLiteral("'end");
}

void TestHostileInput::hostileTextIsKeptExactly()
{
    QFETCH(QString, text);
    MainWindowFixture f(TestCatalog::titled({"Alien", "Brazil"}));
    f.click(0);
    std::vector<TextField> fields;
    for (const auto &field : textFields()) {
        if (!field.pickList || text.size() <= MaxIniValueLength)
            fields.push_back(field);
    }
    for (const auto &field : fields)
        field.set(f.w(), text);
    f.click(2);
    QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join('\n').left(300)));
    QCOMPARE(TestCatalog::scalar(f.catalog(), QStringLiteral("SELECT COUNT(*) FROM Movies")), 3);

    for (const auto &field : fields)
        QVERIFY2(stored(f.catalog(), field.column, text) == text, field.column);

    QVERIFY(f.select(QStringLiteral("Alien")) >= 0);
    QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Alien"));
    QVERIFY(f.select(text) >= 0);
    for (const auto &field : fields)
        QVERIFY2(field.get(f.w()) == text, field.column);
}

void TestHostileInput::commentsEditorKeepsHostileText_data()
{
    hostileTextIsKeptExactly_data();
    QString lines;
    while (lines.size() < 1024 * 1024)
        lines += QString(79, QLatin1Char('L')) + QLatin1Char('\n');
    QTest::newRow("one megabyte in lines") << lines;
}

// The comments editor hands back exactly the text it was given when OK is pressed untouched.
void TestHostileInput::commentsEditorKeepsHostileText()
{
    QFETCH(QString, text);
    // A single line of a megabyte takes the editor's text layout close to a minute.
    if (QByteArray(QTest::currentDataTag()) == "one megabyte")
        QSKIP("a one-megabyte single line stalls the comments editor's layout for about a minute");
    SetUpFonts();
    std::optional<QString> accepted;
    frmComments editor(text, [&accepted](const QString &t) { accepted = t; });
    editor.show();
    editor.cmdOK()->click();
    QVERIFY(accepted);
    QCOMPARE(*accepted, text);
}

// Typed or pasted text has no length limit of its own.
void TestHostileInput::longTypedTextIsKept_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("a line's worth") << 200;
    QTest::newRow("just under 32K") << 32767;
    QTest::newRow("over 32K") << 40000;
    QTest::newRow("a megabyte") << 1024 * 1024;
}

void TestHostileInput::longTypedTextIsKept()
{
    QFETCH(int, length);
    MainWindowFixture f(TestCatalog::titled({"Alien"}));
    f.w().show();
    f.click(0);
    const QString text(length, QLatin1Char('w'));
    f.w().txtTitle()->insert(QStringLiteral("Long"));
    f.w().txtDirector()->insert(text);
    QCOMPARE(f.w().txtDirector()->text().size(), length);
    f.click(2);
    QCOMPARE(stored(f.catalog(), "Director", QStringLiteral("Long")).toString().size(), length);
}

void TestHostileInput::hostileSearchIsLiteral()
{
    QFETCH(QString, text);
    MainWindowFixture f({{{"Title", text}, {"Director", text}},
                         {{"Title", "Alien"}, {"Director", "Scott"}},
                         {{"Title", "Brazil"}, {"Director", "Gilliam"}}});
    SearchEntries entries;
    entries.title = text;
    entries.director = text;
    const SearchStatement search = BuildSearchStatement(entries);
    QCOMPARE(search.outcome, SearchStatement::Outcome::Statement);
    QString error;
    const bool applied = f.w().ApplySearch(search.sql, &error);
    QVERIFY2(applied, qPrintable(error));
    QCOMPARE(f.entries(), QStringList{text});
    QCOMPARE(TestCatalog::scalar(f.catalog(), QStringLiteral("SELECT COUNT(*) FROM Movies")), 3);
}

// The quoted text read back by SQLite itself is the text: nothing escapes the literal.
void TestHostileInput::quotingKeepsEveryTextOneLiteral()
{
    QFETCH(QString, text);
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    const QByteArray sql = (QStringLiteral("SELECT ") + QuoteSqlText(text)).toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, &tail);
    QCOMPARE(rc, SQLITE_OK);
    if (statement) {
        QCOMPARE(tail, sql.constData() + sql.size()); // one statement, nothing after it
        QCOMPARE(sqlite3_column_count(statement), 1);
        QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
        const QString back = QString::fromUtf8(
            static_cast<const char *>(sqlite3_column_blob(statement, 0)), sqlite3_column_bytes(statement, 0));
        QCOMPARE(back, text);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

QTEST_MAIN(TestHostileInput)
#include "test_hostile_input.moc"
