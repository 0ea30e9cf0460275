#include "Profile.h"
#include "Settings.h"
#include "Windows1252.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList ratings() { return ReadPickList("Ratings", "RatingTotal", "Rating."); }
QStringList categories() { return ReadPickList("Categories", "CategoryTotal", "Category."); }

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
        QVERIFY(m_dir->isValid());
        setIniPath(iniPathFor(m_dir->path()));
    }

    void firstRunWritesOnlyTheFourteenCategories()
    {
        QVERIFY(!iniFileExists(IniPath()));
        WriteDefaultLists();
        QVERIFY(iniFileExists(IniPath()));
        QCOMPARE(fileBytes(IniPath()),
                 "[Categories]\nAudio Tapes=TRUE\nBeanie Babies=TRUE\nBooks=TRUE\nCoins=TRUE\n"
                 "Comic Books=TRUE\nMagazines=TRUE\nMovies=TRUE\nMusic CDs=TRUE\nPC Games=TRUE\n"
                 "PC Software=TRUE\nRecords=TRUE\nSports Cards=TRUE\nStamps=TRUE\n"
                 "Video Games=TRUE\n");
        // None of the first-run keys is one the lists look up.
        QCOMPARE(categories(), QStringList());
        QCOMPARE(ratings(), QStringList());
    }

    void pickList_data()
    {
        QTest::addColumn<QByteArray>("entries"); // after "[Ratings]\nRatingTotal="
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("gap gives an empty entry")
            << QByteArray("3\nRating.1=G\nRating.3=R\n") << QStringList{"G", "", "R"};
        QTest::newRow("negative count") << QByteArray("-2\nRating.1=G\n") << QStringList();
        QTest::newRow("kept as written, not sorted or merged")
            << QByteArray("3\nRating.1=R\nRating.2= R \nRating.3=G\n")
            << QStringList{"R", "R", "G"};
        QTest::newRow("Rating.01 is not Rating.1")
            << QByteArray("1\nRating.01=G\n") << QStringList{""};
    }
    void pickList()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QStringList, expected);
        putFile(IniPath(), "[Ratings]\nRatingTotal=" + entries);
        QCOMPARE(ratings(), expected);
    }

    void countConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("half to even") << "2.5" << 2;
        QTest::newRow("exponent") << "1e2" << 100;
        QTest::newRow("rounds past the largest") << "32766.6" << 32766;
        QTest::newRow("number then letters") << "3x" << 0;
        QTest::newRow("not a number") << "nan" << 0;
        QTest::newRow("infinite") << "inf" << 32766;
    }
    void countConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(pickListCount(text), count);
    }

    void longListsReadInOnePass_data()
    {
        QTest::addColumn<bool>("withEntries");
        QTest::newRow("count far beyond the keys") << false;
        QTest::newRow("every entry present") << true;
    }
    void longListsReadInOnePass()
    {
        QFETCH(bool, withEntries);
        QByteArray content("[Categories]\r\nCategoryTotal=99999\r\n");
        for (int n = 1; withEntries && n <= 40000; ++n)
            content +=
                "Category." + QByteArray::number(n) + "=Name " + QByteArray::number(n) + "\r\n";
        putFile(IniPath(), content);
        QElapsedTimer timer;
        timer.start();
        const QStringList entries = categories();
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(entries.size(), MaxPickListCount);
        QCOMPARE(entries.last(),
                 withEntries ? QString("Name %1").arg(MaxPickListCount) : QString());
    }

    void readValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &content, const QString &expected,
                            const QString &section = "G", const QString &key = "K") {
            QTest::newRow(name) << content << section << key << expected;
        };
        const QString none = QStringLiteral("<none>");
        row("case-blind names", "[Genres]\nFirst=Drama\n", "Drama", "GENRES", "fIRST");
        row("full case folding", "[Straße]\nΣοφία=yes\n", "yes", "STRASSE", "ΣΟΦΊΑ");
        row("absent key", "[G]\nFirst=Drama\n", none);
        row("blanks trimmed", "  [ G ]  \n\t K \t=  Drama  \n", "Drama");
        row("lone CR", "[G]\rA=Drama\rK=War", "War");
        row("byte-order mark", "\xEF\xBB\xBF[G]\nK=Drama\n", "Drama");
        row("UTF-8", "[G]\nK=Com\303\251die\n", "Comédie");
        row("Windows-1252 letter ending the file", "[G]\nK=Caf\xE9", "Café");
        row("double quotes", "[G]\nK=\" Drama \"\n", " Drama ");
        row("mismatched quotes kept", "[G]\nK=\"Drama'\n", "\"Drama'");
        row("first duplicate key wins", "[G]\nK=one\nk=two\n", "one");
        row("later duplicate section unseen", "[G]\nA=one\n[H]\n[g]\nK=two\n", none);
        row("line without equals ignored", "[G]\nK\nK=two\n", "two");
        row("key before any section", "K=v\n[G]\n", none);
        row("cut to 143 characters, not bytes",
            "[G]\nK=" + QByteArray(142, 'x') + "\xF0\x9F\x8E\xAC!",
            QString(142, 'x') + QString::fromUtf8("\xF0\x9F\x8E\xAC"));
    }
    void readValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        putFile(IniPath(), content);
        QCOMPARE(ReadIni(section, key, "<none>"), expected);
    }

    void oddContentReadsSafely_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QByteArray random(1 << 20, '\0');
        QRandomGenerator generator(1996);
        for (char &c : random)
            c = char(generator.bounded(256));
        QByteArray sections;
        for (int n = 0; n < 20000; ++n)
            sections += "[S" + QByteArray::number(n) + "]\nK=" + QByteArray::number(n) + "\n";
        QTest::newRow("binary junk") << random;
        QTest::newRow("NUL bytes") << QByteArrayLiteral("[G]\nK=a\0b\n\0\0\0=\0\n");
        QTest::newRow("megabyte key") << QByteArray(1 << 20, '[') + "=" + QByteArray(1 << 20, ']');
        QTest::newRow("thousands of sections") << sections;
        QTest::newRow("brackets only") << QByteArray("[\n]\n[]\n[[]]\n=\n");
        QTest::newRow("cut UTF-8 sequence") << QByteArray("\xC3");
    }
    void oddContentReadsSafely()
    {
        QFETCH(QByteArray, junk);
        const QByteArray content = junk + "\n[Known]\nKey=found\n";
        putFile(IniPath(), content);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ReadIni("Known", "Key", "<none>"), QStringLiteral("found"));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(fileBytes(IniPath()), content);
    }

    void hugeFileReadsItsHeadOnly()
    {
        QByteArray content("[G]\nK=Com\303\251die\nBig=");
        if (content.size() % 2 == 0) // so that the limit falls inside a two-byte character
            content += 'x';
        while (content.size() < Profile::MaxReadSize + 1000)
            content += QByteArray("\xC3\xA9").repeated(4096);
        putFile(IniPath(), content + "\nLate=value\n");
        Profile profile(IniPath());
        QCOMPARE(profile.value("G", "K", "<none>"), QStringLiteral("Comédie"));
        QCOMPARE(profile.value("G", "Late", "<none>"), QStringLiteral("<none>"));
        QVERIFY(!profile.write("G", "K", "Drama")); // it could not be written back whole
    }

    void pathsThatAreNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
#ifdef Q_OS_UNIX
        QTest::newRow("named pipe") << "fifo"; // opening one for reading would wait for a writer
#endif
    }
    void pathsThatAreNoFile()
    {
        QFETCH(QString, kind);
        if (kind == "folder")
            QVERIFY(QDir().mkdir(IniPath()));
#ifdef Q_OS_UNIX
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(IniPath()).constData(), 0600), 0);
#endif
        QVERIFY(!iniFileExists(IniPath()));
        QCOMPARE(ReadIni("Categories", "CategoryTotal", "0"), QStringLiteral("0"));
        QCOMPARE(categories(), QStringList());
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before"); // a null array: no file
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << "v" << QByteArray("[G]\nK=v\n");
        QTest::newRow("new section after a line without break")
            << QByteArray("[A]\nX=1") << "v" << QByteArray("[A]\nX=1\n[G]\nK=v\n");
        QTest::newRow("value replaced in place")
            << QByteArray("; top\n[g]\nA=1\n  k  =  old value  \nB=2\n") << "new"
            << QByteArray("; top\n[g]\nA=1\n  k  =  new\nB=2\n");
        QTest::newRow("new key after the section's last line")
            << QByteArray("[G]\nA=1\n\n[H]\nB=2\n") << "v"
            << QByteArray("[G]\nA=1\nK=v\n\n[H]\nB=2\n");
        QTest::newRow("first of duplicate sections") << QByteArray("[G]\nA=1\n[G]\nK=old\n") << "v"
                                                     << QByteArray("[G]\nA=1\nK=v\n[G]\nK=old\n");
        QTest::newRow("file's own line breaks")
            << QByteArray("[A]\r\nX=1\r\n") << "v" << QByteArray("[A]\r\nX=1\r\n[G]\r\nK=v\r\n");
        QTest::newRow("Windows-1252 bytes kept")
            << QByteArray("\x80\x81\xFF\n[G]\nK=\xE9\n") << "Comédie €"
            << QByteArray("\x80\x81\xFF\n[G]\nK=Com\351die \x80\n");
        QTest::newRow("byte-order mark kept") << QByteArray("\xEF\xBB\xBF[G]\n") << "é"
                                              << QByteArray("\xEF\xBB\xBF[G]\nK=\xC3\xA9\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            putFile(IniPath(), before);
        Profile profile(IniPath());
        QVERIFY(profile.write("G", "K", value));
        QCOMPARE(fileBytes(IniPath()), after);
        QCOMPARE(profile.value("G", "K", "<none>"), value);
        QCOMPARE(Profile(IniPath()).value("G", "K", "<none>"), value);
    }

    void writeRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("entry"); // section, key, value
        QTest::newRow("missing folder")
            << "no/such/folder/TARSEL.INI" << QStringList{"G", "K", "v"};
        QTest::newRow("path is a folder") << "folder" << QStringList{"G", "K", "v"};
        QTest::newRow("line break in value") << "TARSEL.INI" << QStringList{"G", "K", "v\n[H]"};
        QTest::newRow("bracket in section") << "TARSEL.INI" << QStringList{"G]", "K", "v"};
        QTest::newRow("equals in key") << "TARSEL.INI" << QStringList{"G", "K=L", "v"};
    }
    void writeRefused()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, entry);
        QVERIFY(QDir().mkdir(path("folder")));
        putFile(IniPath(), "[G]\nK=old\n");
        setIniPath(path(target));
        QVERIFY(!Profile(IniPath()).write(entry[0], entry[1], entry[2]));
        WriteIni(entry[0], entry[1], entry[2]); // silent
        QCOMPARE(QFileInfo(path(target)).isFile(), target == "TARSEL.INI");
        QCOMPARE(fileBytes(path()), QByteArray("[G]\nK=old\n"));
    }

    void windows1252MatchesTheSystemTable()
    {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString ours = Windows1252::decode(all);
        QCOMPARE(Windows1252::encode(ours), all);
        QStringDecoder system("windows-1252");
        if (!system.isValid())
            QSKIP("no system Windows-1252 table to compare with");
        for (int b = 0; b < 256; ++b) {
            const QString theirs = system(all.sliced(b, 1));
            if (theirs != QChar::ReplacementCharacter) // a byte the code page leaves undefined
                QCOMPARE(ours.at(b), theirs.at(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
