// The list after Save, Add, Delete, a search and Clear is exactly the list a fresh window
// builds from the catalog, and duplicate titles are found the same way, whether the window
// updates one entry, takes back the whole catalog or reads everything again.
#include "MovieListModel.h"
#include "TestSupport.h"

#include <QCollator>

#include <random>

class TestMainWindowUpdates : public QObject
{
    Q_OBJECT
  private slots:
    void commandFlow_data() { TestSupport::commandFlow_data({"window/updates.tsv"}); }
    void commandFlow() { TestSupport::commandFlow(); }

    void aLargeListSortsAsOneSortWould_data()
    {
        QTest::addColumn<QLocale>("locale");
        for (const char *name : {"C", "de_DE", "sv_SE", "en_US"})
            QTest::newRow(qPrintable(QLocale::languageToString(QLocale(name).language())))
                << QLocale(name);
    }
    // A list of thousands of titles is keyed and sorted in parts; the entries come out exactly
    // as one sort of every title's key would order them, titles that sort equal in row order.
    void aLargeListSortsAsOneSortWould()
    {
        QFETCH(QLocale, locale);
        const QLocale before;
        QLocale::setDefault(locale);
        const QStringList words =
            QString("apple|Éclair|eclair|ÉCLAIR|Straße|STRASSE|über|Uber|Øre|ore|Ångström|zebra|"
                    "Mañana|İstanbul|ﬁne|fine|日本|Ǆemal|10|9|-|O'Brien|ΣΟΦΊΑ|σοφία|Ÿ|😀|a\u0301|"
                    "á|The|the")
                .split(u'|');
        std::mt19937 random(20261206);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        std::vector<RecordsetRow> rows;
        for (int i = 0; i < 6000; ++i) {
            QString title;
            if (i % 7 == 3) { // a case twin (or the very title again) of an earlier row
                title = rows[size_t(pick(int(rows.size())))].title;
                title = pick(3) == 0 ? title.toUpper() : pick(2) == 0 ? title.toLower() : title;
            } else if (i % 500 != 0) {
                for (int w = 0, count = 1 + pick(3); w < count; ++w)
                    title += (w ? " " : "") + words[pick(int(words.size()))];
                title += QString::number(pick(50));
            }
            rows.push_back({qint64(i + 1), title});
        }
        MovieListModel model;
        model.fill(rows, 1);

        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        const bool foldFirst = collator.locale().language() == QLocale::C;
        std::vector<QCollatorSortKey> keys;
        for (const auto &row : rows)
            keys.push_back(collator.sortKey(foldFirst ? row.title.toCaseFolded() : row.title));
        std::vector<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
        });
        QLocale::setDefault(before);

        QStringList shown, expected;
        int equalNeighbours =
            0; // twins that sort equal are there in numbers, so their order is tried
        for (size_t i = 0; i < order.size(); ++i) {
            shown << model.entry(int(i));
            expected << rows[size_t(order[i])].title;
            equalNeighbours += i > 0 &&
                               keys[size_t(order[i - 1])].compare(keys[size_t(order[i])]) == 0 &&
                               expected[i - 1] != expected[i];
        }
        QCOMPARE(shown, expected);
        QVERIFY(equalNeighbours > 20);
    }
};

QTEST_MAIN(TestMainWindowUpdates)
#include "test_main_window_updates.moc"
