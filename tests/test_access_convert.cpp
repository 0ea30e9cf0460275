// Converting a catalog of the earlier Windows version (an Access file) into the program's own,
// always on copies of the fixtures in a temporary folder.
#include "AccessConversion.h"
#include "CatalogNumber.h"
#include "ReaderProcess.h"
#include "TitleRenamer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <charconv>
#include <unistd.h>

namespace
{

const QString kFixtures = QStringLiteral(REELWARDEN_JET_FIXTURES);
const QString kReader = QStringLiteral(REELWARDEN_MDB_READER);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString fixture(const QString &name) { return QDir(kFixtures).filePath(name); }

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A shell script standing in for the reader.
QString fakeReader(const QString &folder, const QByteArray &body)
{
    const QString path = QDir(folder).filePath(QStringLiteral("fake-reader"));
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A reader stream of Movies rows that hold only a title.
QByteArray titleStream(const QList<AccessValue> &titles)
{
    QByteArray stream = "REELWARDEN-MDB 1\n";
    for (const AccessValue &title : titles) {
        const QByteArray utf8 = title ? title->toUtf8() : QByteArray();
        stream += (title ? "RV" + QByteArray::number(utf8.size()) + ':' + utf8 : "RN") +
                  QByteArray("N").repeated(16) + '\n';
    }
    return stream + 'E' + QByteArray::number(titles.size()) + '\n';
}

// Renames the first occurrence of a column name in a Jet 4 file's table definition.
void renameColumn(QByteArray &file, const QString &from, const QString &to)
{
    const auto utf16 = [](const QString &text) {
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    };
    const qsizetype at = file.indexOf(utf16(from));
    QVERIFY(at > 0);
    file.replace(at, from.size() * 2, utf16(to));
}

// One row of an expected-rows file: escapes undone, \N as NULL.
QList<AccessValue> tsvRow(const QByteArray &line)
{
    QList<AccessValue> values;
    for (const QByteArray &cell : line.split('\t')) {
        QString text = QString::fromUtf8(cell).replace("\\\\", "\x01"); // an escaped backslash
        text.replace("\\t", "\t").replace("\\n", "\n").replace("\\r", "\r").replace('\x01', '\\');
        values.append(cell == "\\N" ? AccessValue() : AccessValue(text));
    }
    return values;
}

struct Sqlite {
    sqlite3 *db = nullptr;
    explicit Sqlite(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Sqlite() { sqlite3_close(db); }
    QVariant value(const QByteArray &sql, const QVariant &bound = {}) const
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db));
        if (bound.isValid())
            sqlite3_bind_int64(statement, 1, bound.toLongLong());
        QVariant result;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const int type = sqlite3_column_type(statement, 0);
            result = type == SQLITE_INTEGER ? QVariant(qint64(sqlite3_column_int64(statement, 0)))
                     : type == SQLITE_FLOAT ? QVariant(sqlite3_column_double(statement, 0))
                     : type == SQLITE_NULL
                         ? QVariant::fromValue(nullptr)
                         : QVariant(QString::fromUtf8(
                               reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
        }
        sqlite3_finalize(statement);
        return result;
    }
};

bool isNull(const QVariant &value) { return value.typeId() == QMetaType::Nullptr; }

// Checks one stored amount against the file's exact Currency text.
void compareAmount(const QVariant &stored, const QString &expected, const QString &where)
{
    const QByteArray text = expected.toLatin1();
    const qint64 units = QByteArray(text).replace('.', "").toLongLong();
    const bool whole = units % 10000 == 0;
    QVERIFY2(stored.typeId() == (whole ? QMetaType::LongLong : QMetaType::Double),
             qPrintable(where));
    constexpr qint64 kExact = 1'000'000'000'000'000LL; // 15 digits: kept exactly
    double nearest = 0;
    std::from_chars(text.begin(), text.end(), nearest);
    if (units > -kExact && units < kExact)
        QCOMPARE(std::llround(stored.toDouble() * 10000), units);
    else
        QCOMPARE(stored.toDouble(), nearest);
}

} // namespace

Q_DECLARE_METATYPE(ConversionError)
Q_DECLARE_METATYPE(CatalogNumber)
Q_DECLARE_METATYPE(AccessTableRead::Outcome)

class TestAccessConvert : public QObject
{
    Q_OBJECT
  private:
    QString copyFixture(const QTemporaryDir &dir, const QString &fixture)
    {
        const QString target = dir.filePath(QStringLiteral("movies.mdb"));
        QFile::copy(::fixture(fixture), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

  private slots:
    void recognisesAccessFiles_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("access");
        const QByteArray magic("\x00\x01\x00\x00", 4);
        QTest::newRow("jet") << magic + QByteArray("Standard Jet DB\0\x01", 17) << true;
        QTest::newRow("ace") << magic + QByteArray("Standard ACE DB\0\x02", 17) << true;
        QTest::newRow("sqlite") << QByteArray("SQLite format 3\0", 16) + QByteArray(100, '\0') << false;
        QTest::newRow("signatureAtStart") << QByteArray("Standard Jet DB\0\0\0\0\0", 20) << false;
        QTest::newRow("signatureCutShort") << magic + QByteArray("Standard Jet") << false;
    }

    void recognisesAccessFiles()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, access);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        QVERIFY(writeFile(path, head));
        QCOMPARE(IsAccessFile(path), access);
    }

    void convertsCatalog_data()
    {
        QTest::addColumn<QString>("fixture"); // and its expected rows, .expected.tsv
        QTest::addColumn<int>("rows");
        QTest::newRow("jet4Access2000") << "movies-jet4-v2000" << 309;
        QTest::newRow("jet4Access2003Memo") << "movies-jet4-v2003-memo" << 311;
        QTest::newRow("emptyCatalog") << "movies-empty-jet4" << 0;
    }

    void convertsCatalog()
    {
        QFETCH(QString, fixture);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString catalog = copyFixture(dir, fixture + ".mdb");
        const ConversionResult result = ConvertAccessCatalog(catalog, kReader);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.rowsConverted, rows);
        QCOMPARE(result.titlesRenamed, 0);
        QVERIFY(!result.valuesMayBeCut);
        QVERIFY(result.message.isEmpty());
        QCOMPARE(result.keptOriginalAs, dir.filePath(QStringLiteral("movies-access.mdb")));
        QCOMPARE(readAll(result.keptOriginalAs), readAll(::fixture(fixture + ".mdb")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({"movies-access.mdb", "movies.mdb"}));
        QVERIFY(!IsAccessFile(catalog));

        const Sqlite db(catalog);
        QCOMPARE(db.value("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QCOMPARE(db.value("SELECT count(*) FROM Movies").toLongLong(), qint64(rows));
        if (rows == 0)
            return;
        const QList<QByteArray> lines = readAll(::fixture(fixture + ".expected.tsv")).split('\n');
        const QList<QByteArray> names = lines.first().split('\t');
        for (int row = 1; row <= rows; ++row) {
            const QList<AccessValue> values = tsvRow(lines[row]);
            for (int column = 0; column < names.size(); ++column) {
                const QByteArray &name = names[column];
                const QVariant stored = db.value("SELECT " + name + " FROM Movies WHERE ID = ?", row);
                const QString where = QStringLiteral("row %1 column %2").arg(row).arg(name);
                if (!values[column]) {
                    QVERIFY2(isNull(stored), qPrintable(where));
                } else if (name == "Value") {
                    compareAmount(stored, *values[column], where);
                } else if (name == "Copyright" || name == "Hours" || name == "Minutes") {
                    QCOMPARE(stored, QVariant(values[column]->toLongLong()));
                } else if (!values[column]->isEmpty() || !isNull(stored)) {
                    // (the expected rows show NULL text as "", libmdb's way: checked below)
                    QVERIFY2(stored.toString() == *values[column], qPrintable(where));
                }
            }
        }
        const auto column = [&](const char *name, const char *title) {
            return db.value(QByteArray("SELECT ") + name + " FROM Movies WHERE Title = '" + title +
                            "'");
        };
        QVERIFY(isNull(column("Category", "Only a title")));
        QVERIFY(isNull(column("StarFour", "Сталкер")));
        QCOMPARE(column("Category", "Empty strings"), QVariant(QString()));
        QCOMPARE(column("TapePosition", "Amélie"), QVariant(QString()));
        QCOMPARE(column("Comments", "Ocean''s \"Eleven\"\ttab"), QVariant("Line one\r\nLine two"));
        QCOMPARE(column("Value", "Max currency"), QVariant(922337203685477.625));
        QCOMPARE(column("Value", "Min currency"), QVariant(-922337203685477.625));
        QCOMPARE(column("count(*)", "DELETED ROW"), QVariant(qint64(0)));
        if (rows == 311) {
            const QString memo = column("Comments", "Long memo").toString();
            QCOMPARE(memo.size(), 20003);
            QVERIFY(memo.endsWith(QStringLiteral("END")));
            // libmdb decodes Jet 4 text as UCS-2 and so loses characters outside the BMP.
            QCOMPARE(column("Comments", "Emoji"), QVariant("Film ?? night"));
        }
    }

    void failsLeavingOriginal_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QByteArray>("script"); // a stand-in for the reader, if any
        QTest::addColumn<ConversionError>("error");
        QTest::addColumn<QStringList>("named");
        using E = ConversionError;
        const auto row = [](const char *name, const char *damage, const QByteArray &script, E error,
                            const QStringList &named, const char *fixture = "movies-jet4-v2000.mdb") {
            QTest::newRow(name) << fixture << damage << script << error << named;
        };
        const QStringList damaged{"damaged"}, cannotWrite{"cannot be written in the folder"};
        row("jet3NoMoviesTable", "", {}, E::NoMoviesTable, {"no Movies table"}, "jet3-testV1997.mdb");
        row("jet4NoMoviesTable", "", {}, E::NoMoviesTable, {"no Movies table"}, "no-movies-jet4.mdb");
        row("missingColumns", "renameColumns", {}, E::MissingColumns,
            {"columns Category and Director"});
        row("truncatedMidPage", "truncate50000", {}, E::DamagedFile, damaged);
        row("truncatedToTwoPages", "truncate8192", {}, E::DamagedFile, damaged);
        row("garbledHeader", "garbleHeader", {}, E::DamagedFile, damaged);
        row("zeroedTableDefinition", "zeroPage2", {}, E::DamagedFile, damaged);
        row("notAccess", "sqliteFile", {}, E::NotAccessFile, {"not a Microsoft Access file"});
        row("readerMissing", "noReader", {}, E::ReaderMissing, {"reelwarden-mdb-reader"});
        row("temporaryNameTaken", "folderInTheWay", {}, E::CannotWrite, cannotWrite);
        row("readOnlyFolder", "readOnlyFolder", {}, E::CannotWrite, cannotWrite);
        row("readerHangs", "", "exec sleep 30", E::TimedOut, {"stopped", "damaged"});
        row("readerCrashes", "", "kill -SEGV $$", E::DamagedFile, damaged);
        row("readerReportsDamage", "", "printf 'REELWARDEN-MDB 1\\nX5 3:bad\\n'; exit 5",
            E::DamagedFile, damaged);
    }

    void failsLeavingOriginal()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, damage);
        QFETCH(QByteArray, script);
        QFETCH(ConversionError, error);
        QFETCH(QStringList, named);
        QTemporaryDir dir;
        QTemporaryDir tools;
        const QString catalog = copyFixture(dir, fixture);
        QByteArray bytes = readAll(catalog);
        if (damage == "renameColumns") {
            renameColumn(bytes, QStringLiteral("Category"), QStringLiteral("Cxtegory"));
            renameColumn(bytes, QStringLiteral("Director"), QStringLiteral("Directox"));
        } else if (damage.startsWith("truncate")) {
            bytes.truncate(damage.mid(8).toInt());
        } else if (damage == "garbleHeader") {
            for (int i = 0x14; i < 0x800; ++i)
                bytes[i] = char(bytes[i] ^ 0x5a);
        } else if (damage == "zeroPage2") {
            bytes.replace(2 * 4096, 4096, QByteArray(4096, '\0'));
        } else if (damage == "sqliteFile") {
            bytes = QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0');
        }
        QVERIFY(writeFile(catalog, bytes));
        QString reader = script.isEmpty() ? kReader : fakeReader(tools.path(), script);
        if (damage == "noReader")
            reader = tools.filePath(QStringLiteral("reelwarden-mdb-reader"));
        if (damage == "folderInTheWay")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("movies.mdb.converting")));
        if (damage == "readOnlyFolder") {
            if (::geteuid() == 0)
                QSKIP("the super-user writes in read-only folders");
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QByteArray original = readAll(catalog);

        const bool hangs = script.contains("sleep");
        bool ticked = false; // the event loop runs while the reader does
        QTimer tick; // stops with this row, so it never outlives `ticked`
        tick.setSingleShot(true);
        connect(&tick, &QTimer::timeout, this, [&ticked] { ticked = true; });
        tick.start(100);
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result = ConvertAccessCatalog(catalog, reader, hangs ? 1000 : 60000);
        QVERIFY(!hangs || (ticked && clock.elapsed() < 10000));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, error);
        for (const QString &part : named << QStringLiteral("movies.mdb was left unchanged"))
            QVERIFY2(result.message.contains(part), qPrintable(result.message));
        QCOMPARE(readAll(catalog), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(result.keptOriginalAs.isEmpty());
    }

    void keepsOriginalUnderFreeName_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("kept");
        const QString one = "movies-access.mdb", two = "movies-access-2.mdb";
        QTest::newRow("twoNamesTaken")
            << QStringList{one, two} << QStringList() << "movies-access-3.mdb";
        QTest::newRow("nameTakenByFolder") << QStringList() << QStringList{one} << two;
        QTest::newRow("laterNameTakenOnly") << QStringList{two} << QStringList() << one;
    }

    void keepsOriginalUnderFreeName()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, kept);
        QTemporaryDir dir;
        const QString catalog = copyFixture(dir, QStringLiteral("movies-empty-jet4.mdb"));
        for (const QString &name : files)
            QVERIFY(writeFile(dir.filePath(name), name.toUtf8()));
        for (const QString &name : folders)
            QVERIFY(QDir(dir.path()).mkdir(name));

        const QString question = ConversionQuestion(catalog);
        QVERIFY2(question.endsWith("will be kept as " + kept + '.'), qPrintable(question));
        if (kept == QStringLiteral("movies-access.mdb"))
            QCOMPARE(question, QString::fromUtf8(kConversionQuestion));
        const ConversionResult result = ConvertAccessCatalog(catalog, kReader);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.keptOriginalAs, dir.filePath(kept));
        QCOMPARE(readAll(result.keptOriginalAs), readAll(fixture("movies-empty-jet4.mdb")));
        for (const QString &name : files)
            QCOMPARE(readAll(dir.filePath(name)), name.toUtf8());
    }

    void renamesDuplicateTitles_data()
    {
        QTest::addColumn<QList<AccessValue>>("titles");
        QTest::addColumn<QList<AccessValue>>("renamed");
        using L = QList<AccessValue>;
        const auto s = [](const char *text) { return AccessValue(QString::fromUtf8(text)); };
        QTest::newRow("threeAlike") << L{s("Up"), s("up"), s("UP")}
                                    << L{s("Up"), s("up (2)"), s("UP (3)")};
        QTest::newRow("numberedTitleLater") << L{s("Alien"), s("alien"), s("Alien (2)")}
                                            << L{s("Alien"), s("alien (3)"), s("Alien (2)")};
        QTest::newRow("numberedTitleTakenWithoutCase")
            << L{s("Jaws (2)"), s("Jaws"), s("JAWS")} << L{s("Jaws (2)"), s("Jaws"), s("JAWS (3)")};
        QTest::newRow("sharpS") << L{s("Straße"), s("STRASSE")} << L{s("Straße"), s("STRASSE (2)")};
        QTest::newRow("finalSigma") << L{s("ΟΔΟΣ"), s("οδος"), s("οδοσ")}
                                    << L{s("ΟΔΟΣ"), s("οδος (2)"), s("οδοσ (3)")};
        QTest::newRow("percentSigns") << L{s("100%1 %2"), s("100%1 %2")}
                                      << L{s("100%1 %2"), s("100%1 %2 (2)")};
        QTest::newRow("emptyAndNullKept") << L{s(""), s(""), std::nullopt, std::nullopt}
                                          << L{s(""), s(""), std::nullopt, std::nullopt};
    }

    void renamesDuplicateTitles()
    {
        QFETCH(QList<AccessValue>, titles);
        QFETCH(QList<AccessValue>, renamed);
        int changed = 0;
        for (qsizetype i = 0; i < titles.size(); ++i)
            changed += titles[i] != renamed[i];
        QCOMPARE(RenameDuplicateTitles(titles), changed);
        QCOMPARE(titles, renamed);
    }

    void duplicateTitlesInCatalog()
    {
        QTemporaryDir dir;
        QTemporaryDir tools;
        const QString catalog = copyFixture(dir, QStringLiteral("movies-empty-jet4.mdb"));
        const QString stream = tools.filePath(QStringLiteral("rows"));
        QVERIFY(writeFile(stream, titleStream({"Heat", "heat", "HEAT", "", std::nullopt, "Heat (2)"})));
        const QString reader = fakeReader(tools.path(), "exec cat '" + stream.toUtf8() + "'");
        const ConversionResult result = ConvertAccessCatalog(catalog, reader);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.rowsConverted, 6);
        QCOMPARE(result.titlesRenamed, 2);
        QVERIFY2(result.message.startsWith("2 titles appeared more than once"),
                 qPrintable(result.message));
        const Sqlite db(catalog);
        QCOMPARE(db.value("SELECT group_concat(coalesce(Title, 'NULL'), '|') FROM Movies"),
                 QVariant("Heat|heat (3)|HEAT (4)||NULL|Heat (2)"));
    }

    void numberFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CatalogNumber>("number");
        QTest::newRow("year") << "1942" << CatalogNumber(qint64(1942));
        QTest::newRow("wholeAmount") << "19.0000" << CatalogNumber(qint64(19));
        QTest::newRow("negativeCent") << "-0.0100" << CatalogNumber(-0.01);
        QTest::newRow("currencyMaximum")
            << "922337203685477.5807" << CatalogNumber(922337203685477.625);
        QTest::newRow("wholeBeyondDoubles")
            << "922337203685477.0000" << CatalogNumber(qint64(922337203685477));
        QTest::newRow("beyond64Bits") << "9223372036854775808" << CatalogNumber(9223372036854775808.0);
        QTest::newRow("empty") << "" << CatalogNumber();
        QTest::newRow("notANumber") << "n/a" << CatalogNumber(QStringLiteral("n/a"));
    }

    void numberFromText()
    {
        QFETCH(QString, text);
        QFETCH(CatalogNumber, number);
        QVERIFY(CatalogNumberFromText(text) == number);
    }

    void readerStream_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<AccessTableRead::Outcome>("outcome");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("cut");
        using O = AccessTableRead::Outcome;
        const auto row = [](const char *name, const char *body, O outcome, int rows = 0,
                            bool cut = false) {
            QTest::newRow(name) << "REELWARDEN-MDB 1\n" + QByteArray(body) << outcome << rows << cut;
        };
        row("rows", "RV3:a:bN\nRV2:\n\rV0:\nE2\n", O::Complete, 2);
        row("maybeCut", "RC1:xN\nE1\n", O::Complete, 1, true);
        row("failure", "RV1:xN\nX3 6:Movies\n", O::ReaderFailed);
        row("noEnd", "RV1:xN\n", O::Malformed);
        row("countWrong", "RV1:xN\nE2\n", O::Malformed);
        row("afterEnd", "E0\nRV1:xN\n", O::Malformed);
        row("lengthPastEnd", "RV9:xN\nE1\n", O::Malformed);
        row("tooFewFields", "RV1:x\nE1\n", O::Malformed);
        row("negativeLength", "RV-1:N\nE1\n", O::Malformed);
        QTest::newRow("noMagic") << QByteArray("E0\n") << O::Malformed << 0 << false;
    }

    void readerStream()
    {
        QFETCH(QByteArray, stream);
        QFETCH(AccessTableRead::Outcome, outcome);
        QFETCH(int, rows);
        QFETCH(bool, cut);
        const AccessTableRead read = ParseReaderOutput(stream, 2);
        QCOMPARE(read.outcome, outcome);
        QCOMPARE(read.rows.size(), rows);
        QCOMPARE(read.valuesMayBeCut, cut);
        if (QTest::currentDataTag() == QByteArray("rows")) {
            QCOMPARE(read.rows[0], AccessRow({"a:b", std::nullopt}));
            QCOMPARE(read.rows[1], AccessRow({"\n\r", ""}));
        }
        if (outcome == AccessTableRead::Outcome::ReaderFailed) {
            QCOMPARE(read.readerCode, 3);
            QCOMPARE(read.detail, QStringLiteral("Movies"));
        }
    }

    // Columns are found by name regardless of case, in any order, and read in the C locale.
    void readsJet3Table()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.mdb"));
        QVERIFY(QFile::copy(fixture("jet3-testV1997.mdb"), file));
        const auto lines = readAll(fixture("jet3-testV1997.Table1.expected.tsv")).trimmed().split('\n');
        QStringList columns;
        for (const QByteArray &name : lines.first().split('\t'))
            columns << QString::fromLatin1(name).toLower();
        const AccessTableRead read = ReadAccessTable(kReader, file, "TABLE1", columns, 60000);
        QCOMPARE(read.outcome, AccessTableRead::Outcome::Complete);
        QCOMPARE(read.rows.size(), lines.size() - 1);
        for (qsizetype row = 0; row < read.rows.size(); ++row)
            QCOMPARE(read.rows[row], tsvRow(lines[row + 1]));
        QCOMPARE(readAll(file), readAll(fixture("jet3-testV1997.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestAccessConvert)
#include "test_access_convert.moc"
