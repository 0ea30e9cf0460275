#include "GcstarFormat.h"
#include "TestSupport.h"
#include "HtmlFormat.h"
#include "TellicoFormat.h"
#include "XmlInput.h"
#include "ZipArchive.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using Values = QList<std::optional<QString>>;
Q_DECLARE_METATYPE(Values)

namespace {

const QString kDtd = QStringLiteral("/usr/share/tellico/tellico.dtd");
const QString kNull = QStringLiteral("<NULL>"); // stands for NULL in the expected rows

MovieRow rowOf(const Values &values)
{
    MovieRow row;
    for (int i = 0; i < MovieRow::kColumnCount; ++i)
        row.values[i] = values.value(i);
    return row;
}

Values valuesOf(const QStringList &texts)
{
    Values values;
    for (const QString &text : texts)
        values << (text == kNull ? std::nullopt : std::optional<QString>(text));
    return values;
}

QList<MovieRow> readAll(MovieReader &reader)
{
    QList<MovieRow> rows;
    while (auto row = reader.next())
        rows << *row;
    return rows;
}

} // namespace

class TestTransferFormats : public QObject
{
    Q_OBJECT

  private slots:
    void roundTripKeepsEveryValue_data();
    void roundTripKeepsEveryValue();
    void otherProgramsFilesImport_data();
    void otherProgramsFilesImport();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void unfinishedExportKeepsTheOldFile_data();
    void unfinishedExportKeepsTheOldFile();
    void htmlPageIsEscapedAndScriptFree();
};

void TestTransferFormats::roundTripKeepsEveryValue_data()
{
    QTest::addColumn<Values>("values");
    QTest::addColumn<bool>("fitsTheDtd"); // hours and minutes apart are fields of this program
    const QString controls = QStringLiteral("a\tb") + QChar(0) + QChar(1) + QChar(0x1B) + QChar(0x7F)
                           + QChar(0xE000) + QChar(0xE101) + QChar(0xFFFE) + u'z';
    QTest::newRow("plain") << Values{"Alien", "Horror", "R", "DVD", "12.50", "1979", "1", "57",
                                     "Good", "Tape 2, 1:10:00", "Sigourney Weaver", "Tom Skerritt",
                                     "John Hurt", "Ian Holm", "Walter Hill", "Ridley Scott", "Fine."}
                           << true;
    QTest::newRow("quotes, commas, markup")
        << Values{"\"Quoted\", 'single' & <b>bold</b> &amp;", "A, B", "PG-13", "VHS", "0.00",
                  "1900", "0", "0", "<br/>", "]]>", "O'Brien", "\"", ",", "&", "<p>", "a; b;c",
                  "literal <br/> and <BR> and <br>\nreal break"}
        << true;
    QTest::newRow("line breaks") << Values{"Two\nlines", {}, {}, {}, {}, {}, {}, {}, "cr\rlf\n",
                                           {}, "x\r\ny", {}, {}, {}, {}, {},
                                           "\r\nWindows\r\nlines\n\nand Unix\r"} << true;
    QTest::newRow("control characters") << Values{controls, controls, {}, {}, {}, {}, {}, {},
                                                  {}, {}, controls, {}, {}, {}, {}, {}, controls}
                                        << true;
    QTest::newRow("emoji and right-to-left")
        << Values{"🎬 שלום עולם مرحبا", "Ниҳон 日本", "Zürich", "DVD", {}, {}, {}, {}, {}, {},
                  "👩‍👩‍👧", "\u202Eevil\u202C", {}, {}, {}, {}, "עברית\nعربي"} << true;
    QTest::newRow("NULL everywhere") << Values{"Only a title"} << true;
    QTest::newRow("empty texts") << Values{"", "", "", "", "", "", "", "", "", "", "", "", "",
                                           "", "", "", ""} << false;
    QTest::newRow("star left out before a later one")
        << Values{"Gaps", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, "", {}, "Fourth"} << true;
    QTest::newRow("hours without minutes") << Values{"H", {}, {}, {}, {}, {}, "2"} << false;
    QTest::newRow("minutes without hours") << Values{"M", {}, {}, {}, {}, {}, {}, "45"} << false;
    QTest::newRow("large amount and choices Tellico cannot list")
        << Values{"Big", "X", "PG;13", "Laser;Disc", "99999999999.99", "2025", "20", "59"}
        << true;
    QTest::newRow("ten megabyte comment")
        << Values{"Long", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
                  QString(10 * 1024 * 1024, u'x')} << true;
}

void TestTransferFormats::roundTripKeepsEveryValue()
{
    QFETCH(Values, values);
    QFETCH(bool, fitsTheDtd);
    QTemporaryDir dir;
    for (const bool zipped : {true, false}) {
        const QString path = dir.filePath(zipped ? "out.tc" : "out.xml");
        auto writer = OpenTellicoWriter(path, zipped);
        writer->write(rowOf(values));
        writer->finish();
        auto reader = OpenTellicoReader(path);
        const QList<MovieRow> rows = readAll(*reader);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].where, QStringLiteral("entry 1"));
        for (int i = 0; i < MovieRow::kColumnCount; ++i)
            QVERIFY2(rows[0].values[i] == values.value(i),
                     qPrintable(QStringLiteral("column %1 in %2").arg(i).arg(path)));
        QVERIFY(reader->notes().isEmpty() && reader->unusedColumns().isEmpty());
    }
    // Tellico drops a choice that its field does not list: the rating must be listed, or the
    // field a line.
    QFile xml(dir.filePath("out.xml"));
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const auto field = QRegularExpression(R"re(<field name="certification"[^>]*type="(\d)"(?:[^>]*allowed="([^"]*)")?)re")
                           .match(QString::fromUtf8(xml.read(4096)));
    const QString rating = values.value(MovieColumn::Rating).value_or(QString());
    QVERIFY2(field.captured(1) == u"1" || rating.isEmpty() || field.captured(2).split(u';').contains(rating),
             qPrintable(field.captured(0)));
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (fitsTheDtd && !xmllint.isEmpty() && QFile::exists(kDtd)) {
        QProcess lint;
        lint.start(xmllint, {"--noout", "--nonet", "--huge", "--dtdvalid", kDtd, dir.filePath("out.xml")});
        QVERIFY(lint.waitForFinished(60000));
        QVERIFY2(lint.exitCode() == 0, lint.readAllStandardError().left(2000).constData());
    }
}

void TestTransferFormats::otherProgramsFilesImport_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("movies");
    QTest::addColumn<QStringList>("first"); // the first movie's 17 columns
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<QStringList>("unused"); // among the unused fields
    const QStringList tellico{"The Man from Snowy River", "Drama; Western", "PG (USA)", "DVD",
                              "9.99", "1982", "1", "42", kNull, kNull, "Tom Burlinson",
                              "Terence Donovan", "Kirk Douglas", "Tommy Dysart",
                              "Geoff Burrowes; Michael Edgley", "George Miller",
                              "Bought at the fair.\nBox slightly torn."};
    const QStringList tellicoNotes{"2 actors beyond the fourth left out in 1 movie",
                                   "6 roles of the cast left out",
                                   "several genres joined with \"; \" in 1 movie",
                                   "several producers joined with \"; \" in 1 movie"};
    QTest::newRow("Tellico") << "tellico" << "tellico-videos.tc" << 2 << tellico << tellicoNotes
                             << QStringList{"nationality", "cdate", "mdate"};
    QTest::newRow("GCstar films")
        << "gcstar" << "gcstar-films.gcs" << 2
        << QStringList{"The Man from Snowy River", "Drama; Western", "11", "DVD", kNull, "1982",
                       "1", "42", kNull, "Shelf 3", "Tom Burlinson", "Terence Donovan",
                       "Kirk Douglas", "Tommy Dysart", kNull, "George Miller",
                       "My favourite.\nSecond line."}
        << QStringList{"1 actor beyond the fourth left out in 1 movie",
                       "several genres joined with \"; \" in 1 movie"}
        << QStringList{"synopsis", "country", "seen"};
}

void TestTransferFormats::otherProgramsFilesImport()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(int, movies);
    QFETCH(QStringList, first);
    QFETCH(QStringList, notes);
    QFETCH(QStringList, unused);
    const QString path = QStringLiteral(REELWARDEN_TEST_DATA "/transfer/") + file;
    QVERIFY2(QFile::exists(path), qPrintable("The test file " + path + " is missing."));
    auto reader = format == u"gcstar" ? OpenGcstarReader(path) : OpenTellicoReader(path);
    const QList<MovieRow> rows = readAll(*reader);
    QCOMPARE(rows.size(), movies);
    const Values expected = valuesOf(first);
    for (int i = 0; i < MovieRow::kColumnCount; ++i)
        QVERIFY2(rows[0].values[i] == expected[i], qPrintable(QStringLiteral("column %1: %2")
                                                                  .arg(i)
                                                                  .arg(rows[0].values[i].value_or(kNull))));
    QCOMPARE(rows[1].where, QStringLiteral("entry 2"));
    QCOMPARE(reader->notes(), notes);
    for (const QString &field : unused)
        QVERIFY2(reader->unusedColumns().contains(field), qPrintable(reader->unusedColumns().join(", ")));
    QCOMPARE(reader->bytesRead(), reader->bytesTotal());
}

void TestTransferFormats::badInputIsRefused_data()
{
    addRows("transfer/bad_files.tsv", {"format", "make", "contentBytes", "message"});
}

void TestTransferFormats::badInputIsRefused()
{
    QFETCH(QString, format);
    QFETCH(QString, make);
    QFETCH(QByteArray, contentBytes);
    QFETCH(QString, message);
    const QByteArray &content = contentBytes;
    if (make == u"unreadable" && ::geteuid() == 0)
        QSKIP("root reads every file");
    QTemporaryDir dir;
    const QString path = dir.filePath("input");
    const QString xml = dir.filePath("tellico.xml");
    if (make == u"file" || make == u"unreadable")
        writeFile(path, content);
    if (make == u"unreadable")
        QFile::setPermissions(path, {});
    if (make.startsWith(u"zip")) {
        writeFile(xml, content);
        writeZipWithMember(path, make == u"zip" ? "tellico.xml" : "other.xml", xml);
    }
    if (make == u"folder")
        QDir(dir.path()).mkdir("input");
    try {
        auto reader = format == u"gcstar" ? OpenGcstarReader(path) : OpenTellicoReader(path);
        readAll(*reader);
        QFAIL("the file was read");
    } catch (const TransferError &error) {
        QVERIFY2(error.message.contains(message) && error.message.contains(path), qPrintable(error.message));
    }
}

void TestTransferFormats::unfinishedExportKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("tc") << "tc";
    QTest::newRow("xml") << "xml";
    QTest::newRow("html") << "html";
}

void TestTransferFormats::unfinishedExportKeepsTheOldFile()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString path = dir.filePath("movies." + format);
    writeFile(path, "old");
    {
        auto writer = format == u"html" ? OpenHtmlWriter(path) : OpenTellicoWriter(path, format == u"tc");
        writer->write(rowOf({"Interrupted"}));
    }
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"movies." + format});
    QVERIFY_THROWS_EXCEPTION(TransferError, OpenTellicoWriter(dir.filePath("no/such/folder.tc"), true));
}

void TestTransferFormats::htmlPageIsEscapedAndScriptFree()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("movies.html");
    auto writer = OpenHtmlWriter(path);
    writer->write(rowOf({"<script>alert(1)</script> & \"Z\"", "Drama", "PG", "DVD", "1234.5", "1999",
                         "1", "5", {}, {}, "<img src=x onerror=alert(1)>", {}, {}, "Last"}));
    writer->write(rowOf({"שלום 🎬"}));
    writer->finish();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    QVERIFY(!page.contains("<script", Qt::CaseInsensitive));
    QVERIFY(!page.contains("<img", Qt::CaseInsensitive));
    QVERIFY(!page.contains("http:") && !page.contains("https:") && !page.contains("url("));
    for (const char *shown : {"&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;Z&quot;", "$1,234.50",
                              "1&nbsp;h 5&nbsp;min", "&lt;img src=x onerror=alert(1)&gt;, Last",
                              "<meta charset=\"utf-8\">", "@media print"})
        QVERIFY2(page.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(page.indexOf("&lt;script") < page.indexOf(QString::fromUtf8("שלום 🎬")));
}

QTEST_GUILESS_MAIN(TestTransferFormats)
#include "test_transfer_formats.moc"
