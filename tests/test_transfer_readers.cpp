// Other programs' collections through the real reelwarden-transfer, under two locales: each
// file recognised by its content, every movie the file holds in the catalog, a refused file
// leaving the catalog byte for byte as it was; and the first movie's columns as the reader
// gives them to the import, the file's own text.
#include "Formats.h"
#include "TestSupport.h"
#include "griffith/GriffithFormat.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString kProgram = QStringLiteral(REELWARDEN_TRANSFER);

// The input of a row: a file or folder under tests/data, or one made in `dir`: NAME from the
// row's bytes ("@path": a file under tests/data), an SQLite file when NAME ends in .db (the
// bytes are its SQL), "FOLDER" an empty folder, "LOOP" a folder holding a link to the .nfo
// library and a link to itself, "DEEP" 70 folders one in another, "MISSING" nothing. Bytes
// "REPEAT N prefix|unit|suffix" stand for the unit N times between prefix and suffix.
QString makeInput(const QString &input, const QByteArray &bytes, const QDir &dir)
{
    if (QFileInfo::exists(dataPath(input)) && !input.isEmpty())
        return dataPath(input);
    const QString path = dir.filePath(input);
    QByteArray content = bytes.startsWith('@') ? readFile(dataPath(bytes.mid(1))) : bytes;
    if (bytes.startsWith("REPEAT ")) {
        const QList<QByteArray> parts = bytes.mid(bytes.indexOf(' ', 7) + 1).split('|');
        content = parts.value(0) + parts.value(1).repeated(bytes.mid(7).split(' ')[0].toInt()) +
                  parts.value(2);
    }
    if (input == u"DEEP")
        dir.mkpath(QStringLiteral("DEEP") + QStringLiteral("/d").repeated(70));
    if (input == u"FOLDER" || input == u"LOOP")
        dir.mkdir(input);
    if (input == u"LOOP") {
        QFile::link(dataPath("nfo/library"), dir.filePath("LOOP/movies"));
        QFile::link(path, dir.filePath("LOOP/again"));
    } else if (input.endsWith(u".db")) {
        exec(path, content);
    } else if (input != u"FOLDER" && input != u"MISSING" && input != u"DEEP") {
        writeFile(path, content);
    }
    return path;
}

// The columns of the movie titled `title` as the reader gives them, "|" between them.
QString readerRow(const QString &path, const QString &format, const QString &title)
{
    auto reader = OpenReader(FormatToRead(format, path), path, {}, {});
    while (auto row = reader->next()) {
        if (row->values[0] != title)
            continue;
        QStringList values;
        for (const auto &value : row->values)
            values << value.value_or(QString());
        return values.join(u'|');
    }
    return QStringLiteral("<no movie titled %1>").arg(title);
}

} // namespace

class TestTransferReaders : public QObject
{
    Q_OBJECT

  private slots:
    void importsWhatTheFileHolds_data();
    void importsWhatTheFileHolds();
    void griffithIsToldFromACatalogByItsColumns();
};

void TestTransferReaders::importsWhatTheFileHolds_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("contentBytes");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("movies");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("columns");
    for (const char *table : {"nfo/imports.tsv", "dvdprofiler/imports.tsv", "griffith/imports.tsv",
                              "transfer/recognition.tsv"})
        addRows(table,
                {"input", "contentBytes", "options", "exitCode", "output", "movies", "title",
                 "columns"},
                false);
}

void TestTransferReaders::importsWhatTheFileHolds()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, contentBytes);
    QFETCH(QString, options);
    QFETCH(QString, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, movies);
    QFETCH(QString, title);
    QFETCH(QString, columns);
    QTemporaryDir dir;
    const QString path = makeInput(input, contentBytes, QDir(dir.path()));
    const QString catalog = dir.filePath("movies.mdb");
    for (const QString locale : {"en_US.UTF-8", "de_DE.UTF-8"}) {
        QFile::remove(catalog);
        createCatalog(catalog, titled({"Existing"}));
        const QByteArray before = readFile(catalog);
        const Run run = runProgram(kProgram,
                                   QStringList{"import", path, "--catalog", catalog} +
                                       options.split(u' ', Qt::SkipEmptyParts),
                                   locale);
        const QString said = run.out + run.err;
        QVERIFY2(run.code == exitCode.toInt(), qPrintable(said));
        for (const QString &words : output.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(said.contains(words), qPrintable(locale + ": " + said));
        QCOMPARE(scalar(catalog, "SELECT count(*) FROM Movies").toInt(), movies.toInt());
        if (run.code != 0)
            QVERIFY2(readFile(catalog) == before, "a refused import changed the catalog");
    }
    if (!title.isEmpty()) {
        const QString format = options.startsWith(u"--format ") ? options.mid(9) : QString();
        const QString row = readerRow(path, format, title);
        QVERIFY2(matches(row, columns), qPrintable(row));
    }
}

void TestTransferReaders::griffithIsToldFromACatalogByItsColumns()
{
    QTemporaryDir dir;
    const QString catalog = dir.filePath("movies.mdb"), griffith = dir.filePath("griffith.db");
    createCatalog(catalog, titled({"Alien"}));
    QVERIFY(exec(griffith, readFile(dataPath("griffith/griffith.sql"))));
    QVERIFY(!IsGriffith(catalog, readFile(catalog).left(8192)));
    QVERIFY(IsGriffith(griffith, readFile(griffith).left(8192)));
}

QTEST_GUILESS_MAIN(TestTransferReaders)
#include "test_transfer_readers.moc"
