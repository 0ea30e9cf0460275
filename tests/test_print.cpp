// Printing a movie: the sheet is printed to PDF files and read back with poppler's pdftotext
// (texts, and word boxes in points from the page's top left) and pdffonts.
#include "BoundControls.h"
#include "CatalogSchema.h"
#include "ListBox.h"
#include "Look.h"
#include "MessageBox.h"
#include "MovieSheet.h"
#include "RibbonButton.h"
#include "Settings.h"
#include "frmTarsel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>
#include <unistd.h>

namespace {

constexpr qreal kMarginLeft = 18; // the printable area, in points from the paper's edges
constexpr qreal kMarginTop = 30;

struct Line {
    QStringList words;
    QList<qreal> left, right; // of each word
    qreal top = 0, bottom = 0;
    QString text() const { return words.join(QLatin1Char(' ')); }
};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        qWarning() << program << arguments << process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page's words grouped into lines, top to bottom.
QList<Line> readLines(const QString &pdf)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Line> lines;
    for (const auto &m : word.globalMatch(run(
             QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}))) {
        const qreal top = m.captured(2).toDouble();
        if (lines.isEmpty() || qAbs(lines.last().top - top) > 0.5)
            lines.append(Line{{}, {}, {}, top, m.captured(4).toDouble()});
        lines.last().words << m.captured(5).replace(QLatin1String("&amp;"), QLatin1String("&"));
        lines.last().left << m.captured(1).toDouble();
        lines.last().right << m.captured(3).toDouble();
    }
    return lines;
}

// Liberation Sans, what "Arial" prints as, measured in ems (its design units over 1000).
QFontMetricsF LiberationSansEm()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(1000);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font);
}

void makeCatalog(const QString &folder, const QString &rowsFile)
{
    QFile rows(rowsFile);
    QVERIFY(rowsFile.isEmpty() || rows.open(QIODevice::ReadOnly));
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open((folder + QStringLiteral("/movies.mdb")).toUtf8().constData(), &db),
             SQLITE_OK);
    const QByteArray sql =
        QByteArray(kCatalogSchemaSql) + (rowsFile.isEmpty() ? "" : rows.readAll());
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

const QStringList kLabels = {
    "Title:",     "Category:",   "Rating:",    "Format:",        "Value:",
    "Copyright:", "Length:",     "Condition:", "Tape Position:", "Star One:",
    "Star Two:",  "Star Three:", "Star Four:", "Producer:",      "Director:"};

// The sheet's lines as printed: each label, two spaces, the field's text.
QStringList sheetOf(const QStringList &values)
{
    QStringList lines;
    for (qsizetype i = 0; i < kLabels.size(); ++i)
        lines << kLabels[i] + QStringLiteral("  ") + values.value(i);
    return lines;
}

// A printer that notes the pointer shown whenever a painter takes it.
class WatchedPrinter : public QPrinter
{
public:
    explicit WatchedPrinter(QList<Qt::CursorShape> *pointers)
        : QPrinter(QPrinter::HighResolution), m_pointers(pointers)
    {
    }
    QPaintEngine *paintEngine() const override
    {
        const QCursor *cursor = QApplication::overrideCursor();
        *m_pointers << (cursor ? cursor->shape() : Qt::ArrowCursor);
        return QPrinter::paintEngine();
    }

private:
    QList<Qt::CursorShape> *m_pointers;
};

// Checks the words of `line` against `expected`, their text and the gaps between them: as
// many blanks of the font at `points` as the expected text has there.
void compareWords(const Line &line, const QString &expected, qreal points)
{
    const QStringList words = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(line.text(), words.join(QLatin1Char(' ')));
    const qreal blank = LiberationSansEm().horizontalAdvance(QLatin1Char(' ')) / 1000 * points;
    qsizetype at = expected.indexOf(words[0]) + words[0].size();
    for (qsizetype i = 1; i < words.size(); ++i) {
        const qsizetype next = expected.indexOf(words[i], at);
        const qreal gap = line.left[i] - line.right[i - 1];
        QVERIFY2(qAbs(gap - (next - at) * blank) < 0.4 * blank,
                 qPrintable(
                     QStringLiteral("%1: gap %2 before %3").arg(expected).arg(gap).arg(words[i])));
        at = next + words[i].size();
    }
}

bool writeFile(const QString &path, const QString &text, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size() &&
           file.setPermissions(permissions);
}

// A CUPS server of the test's own, in `folder`, answering on folder/cups.sock, with one raw
// queue whose backend copies each job (Qt's PDF, untouched) to folder/out/job.pdf. It is
// stopped by its process id when this object goes.
class PrintServer
{
public:
    static constexpr const char *kQueue = "reelwarden-test";
    explicit PrintServer(const QString &folder) : m_dir(folder) {}
    ~PrintServer()
    {
        if (m_cupsd.state() == QProcess::NotRunning)
            return;
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
    QString job() const { return path("out/job.pdf"); }
    QString copies() const { return path("out/copies"); }
    QString log() const
    {
        QFile file(path("error_log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll().right(3000))
                                              : QStringLiteral("(no server log)");
    }

    bool start()
    {
        if (!configure())
            return false;
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {"-f", "-c", path("cupsd.conf"), "-s", path("cups-files.conf")});
        if (!m_cupsd.waitForStarted(5000))
            return false;
        for (int i = 0; i < 100 && !QFile::exists(path("cups.sock")); ++i)
            QTest::qWait(50);
        QProcess lpadmin;
        lpadmin.start(QStringLiteral("lpadmin"),
                      {"-p", kQueue, "-E", "-v", QStringLiteral("copyjob:/sheet")});
        return lpadmin.waitForFinished(10000) && lpadmin.exitCode() == 0 &&
               !QPrinterInfo::printerInfo(kQueue).isNull();
    }

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    bool configure()
    {
        for (const char *folder : {"etc/ppd", "spool/tmp", "state", "cache", "bin/backend", "out"})
            m_dir.mkpath(QLatin1String(folder));
        // The system's filters and helpers, and a backend of our own. A backend only its owner
        // may run runs as root, so it can write here.
        for (const QFileInfo &entry : QDir(QStringLiteral("/usr/lib/cups"))
                                          .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
            if (entry.fileName() != QLatin1String("backend"))
                QFile::link(entry.filePath(), path("bin/") + entry.fileName());
        const QString backend =
            QStringLiteral("#!/bin/sh\n"
                           "[ $# -eq 0 ] && exit 0  # asked for the devices it finds: none\n"
                           "echo \"$4\" > '%1'\n"
                           "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > '%2.part' && mv "
                           "'%2.part' '%2'\n")
                .arg(copies(), job());
        const QString conf =
            QStringLiteral(
                "Listen %1/cups.sock\nLogLevel info\nBrowsing No\nWebInterface No\n"
                "DefaultPolicy open\n<Policy open>\n<Limit All>\nOrder allow,deny\nAllow all\n"
                "</Limit>\n</Policy>\n")
                .arg(m_dir.path());
        const QString files =
            QStringLiteral(
                "ServerRoot %1/etc\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                "StateDir %1/state\nCacheDir %1/cache\nDataDir /usr/share/cups\n"
                "ErrorLog %1/error_log\nAccessLog %1/access_log\nPageLog %1/page_log\n"
                "SystemGroup root\n")
                .arg(m_dir.path());
        const auto owner = QFile::ReadOwner | QFile::WriteOwner;
        return writeFile(path("bin/backend/copyjob"), backend, owner | QFile::ExeOwner) &&
               writeFile(path("cupsd.conf"), conf, owner) &&
               writeFile(path("cups-files.conf"), files, owner);
    }

    QDir m_dir;
    QProcess m_cupsd;
};

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void printsTheSheetAsShown_data();
    void printsTheSheetAsShown();
    void composesUnderTheHourglass();
    void failureTellsWhy_data();
    void failureTellsWhy();
    void cancelPrintsNothing();
    void printsThroughCups();

private:
    void openWindow(const QString &rowsFile);
    // Makes the dialog answer with a PDF printer writing `pdf`, then presses Print.
    void printToPdf(const QString &pdf, int dotsPerInch = 1200);
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmTarsel> m_window;
    QStringList m_messages;
    QList<int> m_flags;
    bool m_pointerNormalAtMessage = true;
    QTemporaryDir m_cups; // the private print server's files; it answers on cups.sock there
};

void TestPrint::initTestCase()
{
    SetUpFonts();
    // The print system is looked up once per process, so this points it at the private server
    // before anything prints. Until that server runs the tests see no printer at all.
    QVERIFY(m_cups.isValid());
    qputenv("CUPS_SERVER", m_cups.filePath(QStringLiteral("cups.sock")).toLocal8Bit());
    SetMsgBoxHook([this](const QString &text, int flags) {
        m_messages << text;
        m_flags << flags;
        m_pointerNormalAtMessage = QApplication::overrideCursor() == nullptr;
        return int(vbOK);
    });
}

void TestPrint::cleanup()
{
    SetPrinterDialogHook(nullptr);
    m_window.reset();
    m_folder.reset();
    m_messages.clear();
    m_flags.clear();
    QVERIFY(QApplication::overrideCursor() == nullptr); // the pointer is normal again
}

void TestPrint::openWindow(const QString &rowsFile)
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(QStringLiteral(REELWARDEN_TEST_DATA "/print/TARSEL.INI"),
                        m_folder->filePath(QStringLiteral("TARSEL.INI"))));
    makeCatalog(m_folder->path(), rowsFile);
    setIniPath(m_folder->filePath(QStringLiteral("TARSEL.INI")));
    m_window = std::make_unique<frmTarsel>(m_folder->path());
    m_window->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPrint::printToPdf(const QString &pdf, int dotsPerInch)
{
    SetPrinterDialogHook([pdf, dotsPerInch](QWidget *) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setResolution(dotsPerInch);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(kMarginLeft, kMarginTop, kMarginLeft, kMarginTop),
                                QPageLayout::Point);
        return printer;
    });
    QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
}

void TestPrint::printsTheSheetAsShown_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("dotsPerInch");
    QTest::addColumn<QString>("newTitle"); // typed over the title and not saved
    QTest::addColumn<QStringList>("sheet");
    const QString twoMovies = QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql");
    const QStringList amelie = {"Amélie", "Comedy", "R", "DVD", "$12.50", "2001",
                                "2 hours  2 minutes", "Like new", "Shelf 3, left",
                                "Audrey Tautou", "Mathieu Kassovitz", "Rufus",
                                "Lorella Cravotta", "Claudie Ossard", "Jean-Pierre Jeunet"};
    QStringList edited = amelie;
    edited[0] = QStringLiteral("Amelie Revised");
    QStringList longTitle = amelie;
    longTitle[0] = QStringLiteral("Once upon a time there was a title far too long for one "
                                  "line of the sheet which keeps going past the edge");
    QTest::newRow("stored movie") << twoMovies << 1200 << QString() << sheetOf(amelie);
    QTest::newRow("unsaved edit") << twoMovies << 1200 << edited[0] << sheetOf(edited);
    QTest::newRow("title wider than the page")
        << twoMovies << 300 << longTitle[0] << sheetOf(longTitle);
    QTest::newRow("empty catalog")
        << QString() << 300 << QString() << sheetOf({"", "", "", "", "", "", " hours   minutes"});
}

void TestPrint::printsTheSheetAsShown()
{
    QFETCH(QString, rows);
    QFETCH(int, dotsPerInch);
    QFETCH(QString, newTitle);
    QFETCH(QStringList, sheet);
    openWindow(rows);
    if (!newTitle.isEmpty()) {
        m_window->txtTitle()->selectAll();
        QTest::keyClicks(m_window->txtTitle(), newTitle);
    }
    const QString pdf = m_folder->filePath(QStringLiteral("sheet.pdf"));
    printToPdf(pdf, dotsPerInch);
    QCOMPARE(m_messages, QStringList());

    const QList<Line> lines = readLines(pdf);
    QCOMPARE(lines.size(), sheet.size());
    if (newTitle.size() > 60) // the page's edge cuts the title: it does not wrap
        QVERIFY2(sheet[0].simplified().startsWith(lines[0].text()) && lines[0].words.size() > 9,
                 qPrintable(lines[0].text()));
    else
        compareWords(lines[0], sheet[0], 20);
    for (qsizetype i = 1; i < lines.size() && !QTest::currentTestFailed(); ++i)
        compareWords(lines[i], sheet[i], 14);
    if (QTest::currentTestFailed())
        return;
    const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    QCOMPARE(text.count(QLatin1String("Title:")), 1);
    QVERIFY(!text.contains(QLatin1String("Watched")) && !text.contains(QLatin1String("Bought")));
    if (!newTitle.isEmpty()) // printing does not save the edit
        QCOMPARE(m_window->lstMovies()->List(0), QStringLiteral("Amélie"));

    // Arial (Liberation Sans here), regular; a word's box is its size's ascent plus descent.
    QStringList fonts = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    fonts = fonts.mid(2).filter(QRegularExpression(QStringLiteral("\\S")));
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts) // a subset's name has a tag before "+"
        QCOMPARE(font.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('+'), -1),
                 QStringLiteral("LiberationSans"));
    const QFontMetricsF em = LiberationSansEm();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qreal points = i == 0 ? 20 : 14;
        const QString what = QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i].text());
        QVERIFY2(qAbs(lines[i].bottom - lines[i].top - em.height() / 1000 * points) < 0.2,
                 qPrintable(what));
        // One inch from the printable area's left, and the title one inch from its top.
        QVERIFY2(qAbs(lines[i].left.first() - (kMarginLeft + 72)) < 0.2, qPrintable(what));
        if (i == 0) {
            QVERIFY2(qAbs(lines[0].top - (kMarginTop + 72)) < 0.2, qPrintable(what));
            continue;
        }
        // A quarter inch below the bottom of the line above (its leading included).
        const qreal above = i == 1 ? 20 : 14;
        const qreal gap = lines[i].top - lines[i - 1].bottom;
        QVERIFY2(qAbs(gap - 18 - em.leading() / 1000 * above) < 0.2,
                 qPrintable(what + QStringLiteral(", gap %1").arg(gap)));
    }
}

void TestPrint::composesUnderTheHourglass()
{
    openWindow(QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql"));
    const QString pdf = m_folder->filePath(QStringLiteral("sheet.pdf"));
    QList<Qt::CursorShape> pointers;
    SetPrinterDialogHook([&](QWidget *) {
        auto printer = std::make_unique<WatchedPrinter>(&pointers);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        pointers.clear();
        return std::unique_ptr<QPrinter>(std::move(printer));
    });
    m_window->PrintMovie();
    QCOMPARE(m_messages, QStringList());
    QVERIFY(!pointers.isEmpty());
    QCOMPARE(pointers.last(), Qt::WaitCursor);
    QCOMPARE(readLines(pdf).size(), 15);
}

void TestPrint::failureTellsWhy_data()
{
    QTest::addColumn<QString>("outputFile"); // empty: the system's printer, of which there is none
    QTest::addColumn<QString>("message");
    QTest::newRow("no printer") << QString()
                                << "The movie could not be printed. No printer is installed.";
    QTest::newRow("unwritable file") << "missing/sheet.pdf"
                                     << "The movie could not be printed. The file %1 could not be "
                                        "written.";
}

void TestPrint::failureTellsWhy()
{
    QFETCH(QString, outputFile);
    QFETCH(QString, message);
    openWindow(QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql"));
    const QString path = outputFile.isEmpty() ? QString() : m_folder->filePath(outputFile);
    SetPrinterDialogHook([path](QWidget *) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!path.isEmpty())
            printer->setOutputFileName(path);
        return printer;
    });
    m_pointerNormalAtMessage = false;
    QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
    QCOMPARE(m_messages, QStringList{path.isEmpty() ? message : message.arg(path)});
    QCOMPARE(m_flags, QList<int>{64});
    QVERIFY(m_pointerNormalAtMessage);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPrint::cancelPrintsNothing()
{
    openWindow(QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql"));
    // The dialog is looked for until it shows, and closed with Cancel.
    bool dialogSeen = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        dialogSeen = true;
        for (auto *box : dialog->findChildren<QComboBox *>())
            QVERIFY(box->findText(QStringLiteral("File"), Qt::MatchContains) < 0);
        dialog->reject();
    });
    poll.start(10);
    QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
    QVERIFY(dialogSeen);
    QCOMPARE(m_messages, QStringList());
}

void TestPrint::printsThroughCups()
{
    if (::geteuid() != 0)
        QSKIP("A private CUPS server needs root: these tests do not run as root.");
    const QStringList sbin = {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
    if (QStandardPaths::findExecutable(QStringLiteral("cupsd"), sbin).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("lpadmin"), sbin).isEmpty())
        QSKIP("CUPS is not installed (cupsd and lpadmin are missing).");
    PrintServer server(m_cups.path());
    QVERIFY2(server.start(), qPrintable(server.log()));

    openWindow(QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql"));
    SetPrinterDialogHook([](QWidget *) { // OK on the test's queue, two copies
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(PrintServer::kQueue),
                                                  QPrinter::HighResolution);
        printer->setCopyCount(2);
        return printer;
    });
    QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
    QCOMPARE(m_messages, QStringList());
    QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(server.job()), qPrintable(server.log()), 20000);

    const QList<Line> lines = readLines(server.job());
    QCOMPARE(lines.size(), 15); // one sheet: the printer makes the copies
    QCOMPARE(lines.first().text(), QStringLiteral("Title: Amélie"));
    QCOMPARE(lines.last().text(), QStringLiteral("Director: Jean-Pierre Jeunet"));
    QFile copies(server.copies());
    QVERIFY(copies.open(QIODevice::ReadOnly));
    QCOMPARE(copies.readAll().trimmed(), QByteArray("2"));
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
