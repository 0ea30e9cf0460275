// The settings file: values and lists read from any content, written back changing only the
// value, and never rewritten or waited on when it is odd.
#include "Profile.h"
#include "Settings.h"
#include "TestData.h"
#include "Windows1252.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <numeric>

#include <sys/stat.h>

namespace
{

// A list as "<entry><entry>", empty when it has no entry.
QString shown(const QStringList &list)
{
    return list.isEmpty() ? "" : '<' + list.join("><") + '>';
}
QStringList ratings()
{
    return ReadPickList("Ratings", "RatingTotal", "Rating.");
}
QStringList categories()
{
    return ReadPickList("Categories", "CategoryTotal", "Category.");
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name = "TARSEL.INI") const { return m_dir->filePath(name); }

  private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setIniPath(iniPathFor(m_dir->path()));
    }

    void firstRunWritesOnlyTheFourteenCategories()
    {
        QVERIFY(!iniFileExists(IniPath()));
        WriteDefaultLists();
        QCOMPARE(readFile(IniPath()),
                 "[Categories]\nAudio Tapes=TRUE\nBeanie Babies=TRUE\nBooks=TRUE\nCoins=TRUE\n"
                 "Comic Books=TRUE\nMagazines=TRUE\nMovies=TRUE\nMusic CDs=TRUE\nPC Games=TRUE\n"
                 "PC Software=TRUE\nRecords=TRUE\nSports Cards=TRUE\nStamps=TRUE\n"
                 "Video Games=TRUE\n");
        QCOMPARE(shown(categories()) + shown(ratings()), QString()); // no key the lists read
    }

    // The README's pick-list file, taken from the README itself: written over a first-run file
    // it gives its lists; added below the first-run section, its categories go unread, as the
    // README warns.
    void readmeExampleGivesItsLists()
    {
        const QString readme = QStringLiteral(REELWARDEN_TEST_DATA "/../../README.md");
        REQUIRE_FILE(readme);
        const QByteArray text = readFile(readme);
        const qsizetype start = text.indexOf("```ini\n") + 7, end = text.indexOf("```", start);
        QVERIFY2(start > 6 && end > start, "no ini block in README.md");
        const QByteArray example = text.mid(start, end - start);
        WriteDefaultLists();
        const QByteArray firstRun = readFile(IniPath());
        QVERIFY(writeFile(IniPath(), example));
        QCOMPARE(shown(categories()) + shown(ratings()),
                 "<Drama><Comedy><Documentary><G><PG><PG-13><R>");
        QVERIFY(writeFile(IniPath(), firstRun + example));
        QCOMPARE(shown(categories()) + shown(ratings()), "<G><PG><PG-13><R>");
    }

    void readValue_data()
    {
        addRows("settings/read.tsv", {"contentBytes", "section", "key", "value"});
    }
    void readValue()
    {
        QFETCH(QByteArray, contentBytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY(writeFile(IniPath(), contentBytes));
        QCOMPARE(ReadIni(section, key, "<none>"), value);
        QCOMPARE(readFile(IniPath()), contentBytes);
    }

    void pickLists_data()
    {
        addRows("settings/picklists.tsv", {"contentBytes", "categories", "ratings"});
    }
    void pickLists()
    {
        QFETCH(QByteArray, contentBytes);
        QFETCH(QString, categories);
        QFETCH(QString, ratings);
        QVERIFY(writeFile(IniPath(), contentBytes));
        QCOMPARE(shown(::categories()), categories);
        QCOMPARE(shown(::ratings()), ratings);
    }

    void countConversion_data() { addRows("settings/counts.tsv", {"text", "count"}); }
    void countConversion()
    {
        QFETCH(QString, text);
        QFETCH(QString, count);
        QCOMPARE(QString::number(pickListCount(text)), count);
    }

    // Large and odd files are read in one pass, quickly, and left as they were.
    void bigContentReadsSafely_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("last");
        QByteArray random(1 << 20, '\0'), sections,
            names("[Categories]\r\nCategoryTotal=99999\r\n");
        QRandomGenerator generator(1996);
        for (char &c : random)
            c = char(generator.bounded(256));
        for (int n = 0; n < 20000; ++n)
            sections += "[S" + QByteArray::number(n) + "]\nK=" + QByteArray::number(n) + "\n";
        for (int n = 1; n <= 40000; ++n)
            names +=
                "Category." + QByteArray::number(n) + "=Name " + QByteArray::number(n) + "\r\n";
        const int most = MaxPickListCount;
        QTest::newRow("binary junk") << random << 0 << "";
        QTest::newRow("megabyte key")
            << QByteArray(1 << 20, '[') + "=" + QByteArray(1 << 20, ']') << 0 << "";
        QTest::newRow("thousands of sections") << sections << 0 << "";
        QTest::newRow("count far beyond the keys") << names.first(35) << most << "";
        QTest::newRow("every entry present") << names << most << QString("Name %1").arg(most);
    }
    void bigContentReadsSafely()
    {
        QFETCH(QByteArray, junk);
        QFETCH(int, count);
        QFETCH(QString, last);
        const QByteArray content = junk + "\n[Known]\nKey=found\n";
        QVERIFY(writeFile(IniPath(), content));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ReadIni("Known", "Key", "<none>"), QStringLiteral("found"));
        const QStringList entries = categories();
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(entries.size(), count);
        QCOMPARE(entries.value(count - 1), last);
        QCOMPARE(readFile(IniPath()), content);
    }

    void hugeFileReadsItsHeadOnly()
    {
        QByteArray content("[G]\nK=Com\303\251die\nBig=");
        if (content.size() % 2 == 0) // so that the limit falls inside a two-byte character
            content += 'x';
        while (content.size() < Profile::MaxReadSize + 1000)
            content += QByteArray("\xC3\xA9").repeated(4096);
        QVERIFY(writeFile(IniPath(), content + "\nLate=value\n"));
        Profile profile(IniPath());
        QCOMPARE(profile.value("G", "K", "<none>"), QStringLiteral("Comédie"));
        QCOMPARE(profile.value("G", "Late", "<none>"), QStringLiteral("<none>"));
        QVERIFY(!profile.write("G", "K", "Drama")); // it could not be written back whole
    }

    // A missing file, a folder or a named pipe (opening one would wait for a writer).
    void pathsThatAreNoFile()
    {
        QVERIFY(QDir().mkdir(path("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
        for (const char *name : {"missing", "folder", "fifo"}) {
            setIniPath(path(name));
            QVERIFY(!iniFileExists(IniPath()));
            QCOMPARE(ReadIni("Categories", "CategoryTotal", "0"), QStringLiteral("0"));
            QCOMPARE(categories(), QStringList());
        }
    }

    void write_data() { addRows("settings/write.tsv", {"beforeBytes", "value", "afterBytes"}); }
    void write()
    {
        QFETCH(QByteArray, beforeBytes);
        QFETCH(QString, value);
        QFETCH(QByteArray, afterBytes);
        if (beforeBytes != "<none>")
            QVERIFY(writeFile(IniPath(), beforeBytes));
        Profile profile(IniPath());
        QVERIFY(profile.write("G", "K", value));
        QCOMPARE(readFile(IniPath()), afterBytes);
        QCOMPARE(profile.value("G", "K", "<none>"), value);
        QCOMPARE(Profile(IniPath()).value("G", "K", "<none>"), value);
    }

    void writeRefused_data()
    {
        addRows("settings/write_refused.tsv", {"target", "section", "key", "value"});
    }
    void writeRefused()
    {
        QFETCH(QString, target);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY(QDir().mkdir(path("folder")));
        QVERIFY(writeFile(IniPath(), "[G]\nK=old\n"));
        setIniPath(path(target));
        QVERIFY(!Profile(IniPath()).write(section, key, value));
        WriteIni(section, key, value); // silent
        QCOMPARE(QFileInfo(path(target)).isFile(), target == "TARSEL.INI");
        QCOMPARE(readFile(path()), QByteArray("[G]\nK=old\n"));
    }

    // Every byte the code page defines decodes as the system's table has it, and back.
    void windows1252MatchesTheSystemTable()
    {
        QByteArray all(256, '\0');
        std::iota(all.begin(), all.end(), char(0));
        QCOMPARE(Windows1252::encode(Windows1252::decode(all)), all);
        for (int b = 0; b < 256; ++b) {
            const QString theirs = QStringDecoder("windows-1252")(all.sliced(b, 1));
            QVERIFY(theirs == QChar::ReplacementCharacter ||
                    Windows1252::decode(all.sliced(b, 1)) == theirs);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
