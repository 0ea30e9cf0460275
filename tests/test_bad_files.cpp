// Broken and foreign files beside the program: a catalog that cannot be used is refused with
// a message naming movies.mdb, one in an odd state is still shown, a settings file is read as
// far as it makes sense, nothing hangs, and every file stays byte for byte as it was.
#include "CatalogSchema.h"
#include "Settings.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <random>

namespace
{

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random());
    return bytes;
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT
  private slots:
    void badCatalogIsRefusedPlainly_data()
    {
        addRows("store/bad_catalogs.tsv", {"contentBytes", "random", "schemaChange", "expected"});
    }
    void badCatalogIsRefusedPlainly()
    {
        QFETCH(QByteArray, contentBytes);
        QFETCH(QString, random);
        QFETCH(QString, schemaChange);
        QFETCH(QString, expected);
        QByteArray bytes = contentBytes == "missing"
                               ? QByteArray()
                               : QByteArray("") + contentBytes +
                                     randomBytes(random.section(u' ', 0, 0).toInt(),
                                                 random.section(u' ', 1).toUInt());
        if (!schemaChange.isEmpty()) // the schema begins with a comment
            bytes = QByteArray(kCatalogSchemaSql)
                        .trimmed()
                        .replace(schemaChange.section("=>", 0, 0).toUtf8(),
                                 schemaChange.section("=>", 1).toUtf8());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        std::unique_ptr<OtherProgram> holder;
        if (bytes == "folder") {
            QDir().mkdir(path);
        } else if (bytes == "exclusive") {
            createCatalog(path);
            holder = std::make_unique<OtherProgram>(path,
                                                    "BEGIN EXCLUSIVE; SELECT count(*) FROM Movies");
        } else if (bytes.contains("CREATE TABLE")) {
            QVERIFY(exec(path, bytes));
        } else if (!bytes.isNull()) {
            writeFile(path, bytes);
        }
        const QByteArray before = readFile(path);
        QElapsedTimer timer;
        timer.start();
        try {
            BoundCatalog opened(path);
            QFAIL("the file was opened as a catalog");
        } catch (const StoreError &error) {
            QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
            QVERIFY(error.message().contains(QStringLiteral("movies.mdb")));
            QVERIFY(error.message().contains(QDir::toNativeSeparators(dir.path())));
            QCOMPARE(error.kind() == StoreError::Kind::AccessFormat,
                     expected == "Microsoft Access");
            QCOMPARE(error.kind() == StoreError::Kind::Busy, bool(holder));
        }
        QVERIFY2(timer.elapsed() < 6000, "opening hung");
        QCOMPARE(readFile(path), before);
        QCOMPARE(QFileInfo::exists(path), !bytes.isNull());
    }

    // A catalog another program is writing or reading, or a read-only one, is still shown.
    void catalogUsableDespiteItsFileState_data()
    {
        QTest::addColumn<QByteArray>("begin");
        QTest::newRow("read-only file") << QByteArray();
        QTest::newRow("another program writing") << QByteArray("BEGIN IMMEDIATE");
        QTest::newRow("another program reading") << QByteArray("BEGIN");
    }
    void catalogUsableDespiteItsFileState()
    {
        QFETCH(QByteArray, begin);
        MainWindowFixture f(titled({"Alien", "Brazil"}), {}, {}, false);
        if (begin.isNull())
            QFile::setPermissions(f.catalog(),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const OtherProgram holder(f.catalog(), begin + "; SELECT count(*) FROM Movies");
        const QByteArray before = readFile(f.catalog());
        QElapsedTimer timer;
        timer.start();
        f.load();
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(f.list().ListCount(), 2);
        QCOMPARE(readFile(f.catalog()), before);
    }

    // The window reads the lists from an odd settings file and leaves it as it was.
    void oddSettingsFileIsLeftAsItWas()
    {
        const QByteArray ini = randomBytes(256 * 1024, 3) +
                               "\n[Categories]\r\nCategoryTotal=2\r\nCategory.1=Com\xE9"
                               "die\r\n"
                               "Category.2=" +
                               QByteArray(1 << 20, 'x') + "\n[Ratings]\nRatingTotal=-1\n";
        MainWindowFixture f(titled({"Alien"}), ini);
        QCOMPARE(items(f.w().cboCategory()),
                 (QStringList{QStringLiteral("Comédie"), QString(MaxIniValueLength, 'x')}));
        QCOMPARE(items(f.w().cboRating()), QStringList());
        QCOMPARE(f.list().ListCount(), 1);
        QCOMPARE(readFile(f.dir.filePath("TARSEL.INI")), ini);
    }
};

QTEST_MAIN(TestBadFiles)
#include "test_bad_files.moc"
