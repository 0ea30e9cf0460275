#include "ForeignValues.h"
#include "GcstarFormat.h"
#include "HtmlFormat.h"
#include "TellicoFormat.h"
#include "TestData.h"
#include "XmlInput.h"
#include "ZipArchive.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using Values = QList<std::optional<QString>>;

namespace
{

const QString kDtd = QStringLiteral("/usr/share/tellico/tellico.dtd");

// A table's columns: the first `columns`, then the 17 movie columns from Title to Comments.
void addMovieRows(const QString &name, QStringList columns)
{
    for (int i = 0; i < MovieRow::kColumnCount; ++i)
        columns << QLatin1String(kMovieColumns[std::size_t(i)].name);
    addRows(name, columns);
}

// The row's movie columns: an empty cell is NULL, "<empty>" an empty text, "<1 MiB of x>" that.
Values movieValues()
{
    Values values;
    for (int i = 0; i < MovieRow::kColumnCount; ++i) {
        const QByteArray column = kMovieColumns[std::size_t(i)].name;
        const QString text =
            *static_cast<QString *>(QTest::qData(column.constData(), QMetaType::QString));
        values << (text.isEmpty()            ? std::nullopt
                   : text == u"<empty>"      ? QStringLiteral("")
                   : text == u"<1 MiB of x>" ? QString(kMaxValueLength, u'x')
                                             : std::optional<QString>(text));
    }
    return values;
}

MovieRow rowOf(const Values &values)
{
    MovieRow row;
    for (int i = 0; i < MovieRow::kColumnCount; ++i)
        row.values[i] = values.value(i);
    return row;
}

// The movies as the import stores them: their numbers read, what fits no column in Comments.
QList<MovieRow> readAll(MovieReader &reader)
{
    QList<MovieRow> rows;
    ForeignValues values(reader.decimalMark(), !reader.fromThisProgram());
    while (auto row = reader.next()) {
        ForeignValues::keepInComments(*row, values.read(*row));
        rows << *row;
    }
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
    addMovieRows("transfer/round_trip.tsv", {"fitsTheDtd"});
}

void TestTransferFormats::roundTripKeepsEveryValue()
{
    const Values values = movieValues();
    QFETCH(QString, fitsTheDtd);
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
    const auto field =
        QRegularExpression(
            R"re(<field name="certification"[^>]*type="(\d)"(?:[^>]*allowed="([^"]*)")?)re")
            .match(QString::fromUtf8(readFile(dir.filePath("out.xml")).left(4096)));
    const QString rating = values.value(MovieColumn::Rating).value_or(QString());
    QVERIFY2(field.captured(1) == u"1" || rating.isEmpty() ||
                 field.captured(2).split(u';').contains(rating),
             qPrintable(field.captured(0)));
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (fitsTheDtd == u"yes" && !xmllint.isEmpty() && QFile::exists(kDtd)) {
        QProcess lint;
        lint.start(xmllint,
                   {"--noout", "--nonet", "--huge", "--dtdvalid", kDtd, dir.filePath("out.xml")});
        QVERIFY(lint.waitForFinished(60000));
        QVERIFY2(lint.exitCode() == 0, lint.readAllStandardError().left(2000).constData());
    }
}

void TestTransferFormats::otherProgramsFilesImport_data()
{
    addMovieRows("transfer/other_programs.tsv", {"format", "file", "movies", "notes", "unused"});
}

void TestTransferFormats::otherProgramsFilesImport()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(QString, movies);
    QFETCH(QString, notes);
    QFETCH(QString, unused);
    const QString path = dataPath("transfer/" + file);
    REQUIRE_FILE(path);
    auto reader = format == u"gcstar" ? OpenGcstarReader(path) : OpenTellicoReader(path);
    const QList<MovieRow> rows = readAll(*reader);
    QCOMPARE(rows.size(), movies.toInt());
    const Values expected = movieValues();
    for (int i = 0; i < MovieRow::kColumnCount; ++i)
        QVERIFY2(
            rows[0].values[i] == expected[i],
            qPrintable(
                QStringLiteral("column %1: %2").arg(i).arg(rows[0].values[i].value_or("<NULL>"))));
    QCOMPARE(rows[1].where, QStringLiteral("entry 2"));
    QCOMPARE(reader->notes(), notes.split(u'\n'));
    for (const QString &field : unused.split(u' '))
        QVERIFY2(reader->unusedColumns().contains(field),
                 qPrintable(reader->unusedColumns().join(", ")));
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
        QVERIFY2(error.message.contains(message) && error.message.contains(path),
                 qPrintable(error.message));
    }
}

void TestTransferFormats::unfinishedExportKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"tc", "xml", "html"})
        QTest::newRow(format) << QString(format);
}

void TestTransferFormats::unfinishedExportKeepsTheOldFile()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString path = dir.filePath("movies." + format);
    writeFile(path, "old");
    {
        auto writer =
            format == u"html" ? OpenHtmlWriter(path) : OpenTellicoWriter(path, format == u"tc");
        writer->write(rowOf({"Interrupted"}));
    }
    QCOMPARE(readFile(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"movies." + format});
    QVERIFY_THROWS_EXCEPTION(TransferError,
                             OpenTellicoWriter(dir.filePath("no/such/folder.tc"), true));
}

void TestTransferFormats::htmlPageIsEscapedAndScriptFree()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("movies.html");
    auto writer = OpenHtmlWriter(path);
    writer->write(rowOf({"<script>alert(1)</script> & \"Z\"",
                         "Drama",
                         "PG",
                         "DVD",
                         "1234.5",
                         "1999",
                         "1",
                         "5",
                         {},
                         {},
                         "<img src=x onerror=alert(1)>",
                         {},
                         {},
                         "Last"}));
    writer->write(rowOf({"שלום 🎬"}));
    writer->finish();
    const QString page = QString::fromUtf8(readFile(path));
    QVERIFY(!page.contains("<script", Qt::CaseInsensitive));
    QVERIFY(!page.contains("<img", Qt::CaseInsensitive));
    QVERIFY(!page.contains("http:") && !page.contains("https:") && !page.contains("url("));
    for (const char *shown :
         {"&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;Z&quot;", "$1,234.50",
          "1&nbsp;h 5&nbsp;min", "&lt;img src=x onerror=alert(1)&gt;, Last",
          "<meta charset=\"utf-8\">", "@media print"})
        QVERIFY2(page.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(page.indexOf("&lt;script") < page.indexOf(QString::fromUtf8("שלום 🎬")));
}

QTEST_GUILESS_MAIN(TestTransferFormats)
#include "test_transfer_formats.moc"
