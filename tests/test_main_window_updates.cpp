// The list after Save, Add, Delete, a search and Clear is exactly the list a fresh window
// builds from the catalog, and duplicate titles are found the same way, whether the window
// updates one entry, takes back the whole catalog or reads everything again.
#include "MainWindowFixture.h"

#include "DataControl.h"
#include "MovieListModel.h"

#include <QCollator>

#include <algorithm>
#include <random>

class TestMainWindowUpdates : public QObject
{
    Q_OBJECT
private slots:
    void editsKeepTheListAsAFreshWindowBuildsIt();
    void clearAfterSearchShowsTheWholeCatalog();
    void anotherProgramsWriteIsSeen();
    void duplicateTitlesAreFoundWithoutCase();
    void aLargeListSortsAsOneSortWould_data();
    void aLargeListSortsAsOneSortWould();

private:
    static const QStringList kTitles;
    static QStringList freshEntries(MainWindowFixture &f)
    {
        frmTarsel other(f.dir.path());
        other.Load();
        QStringList result;
        for (int i = 0; i < other.lstMovies()->ListCount(); ++i)
            result << other.lstMovies()->List(i);
        return result;
    }
};

const QStringList TestMainWindowUpdates::kTitles = {
    QStringLiteral("zebra"),  QStringLiteral("Apple"), QStringLiteral("apple pie"),
    QStringLiteral("Éclair"), QStringLiteral("eclair"), QStringLiteral("Über"),
    QStringLiteral("uber"),   QStringLiteral("Mañana"), QStringLiteral("Banana"),
    QStringLiteral("Straße"), QStringLiteral("Cherry"), QStringLiteral("abc")};

void TestMainWindowUpdates::editsKeepTheListAsAFreshWindowBuildsIt()
{
    MainWindowFixture f(TestCatalog::titled(kTitles));
    QCOMPARE(f.entries(), freshEntries(f));

    // Renamed to a title that sorts equal to others ("ECLAIR" beside "Éclair", "eclair" is
    // refused as a duplicate, so take one that has only accent-equal neighbours).
    const QStringList renames = {QStringLiteral("Eclairs"), QStringLiteral("aardvark"),
                                 QStringLiteral("Zulu"), QStringLiteral("Ubers")};
    for (const QString &title : renames) {
        f.select(f.entries().value(3));
        f.w().txtTitle()->setText(title);
        f.click(2);
        QCOMPARE(f.entries(), freshEntries(f));
        QCOMPARE(f.w().txtTitle()->text(), f.list().List(f.list().ListIndex()));
    }
    for (const QString &title : {QStringLiteral("Apple Crumble"), QStringLiteral("über alles"),
                                 QStringLiteral("0 First")}) {
        f.click(0);
        f.w().txtTitle()->setText(title);
        f.click(2);
        QCOMPARE(f.entries(), freshEntries(f));
    }
    for (int i = 0; i < 4; ++i) {
        f.select(f.entries().value(i * 2));
        const int index = f.list().ListIndex();
        f.click(1);
        QCOMPARE(f.entries(), freshEntries(f));
        QCOMPARE(f.list().ListIndex(), std::min(index, f.list().ListCount() - 1));
        QCOMPARE(f.w().txtTitle()->text(), f.list().List(f.list().ListIndex()));
    }
}

void TestMainWindowUpdates::clearAfterSearchShowsTheWholeCatalog()
{
    MainWindowFixture f(TestCatalog::titled(kTitles));
    const QStringList all = f.entries();
    QString error;
    QVERIFY(f.w().ApplySearch(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] LIKE 'a%'"),
                              &error));
    QCOMPARE(f.entries(), (QStringList{QStringLiteral("abc"), QStringLiteral("Apple"),
                                       QStringLiteral("apple pie")}));
    f.click(6);
    QCOMPARE(f.entries(), all);
    QCOMPARE(f.list().ListIndex(), 0);
    QCOMPARE(f.w().txtTitle()->text(), all.first());

    // A change made while the search shows its matches is in the list after Clear.
    QVERIFY(f.w().ApplySearch(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] LIKE 'a%'"),
                              &error));
    f.select(QStringLiteral("Apple"));
    f.w().txtTitle()->setText(QStringLiteral("Quince"));
    f.click(2);
    QCOMPARE(f.entries(), (QStringList{QStringLiteral("abc"), QStringLiteral("apple pie")}));
    f.click(6);
    QVERIFY(f.entries().contains(QStringLiteral("Quince")));
    QVERIFY(!f.entries().contains(QStringLiteral("Apple")));
    QCOMPARE(f.entries(), freshEntries(f));
}

void TestMainWindowUpdates::anotherProgramsWriteIsSeen()
{
    MainWindowFixture f(TestCatalog::titled(kTitles));
    QString error;
    QVERIFY(f.w().ApplySearch(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] LIKE 'b%'"),
                              &error));
    TestCatalog::insert(f.catalog(), TestCatalog::titled({QStringLiteral("Added Elsewhere")}));
    f.click(6);
    QVERIFY(f.entries().contains(QStringLiteral("Added Elsewhere")));

    TestCatalog::insert(f.catalog(), TestCatalog::titled({QStringLiteral("Second Elsewhere")}));
    f.select(QStringLiteral("Cherry"));
    f.w().txtDirector()->setText(QStringLiteral("Someone"));
    f.click(2);
    QVERIFY(f.entries().contains(QStringLiteral("Second Elsewhere")));
    QCOMPARE(f.entries(), freshEntries(f));

    // A title another program stored is refused as a duplicate.
    TestCatalog::insert(f.catalog(), TestCatalog::titled({QStringLiteral("Third Elsewhere")}));
    f.click(0);
    f.w().txtTitle()->setText(QStringLiteral("THIRD ELSEWHERE"));
    f.messages.clear();
    f.click(2);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages.first().contains(QStringLiteral("same title")));
}

void TestMainWindowUpdates::duplicateTitlesAreFoundWithoutCase()
{
    MainWindowFixture f(TestCatalog::titled(kTitles));
    DataControl &data = f.w().dataMovies();
    const Recordset &rs = data.recordset();
    QVERIFY(data.titleTaken(QStringLiteral("STRASSE"), std::nullopt));
    QVERIFY(data.titleTaken(QStringLiteral("ÉCLAIR"), std::nullopt));
    QVERIFY(!data.titleTaken(QStringLiteral("Strasse "), std::nullopt));
    QVERIFY(data.titleTaken(QStringLiteral("ZEBRA"), std::nullopt));
    qint64 zebra = 0;
    for (const auto &row : rs.rows())
        if (row.title == QLatin1String("zebra"))
            zebra = row.rowId;
    QVERIFY(!data.titleTaken(QStringLiteral("ZEBRA"), zebra));
    // After a rename and a delete the counts follow.
    f.select(QStringLiteral("zebra"));
    f.w().txtTitle()->setText(QStringLiteral("Zebu"));
    f.click(2);
    QVERIFY(!data.titleTaken(QStringLiteral("zebra"), std::nullopt));
    QVERIFY(data.titleTaken(QStringLiteral("zebu"), std::nullopt));
    f.select(QStringLiteral("Zebu"));
    f.click(1);
    QVERIFY(!data.titleTaken(QStringLiteral("zebu"), std::nullopt));
}

void TestMainWindowUpdates::aLargeListSortsAsOneSortWould_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden);
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
}

// A list of thousands of titles is keyed and sorted in parts; the entries come out exactly as
// one sort of every title's key would order them, titles that sort equal in row order.
void TestMainWindowUpdates::aLargeListSortsAsOneSortWould()
{
    QFETCH(QLocale, locale);
    const QLocale before;
    QLocale::setDefault(locale);

    const QStringList words = {
        QStringLiteral("apple"),  QStringLiteral("Éclair"), QStringLiteral("eclair"),
        QStringLiteral("ÉCLAIR"), QStringLiteral("Straße"), QStringLiteral("STRASSE"),
        QStringLiteral("über"),   QStringLiteral("Uber"),   QStringLiteral("Øre"),
        QStringLiteral("ore"),    QStringLiteral("Ångström"), QStringLiteral("zebra"),
        QStringLiteral("Mañana"), QStringLiteral("İstanbul"), QStringLiteral("ﬁne"),
        QStringLiteral("fine"),   QStringLiteral("日本"),    QStringLiteral("Ǆemal"),
        QStringLiteral("10"),     QStringLiteral("9"),      QStringLiteral("-"),
        QStringLiteral("O'Brien"), QStringLiteral("ΣΟΦΊΑ"), QStringLiteral("σοφία"),
        QStringLiteral("Ÿ"),      QStringLiteral("😀"),     QStringLiteral("a\u0301"),
        QStringLiteral("á"),      QStringLiteral("The"),    QStringLiteral("the")};
    std::mt19937 random(20261206);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    std::vector<RecordsetRow> rows;
    for (int i = 0; i < 6000; ++i) {
        QString title;
        if (i % 7 == 3 && !rows.empty()) {
            // A case twin (or the very title again) of an earlier row.
            title = rows[size_t(pick(int(rows.size())))].title;
            title = pick(3) == 0 ? title.toUpper() : pick(2) == 0 ? title.toLower() : title;
        } else if (i % 500 == 0) {
            title = QString("");
        } else {
            for (int w = 0, count = 1 + pick(3); w < count; ++w) {
                if (w > 0)
                    title += QLatin1Char(' ');
                title += words[pick(int(words.size()))];
            }
            title += QString::number(pick(50));
        }
        rows.push_back({qint64(i + 1), title});
    }

    MovieListModel model;
    model.fill(rows, 1);

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    const bool foldFirst = collator.locale().language() == QLocale::C;
    std::vector<QCollatorSortKey> keys;
    for (const auto &row : rows)
        keys.push_back(collator.sortKey(foldFirst ? row.title.toCaseFolded() : row.title));
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    QLocale::setDefault(before);

    QCOMPARE(model.count(), int(rows.size()));
    for (size_t i = 0; i < order.size(); ++i) {
        if (model.entry(int(i)) != rows[size_t(order[i])].title)
            QFAIL(qPrintable(QStringLiteral("entry %1 is \"%2\", not \"%3\"")
                                 .arg(i)
                                 .arg(model.entry(int(i)), rows[size_t(order[i])].title)));
    }
    // The twins that sort equal are there in numbers, so their order is tried.
    int equalNeighbours = 0;
    for (size_t i = 1; i < order.size(); ++i)
        equalNeighbours += keys[size_t(order[i - 1])].compare(keys[size_t(order[i])]) == 0 &&
                           rows[size_t(order[i - 1])].title != rows[size_t(order[i])].title;
    QVERIFY(equalNeighbours > 20);
}

QTEST_MAIN(TestMainWindowUpdates)
#include "test_main_window_updates.moc"
