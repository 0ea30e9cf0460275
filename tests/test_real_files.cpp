#include "ForeignValues.h"
#include "MovieColumns.h"
#include "TestSupport.h"
#include "ZipArchive.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString kProgram = QStringLiteral(REELWARDEN_TRANSFER);
const QStringList kFormats = {"tellico", "gcstar", "imdb", "letterboxd", "csv"};
const std::size_t kValue = std::size_t(movieColumnIndex("Value"));
const std::size_t kHours = std::size_t(movieColumnIndex("Hours"));
const std::size_t kMinutes = std::size_t(movieColumnIndex("Minutes"));
const std::size_t kComments = std::size_t(movieColumnIndex("Comments"));

// A movie's 17 columns as text, NULL as an empty text.
QStringList storedMovie(const QString &catalog, const QString &title)
{
    QStringList values;
    for (const MovieColumnInfo &column : kMovieColumns) {
        const QString sql = QStringLiteral("SELECT ifnull(CAST([%1] AS TEXT), '') FROM Movies "
                                           "WHERE Title = '%2'")
                                .arg(QLatin1String(column.name), QString(title).replace("'", "''"));
        values << scalar(catalog, sql).toString();
    }
    return values;
}

Run transfer(const QStringList &arguments, const QString &lang = {})
{
    return runProgram(kProgram, arguments, lang);
}

// The field declarations of a Tellico document: name -> "type flags format category".
QHash<QString, QString> fieldDeclarations(const QByteArray &xml)
{
    QHash<QString, QString> fields;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == u"field") {
            const auto a = reader.attributes();
            fields.insert(a.value("name").toString(),
                          QStringList{a.value("type").toString(), a.value("flags").toString(),
                                      a.value("format").toString(), a.value("category").toString()}
                              .join(' '));
        }
        if (reader.isStartElement() && reader.name() == u"entry")
            break;
        reader.readNext();
    }
    return fields;
}

} // namespace

class TestRealFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString freshCatalog()
    {
        const QString path = m_dir.filePath("catalog.mdb");
        QFile::remove(path);
        createCatalog(path);
        return path;
    }

  private slots:
    void otherProgramsFiles_data()
    {
        const QStringList columns = withMovieColumns({"file", "options", "lang", "movies", "says"});
        for (const QString &format : kFormats)
            addRows(format + "/files.tsv", columns, format == kFormats.first());
    }

    // Each file imports without being refused; the named movie has every value a person
    // reading the file would expect, and the summary says what was read and left out.
    void otherProgramsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(QString, lang);
        QFETCH(QString, movies);
        QFETCH(QString, says);
        REQUIRE_FILE(dataPath(file));
        const QString catalog = freshCatalog();
        const Run run = transfer(QStringList{"import", dataPath(file), "--catalog", catalog} +
                                     QProcess::splitCommand(options),
                                 lang);
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(scalar(catalog, "SELECT count(*) FROM Movies").toInt(), movies.toInt());
        for (const QString &words : says.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(run.out.contains(words), qPrintable(run.out));
        const auto expected = expectedMovie();
        const QStringList stored = storedMovie(catalog, *expected.first());
        for (int i = 0; i < MovieRow::kColumnCount; ++i)
            QVERIFY2(stored.value(i) == expected[i].value_or(QString()),
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(kMovieColumns[i].name),
                                                             stored.value(i))));
    }

    void valuesReadAsAPersonReadsThem_data()
    {
        addRows("transfer/foreign_values.tsv", {"column", "text", "mark", "stored", "comments"});
    }

    // One value of another program's file: what the catalog stores, and what Comments keeps.
    void valuesReadAsAPersonReadsThem()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, mark);
        QFETCH(QString, stored);
        QFETCH(QString, comments);
        const int index = movieColumnIndex(column);
        QVERIFY2(index >= 0, qPrintable(column));
        MovieRow movie;
        movie.values[std::size_t(index)] = text;
        ForeignValues values(mark == u"comma"   ? DecimalMark::Comma
                             : mark == u"point" ? DecimalMark::Point
                                                : DecimalMark::Unknown);
        ForeignValues::keepInComments(movie, values.read(movie));
        QString got = movie.values[std::size_t(index)].value_or(QString());
        if (std::size_t(index) == kMinutes && movie.values[kHours])
            got = *movie.values[kHours] + u':' + got;
        QCOMPARE(got, stored);
        QCOMPARE(movie.values[kComments].value_or(QString()), comments);
    }

    // An amount whose decimal mark only an earlier amount of the file tells is read with it.
    void earlierAmountTellsTheDecimalMark()
    {
        ForeignValues values;
        MovieRow first, second;
        first.values[kValue] = QStringLiteral("12,50");
        second.values[kValue] = QStringLiteral("1,250");
        QVERIFY(values.read(first).empty());
        QVERIFY(values.read(second).empty());
        QCOMPARE(*second.values[kValue], QStringLiteral("1.25"));
    }

    // Our export declares each field as Tellico's own files do; Tellico opened it, saved it,
    // and the import gives back every column of every movie.
    void tellicoRoundTrip()
    {
        REQUIRE_FILE(dataPath("tellico/movies-many.tc"));
        REQUIRE_FILE(dataPath("tellico/resaved-by-tellico.tc"));
        const QString source = m_dir.filePath("source.mdb");
        QFile::remove(source);
        createCatalog(source);
        QVERIFY(exec(source, readFile(dataPath("tellico/round_trip.sql"))));
        const QString exported = m_dir.filePath("ours.xml");
        QFile::remove(exported);
        QCOMPARE(transfer({"export", exported, "--catalog", source}).code, 0);
        const auto ours = fieldDeclarations(readFile(exported));
        ZipMemberDevice many(dataPath("tellico/movies-many.tc"), "tellico.xml");
        const auto theirs = fieldDeclarations(many.readAll());
        // Shown as stored rather than turned around ("Quiet Valley, The"); comments keep their
        // line breaks as Tellico's own paragraph field does.
        const QHash<QString, QString> ownChoice{{"title", "1 8 4 General"},
                                                {"comments", "2 0 4 Comments"}};
        for (auto field = ours.cbegin(); field != ours.cend(); ++field) {
            if (theirs.contains(field.key()))
                QCOMPARE(field.key() + ": " + field.value(),
                         field.key() + ": " + ownChoice.value(field.key(), theirs[field.key()]));
        }
        QCOMPARE(ours.value("condition"), QStringLiteral("1 6 4 Personal"));
        QCOMPARE(ours.value("location"), QStringLiteral("1 0 4 Personal"));
        const QString copy = freshCatalog();
        QCOMPARE(
            transfer({"import", dataPath("tellico/resaved-by-tellico.tc"), "--catalog", copy}).code,
            0);
        const QStringList titles = {"The Quiet Valley", "L'Auberge espagnole",
                                    "Der Himmel über Berlin"};
        for (const QString &title : titles)
            QCOMPARE(storedMovie(copy, title), storedMovie(source, title));
    }
};

QTEST_GUILESS_MAIN(TestRealFiles)
#include "test_real_files.moc"
