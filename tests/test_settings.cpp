#include "Profile.h"
#include "Settings.h"
#include "Windows1252.h"

#include <QCryptographicHash>
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

QByteArray sha1(const QString &path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha1);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

  private slots:
    void init();

    void firstRunWritesOnlyTheFourteenCategories();
    void pickList_data();
    void pickList();
    void countConversion_data();
    void countConversion();
    void longListsReadInOnePass_data();
    void longListsReadInOnePass();
    void readValue_data();
    void readValue();
    void oddContentReadsSafely_data();
    void oddContentReadsSafely();
    void hugeFileReadsItsHeadOnly();
    void pathsThatAreNoFile_data();
    void pathsThatAreNoFile();
    void write_data();
    void write();
    void writeRefused_data();
    void writeRefused();
    void windows1252MatchesTheSystemTable();

  private:
    QString path(const QString &name = QStringLiteral("TARSEL.INI")) const
    {
        return m_dir->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setIniPath(iniPathFor(m_dir->path()));
}

void TestSettings::firstRunWritesOnlyTheFourteenCategories()
{
    QVERIFY(!iniFileExists(IniPath()));
    WriteDefaultLists();
    QVERIFY(iniFileExists(IniPath()));
    QCOMPARE(fileBytes(IniPath()), QByteArray("[Categories]\n"
                                              "Audio Tapes=TRUE\nBeanie Babies=TRUE\nBooks=TRUE\n"
                                              "Coins=TRUE\nComic Books=TRUE\nMagazines=TRUE\n"
                                              "Movies=TRUE\nMusic CDs=TRUE\nPC Games=TRUE\n"
                                              "PC Software=TRUE\nRecords=TRUE\nSports Cards=TRUE\n"
                                              "Stamps=TRUE\nVideo Games=TRUE\n"));
    // None of the first-run keys is one the lists look up.
    QCOMPARE(ReadPickList("Categories", "CategoryTotal", "Category."), QStringList());
    QCOMPARE(ReadPickList("Ratings", "RatingTotal", "Rating."), QStringList());
}

void TestSettings::pickList_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("gap gives an empty entry")
        << QByteArray("[Ratings]\nRatingTotal=3\nRating.1=G\nRating.3=R\n")
        << QStringList{"G", "", "R"};
    QTest::newRow("half rounds down to even")
        << QByteArray("[Ratings]\nRatingTotal=2.5\nRating.1=G\nRating.2=PG\nRating.3=R\n")
        << QStringList{"G", "PG"};
    QTest::newRow("half rounds up to even")
        << QByteArray("[Ratings]\nRatingTotal=3.5\nRating.1=G\nRating.2=PG\nRating.3=R\n")
        << QStringList{"G", "PG", "R", ""};
    QTest::newRow("letters count as none")
        << QByteArray("[Ratings]\nRatingTotal=few\nRating.1=G\n") << QStringList();
    QTest::newRow("negative count")
        << QByteArray("[Ratings]\nRatingTotal=-2\nRating.1=G\n") << QStringList();
    QTest::newRow("kept as written, not sorted or merged")
        << QByteArray("[Ratings]\nRatingTotal=3\nRating.1=R\nRating.2= R \nRating.3=G\n")
        << QStringList{"R", "R", "G"};
    QTest::newRow("Rating.01 is not Rating.1")
        << QByteArray("[Ratings]\nRatingTotal=1\nRating.01=G\n") << QStringList{""};
    QTest::newRow("tenth entry") << QByteArray(
                                        "[Ratings]\nRatingTotal=10\nRating.10=X\nRating.1=G\n")
                                 << QStringList{"G", "", "", "", "", "", "", "", "", "X"};
}

void TestSettings::pickList()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    putFile(IniPath(), content);
    QCOMPARE(ReadPickList("Ratings", "RatingTotal", "Rating."), expected);
}

void TestSettings::countConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("0.5 to even 0") << "0.5" << 0;
    QTest::newRow("exponent") << "1e2" << 100;
    QTest::newRow("rounds past the largest") << "32766.6" << 32766;
    QTest::newRow("number then letters") << "3x" << 0;
    QTest::newRow("not a number") << "nan" << 0;
    QTest::newRow("infinite") << "inf" << 32766;
}

void TestSettings::countConversion()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(pickListCount(text), count);
}

void TestSettings::longListsReadInOnePass_data()
{
    QTest::addColumn<bool>("withEntries");
    QTest::newRow("count far beyond the keys") << false;
    QTest::newRow("every entry present") << true;
}

void TestSettings::longListsReadInOnePass()
{
    QFETCH(bool, withEntries);
    QByteArray content("[Categories]\r\nCategoryTotal=99999\r\n");
    for (int n = 1; withEntries && n <= 40000; ++n)
        content += "Category." + QByteArray::number(n) + "=Name " + QByteArray::number(n) + "\r\n";
    putFile(IniPath(), content);

    QElapsedTimer timer;
    timer.start();
    const QStringList entries = ReadPickList("Categories", "CategoryTotal", "Category.");
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(entries.size(), MaxPickListCount);
    QCOMPARE(entries.last(), withEntries ? QString("Name %1").arg(MaxPickListCount) : QString());
    QCOMPARE(entries.at(4999), withEntries ? QStringLiteral("Name 5000") : QString());
}

void TestSettings::readValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QByteArray &content, const QString &section,
                        const QString &key, const QString &expected) {
        QTest::newRow(name) << content << section << key << expected;
    };
    const QString none = QStringLiteral("<none>");
    const QByteArray plain("[Genres]\nFirst=Drama\n");
    row("section in other case", plain, "GENRES", "First", "Drama");
    row("key in other case", plain, "Genres", "fIRST", "Drama");
    row("full case folding", "[Straße]\nΣοφία=yes\n", "STRASSE", "ΣΟΦΊΑ", "yes");
    row("absent key", plain, "Genres", "Second", none);
    row("blanks trimmed", "  [ G ]  \n\t K \t=  Drama  \n", "G", "K", "Drama");
    row("CRLF", "[G]\r\nA=Drama\r\nK=War\r\n", "G", "K", "War");
    row("lone CR", "[G]\rA=Drama\rK=War", "G", "K", "War");
    row("no trailing newline", "[G]\nK=Drama", "G", "K", "Drama");
    row("byte-order mark", "\xEF\xBB\xBF[G]\nK=Drama\n", "G", "K", "Drama");
    row("UTF-8", "[G]\nK=Com\303\251die\n", "G", "K", "Comédie");
    row("Windows-1252 letter", "[G]\nK=Com\351die\n", "G", "K", "Comédie");
    row("Windows-1252 letter ending the file", "[G]\nK=Caf\xE9", "G", "K", "Café");
    row("Windows-1252 euro", "[G]\nK=\x80\n", "G", "K", "€");
    row("double quotes", "[G]\nK=\" Drama \"\n", "G", "K", " Drama ");
    row("empty quotes", "[G]\nK=''\n", "G", "K", "");
    row("mismatched quotes kept", "[G]\nK=\"Drama'\n", "G", "K", "\"Drama'");
    row("first duplicate key wins", "[G]\nK=one\nk=two\n", "G", "K", "one");
    row("first duplicate section wins", "[G]\nK=one\n[g]\nK=two\n", "G", "K", "one");
    row("later duplicate section unseen", "[G]\nA=one\n[H]\n[G]\nK=two\n", "G", "K", none);
    row("line without equals ignored", "[G]\nK\nK=two\n", "G", "K", "two");
    row("key before any section", "K=v\n[G]\n", "G", "K", none);
    row("cut to 143 characters", "[G]\nK=" + QByteArray(143, 'x') + "yz\n", "G", "K",
        QString(143, 'x'));
    row("cut counts characters, not bytes", "[G]\nK=" + QByteArray(142, 'x') + "\xF0\x9F\x8E\xAC!",
        "G", "K", QString(142, 'x') + QString::fromUtf8("\xF0\x9F\x8E\xAC"));
}

void TestSettings::readValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    putFile(IniPath(), content);
    QCOMPARE(ReadIni(section, key, "<none>"), expected);
}

void TestSettings::oddContentReadsSafely_data()
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
    QTest::newRow("megabyte line") << QByteArray(1 << 20, 'x');
    QTest::newRow("megabyte key") << QByteArray(1 << 20, '[') + "=" + QByteArray(1 << 20, ']');
    QTest::newRow("thousands of sections") << sections;
    QTest::newRow("brackets only") << QByteArray("[\n]\n[]\n[[]]\n=\n");
    QTest::newRow("cut UTF-8 sequence") << QByteArray("\xC3");
}

void TestSettings::oddContentReadsSafely()
{
    QFETCH(QByteArray, junk);
    putFile(IniPath(), junk + "\n[Known]\nKey=found\n");
    const QByteArray before = sha1(IniPath());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ReadIni("Known", "Key", "<none>"), QStringLiteral("found"));
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(sha1(IniPath()), before);
}

void TestSettings::hugeFileReadsItsHeadOnly()
{
    QByteArray content("[G]\nK=Com\303\251die\nBig=");
    if (content.size() % 2 == 0) // so that the limit falls inside a two-byte character
        content += 'x';
    while (content.size() < Profile::MaxReadSize + 1000)
        content += QByteArray("\xC3\xA9").repeated(4096);
    content += "\nLate=value\n";
    putFile(IniPath(), content);
    Profile profile(IniPath());
    QCOMPARE(profile.value("G", "K", "<none>"), QStringLiteral("Comédie"));
    QCOMPARE(profile.value("G", "Late", "<none>"), QStringLiteral("<none>"));
    QVERIFY(!profile.write("G", "K", "Drama")); // it could not be written back whole
}

void TestSettings::pathsThatAreNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
#ifdef Q_OS_UNIX
    QTest::newRow("named pipe") << "fifo"; // opening one for reading would wait for a writer
#endif
}

void TestSettings::pathsThatAreNoFile()
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
    QCOMPARE(ReadPickList("Categories", "CategoryTotal", "Category."), QStringList());
}

void TestSettings::write_data()
{
    QTest::addColumn<QByteArray>("before"); // a null array: no file
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    const auto row = [](const char *name, const QByteArray &before, const QString &value,
                        const QByteArray &after) {
        QTest::newRow(name) << before << value << after;
    };
    row("new file", QByteArray(), "v", "[G]\nK=v\n");
    row("new section at the end", "[A]\nX=1\n", "v", "[A]\nX=1\n[G]\nK=v\n");
    row("new section after a line without break", "[A]\nX=1", "v", "[A]\nX=1\n[G]\nK=v\n");
    row("value replaced in place", "; top\n[g]\nA=1\n  k  =  old value  \nB=2\n", "new",
        "; top\n[g]\nA=1\n  k  =  new\nB=2\n");
    row("new key after the section's last line", "[G]\nA=1\n\n[H]\nB=2\n", "v",
        "[G]\nA=1\nK=v\n\n[H]\nB=2\n");
    row("new key after a line without break", "[G]\nA=1", "v", "[G]\nA=1\nK=v\n");
    row("first of duplicate sections", "[G]\nA=1\n[G]\nK=old\n", "v",
        "[G]\nA=1\nK=v\n[G]\nK=old\n");
    row("file's own line breaks", "[A]\r\nX=1\r\n", "v", "[A]\r\nX=1\r\n[G]\r\nK=v\r\n");
    row("Windows-1252 bytes kept", "\x80\x81\xFF\n[G]\nK=\xE9\n", "Comédie €",
        "\x80\x81\xFF\n[G]\nK=Com\351die \x80\n");
    row("byte-order mark kept", "\xEF\xBB\xBF[G]\n", "é", "\xEF\xBB\xBF[G]\nK=\xC3\xA9\n");
}

void TestSettings::write()
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

void TestSettings::writeRefused_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const auto row = [](const char *name, const QString &target, const QString &section,
                        const QString &key, const QString &value) {
        QTest::newRow(name) << target << section << key << value;
    };
    row("missing folder", "no/such/folder/TARSEL.INI", "G", "K", "v");
    row("path is a folder", "folder", "G", "K", "v");
    row("line break in value", "TARSEL.INI", "G", "K", "v\n[H]");
    row("bracket in section", "TARSEL.INI", "G]", "K", "v");
    row("equals in key", "TARSEL.INI", "G", "K=L", "v");
}

void TestSettings::writeRefused()
{
    QFETCH(QString, target);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(QDir().mkdir(path("folder")));
    putFile(IniPath(), "[G]\nK=old\n");
    const QByteArray before = sha1(IniPath());

    setIniPath(path(target));
    QVERIFY(!Profile(IniPath()).write(section, key, value));
    WriteIni(section, key, value); // silent
    QCOMPARE(QFileInfo(path(target)).isFile(), target == "TARSEL.INI");
    QCOMPARE(sha1(path()), before);
}

void TestSettings::windows1252MatchesTheSystemTable()
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

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
