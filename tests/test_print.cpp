// Printing a movie: the sheet is printed to PDF files, directly or through a private CUPS
// server when the tests run as root, and read back with poppler's pdftotext (word boxes in
// points from the page's top left) and pdffonts.
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
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>
#include <unistd.h>

namespace
{

constexpr qreal kMarginLeft = 18, kMarginTop = 30; // of the printable area, in points
const QString kTwoMovies = QStringLiteral(REELWARDEN_TEST_DATA "/print/two_movies.sql");
const char *const kQueue = "reelwarden-test";

struct Line {
    QStringList words;
    QList<qreal> left, right; // of each word
    qreal top = 0, bottom = 0;
};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        qWarning() << program << arguments << process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of every page grouped into lines by their top, in order.
QList<Line> readLines(const QString &pdf)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Line> lines;
    for (const auto &m : word.globalMatch(run("pdftotext", {"-bbox", pdf, "-"}))) {
        const qreal top = m.captured(2).toDouble();
        if (lines.isEmpty() || qAbs(lines.last().top - top) > 0.5)
            lines.append(Line{{}, {}, {}, top, m.captured(4).toDouble()});
        lines.last().words << m.captured(5).replace("&amp;", "&");
        lines.last().left << m.captured(1).toDouble();
        lines.last().right << m.captured(3).toDouble();
    }
    return lines;
}

// The line's words with as many blanks between them as fit each gap, a blank being `blank`
// wide; a gap of no whole number of blanks shows as "?".
QString spacedText(const Line &line, qreal blank)
{
    QString text = line.words.value(0);
    for (qsizetype i = 1; i < line.words.size(); ++i) {
        const qreal blanks = (line.left[i] - line.right[i - 1]) / blank;
        text += QString(qRound(blanks), u' ') + (qAbs(blanks - qRound(blanks)) < 0.4 ? "" : "?") +
                line.words[i];
    }
    return text;
}

// A printer that notes the pointer shown each time a painter takes it.
struct WatchedPrinter : QPrinter {
    inline static QList<Qt::CursorShape> pointers;
    WatchedPrinter() : QPrinter(QPrinter::HighResolution) {}
    QPaintEngine *paintEngine() const override
    {
        const QCursor *cursor = QApplication::overrideCursor();
        pointers << (cursor ? cursor->shape() : Qt::ArrowCursor);
        return QPrinter::paintEngine();
    }
};

// Starts a CUPS server of the test's own in `dir`, answering on dir/cups.sock, with one raw
// queue whose backend copies each job (Qt's PDF, untouched) to out/job.pdf and its number of
// copies to out/copies. It uses the system's filters and helpers; a backend only its owner may
// run runs as root, so it can write there.
bool startCups(const QDir &dir, QProcess &cupsd)
{
    for (const char *folder : {"etc/ppd", "spool/tmp", "state", "cache", "bin/backend", "out"})
        dir.mkpath(QLatin1String(folder));
    const auto entries =
        QDir("/usr/lib/cups").entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries)
        if (entry.fileName() != QLatin1String("backend"))
            QFile::link(entry.filePath(), dir.filePath("bin/" + entry.fileName()));
    const std::pair<const char *, const char *> files[] = {
        {"bin/backend/copyjob",
         "#!/bin/sh\n[ $# -eq 0 ] && exit 0  # asked for the devices it finds: none\n"
         "echo \"$4\" > '%1/out/copies'\n"
         "cat \"${6:--}\" > '%1/out/job.part' && mv '%1/out/job.part' '%1/out/job.pdf'\n"},
        {"cupsd.conf", "Listen %1/cups.sock\nLogLevel error\nBrowsing No\nWebInterface No\n"
                       "DefaultPolicy open\n<Policy open>\n<Limit All>\nOrder allow,deny\n"
                       "Allow all\n</Limit>\n</Policy>\n"},
        {"cups-files.conf",
         "ServerRoot %1/etc\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
         "StateDir %1/state\nCacheDir %1/cache\nDataDir /usr/share/cups\nErrorLog stderr\n"
         "AccessLog %1/access_log\nPageLog %1/page_log\nSystemGroup root\n"}};
    for (const auto &[name, text] : files) {
        QFile file(dir.filePath(QLatin1String(name)));
        const QByteArray content = QString::fromUtf8(text).arg(dir.path()).toUtf8();
        const QFile::Permissions exec = name[0] == 'b' ? QFile::ExeOwner : QFile::Permissions();
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
            !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | exec))
            return false;
    }
    cupsd.setProcessChannelMode(QProcess::ForwardedChannels); // its log shows any trouble
    cupsd.start("/usr/sbin/cupsd",
                {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
    for (int i = 0; i < 100 && !dir.exists("cups.sock"); ++i)
        QTest::qWait(50);
    run("lpadmin", {"-p", kQueue, "-E", "-v", "copyjob:/sheet"});
    return !QPrinterInfo::printerInfo(kQueue).isNull();
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmTarsel> m_window;
    QStringList m_messages; // as "flags|text"
    bool m_pointerNormalAtMessage = true;
    QTemporaryDir m_cups;    // the private print server's files
    QByteArray m_cupsServer; // the setting the tests found; null when there was none

    void openWindow(const QString &rowsFile)
    {
        m_folder = std::make_unique<QTemporaryDir>();
        const QString settings = m_folder->filePath("TARSEL.INI");
        QVERIFY(QFile::copy(REELWARDEN_TEST_DATA "/print/TARSEL.INI", settings));
        setIniPath(settings);
        QFile rows(rowsFile);
        QVERIFY(rowsFile.isEmpty() || rows.open(QIODevice::ReadOnly));
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(m_folder->filePath("movies.mdb")).constData(), &db);
        const QByteArray sql = kCatalogSchemaSql + (rows.isOpen() ? rows.readAll() : "");
        const int rc = sqlite3_exec(db, sql.constData(), {}, {}, {});
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
        m_window = std::make_unique<frmTarsel>(m_folder->path());
        m_window->Load();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

  private slots:
    void initTestCase()
    {
        SetUpFonts();
        // The print system is looked up once per process, so it is pointed at the private
        // server before anything prints; until that server runs there is no printer at all.
        QVERIFY(m_cups.isValid());
        m_cupsServer = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", QFile::encodeName(m_cups.filePath("cups.sock")));
        SetMsgBoxHook([this](const QString &text, int flags) {
            m_messages << QString::number(flags) + u'|' + text;
            m_pointerNormalAtMessage = QApplication::overrideCursor() == nullptr;
            return int(vbOK);
        });
    }
    void cleanupTestCase()
    {
        SetMsgBoxHook(nullptr);
        m_cupsServer.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", m_cupsServer);
    }
    void cleanup()
    {
        SetPrinterDialogHook(nullptr);
        m_window.reset();
        m_messages.clear();
        QVERIFY(QApplication::overrideCursor() == nullptr); // the pointer is normal again
    }

    // The sheet printed as a PDF file at so many dots per inch or through a CUPS queue, or the
    // message a failing printer gives.
    void prints_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("newTitle"); // typed over the title and not saved
        QTest::addColumn<QStringList>("sheet");
        QTest::addColumn<QString>("message");
        const QStringList amelie =
            QStringLiteral("Amélie|Comedy|R|DVD|$12.50|2001|2 hours  2 minutes|Like new|"
                           "Shelf 3, left|Audrey Tautou|Mathieu Kassovitz|Rufus|Lorella Cravotta|"
                           "Claudie Ossard|Jean-Pierre Jeunet")
                .split(u'|');
        const QStringList empty = {"", "", "", "", "", "", " hours   minutes"};
        const QStringList labels =
            QStringLiteral("Title:|Category:|Rating:|Format:|Value:|Copyright:|Length:|"
                           "Condition:|Tape Position:|Star One:|Star Two:|Star Three:|Star Four:|"
                           "Producer:|Director:")
                .split(u'|');
        // The sheet's lines: each label, two spaces, the field's text.
        auto row = [&](const char *name, const QString &rows, const char *printer,
                       const QString &newTitle = QString(), const char *message = "") {
            const QStringList values =
                rows.isEmpty()
                    ? empty
                    : QStringList{newTitle.isEmpty() ? amelie[0] : newTitle} + amelie.mid(1);
            QStringList sheet;
            for (qsizetype i = 0; i < labels.size(); ++i)
                sheet << labels[i] + QStringLiteral("  ") + values.value(i);
            QTest::newRow(name) << rows << QString(printer) << newTitle << sheet
                                << QString(message);
        };
        row("stored movie", kTwoMovies, "1200");
        row("unsaved edit", kTwoMovies, "1200", "Amelie Revised");
        row("title wider than the page", kTwoMovies, "300",
            "Once upon a time there was a title far too long for one line of the sheet which "
            "keeps going past the edge");
        row("empty catalog", "", "300");
        row("no printer installed", kTwoMovies, "system", {}, "No printer is installed.");
        row("unwritable file", kTwoMovies, "missing/sheet.pdf", {},
            "The file %1 could not be written.");
        // Two copies: the printer makes them from the one sheet it is sent.
        row("CUPS queue, two copies", kTwoMovies, "CUPS");
    }
    void prints()
    {
        QFETCH(QString, rows);
        QFETCH(QString, printer);
        QFETCH(QString, newTitle);
        QFETCH(QStringList, sheet);
        QFETCH(QString, message);
        const bool cups = printer == QLatin1String("CUPS"), pdf = printer.toInt() > 0;
        if (cups && (::geteuid() != 0 || !QFile::exists("/usr/sbin/cupsd")))
            QSKIP("A private CUPS server needs root and cupsd.");
        QProcess cupsd; // stopped when the test ends, however it ends
        const auto stop = qScopeGuard([&] {
            cupsd.terminate();
            cupsd.waitForFinished(5000);
        });
        QVERIFY(!cups || startCups(m_cups.path(), cupsd));
        openWindow(rows);
        if (!newTitle.isEmpty()) {
            m_window->txtTitle()->selectAll();
            QTest::keyClicks(m_window->txtTitle(), newTitle);
        }
        const QString file =
            cups ? m_cups.filePath("out/job.pdf") : m_folder->filePath(pdf ? "sheet.pdf" : printer);
        QFile::remove(file); // a job left by an earlier run
        m_pointerNormalAtMessage = false;
        SetPrinterDialogHook([&](QWidget *) { // OK in the dialog on this printer
            auto to = std::make_unique<WatchedPrinter>();
            if (cups) {
                to->setPrinterName(kQueue);
                to->setCopyCount(2);
            } else if (pdf) {
                to->setOutputFormat(QPrinter::PdfFormat);
                to->setResolution(printer.toInt());
            }
            if (printer != QLatin1String("system") && !cups)
                to->setOutputFileName(file);
            to->setPageSize(QPageSize(QPageSize::A4));
            to->setPageMargins(QMarginsF(kMarginLeft, kMarginTop, kMarginLeft, kMarginTop),
                               QPageLayout::Point);
            WatchedPrinter::pointers.clear();
            return std::unique_ptr<QPrinter>(std::move(to));
        });
        QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
        if (!message.isEmpty()) {
            QCOMPARE(m_messages, QStringList{"64|The movie could not be printed. " +
                                             message.replace("%1", file)});
            QVERIFY(m_pointerNormalAtMessage);
            return;
        }
        QCOMPARE(m_messages, QStringList());
        QVERIFY(!WatchedPrinter::pointers.isEmpty()); // composed under the hourglass
        QCOMPARE(WatchedPrinter::pointers.last(), Qt::WaitCursor);
        if (!newTitle.isEmpty()) // printing does not save the edit
            QCOMPARE(m_window->lstMovies()->List(0), QStringLiteral("Amélie"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 20000);
        if (cups)
            QCOMPARE(run("cat", {m_cups.filePath("out/copies")}).trimmed(), QStringLiteral("2"));

        // One page of fifteen lines: the comments are left out.
        const QList<Line> lines = readLines(file);
        QCOMPARE(lines.size(), sheet.size());
        QVERIFY(!run("pdftotext", {file, "-"}).contains(QRegularExpression("Watched|Bought")));
        QFont arial("Liberation Sans"); // what "Arial" prints as, measured in thousandths of an em
        arial.setPixelSize(1000);
        arial.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF em(arial);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const Line &line = lines[i];
            const qreal points = i == 0 ? 20 : 14;
            const QString text = spacedText(line, em.horizontalAdvance(u' ') / 1000 * points);
            if (i == 0 && newTitle.size() > 60) // the page's edge cuts the title: no wrapping
                QVERIFY2(sheet[0].startsWith(text) && line.words.size() > 9, qPrintable(text));
            else
                QCOMPARE(text, sheet[i].trimmed());
            // A word's box is its size's ascent plus descent. Each line starts one inch from the
            // printable area's left; the title one inch from its top, every other line a
            // quarter inch below the bottom of the line above (its leading included).
            const qreal top =
                i == 0 ? kMarginTop + 72
                       : lines[i - 1].bottom + 18 + em.leading() / 1000 * (i == 1 ? 20 : 14);
            QVERIFY2(qAbs(line.bottom - line.top - em.height() / 1000 * points) < 0.2 &&
                         qAbs(line.left.first() - (kMarginLeft + 72)) < 0.2 &&
                         qAbs(line.top - top) < 0.2,
                     qPrintable(QStringLiteral("%1: top %2").arg(text).arg(line.top)));
        }
        // Arial (Liberation Sans here), regular; a subset's name has a tag before "+".
        const QStringList fonts = run("pdffonts", {file}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QCOMPARE(font.section(u' ', 0, 0).section(u'+', -1), QStringLiteral("LiberationSans"));
    }

    // The real dialog, looked for until it shows and closed with Cancel.
    void cancelPrintsNothing()
    {
        openWindow(kTwoMovies);
        bool dialogSeen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            dialogSeen = true;
            for (auto *box : dialog->findChildren<QComboBox *>()) // no printing to a file
                QVERIFY(box->findText("File", Qt::MatchContains) < 0);
            dialog->reject();
        });
        poll.start(10);
        QTest::mouseClick(m_window->cmdToolbar(4), Qt::LeftButton);
        QVERIFY(dialogSeen);
        QCOMPARE(m_messages, QStringList());
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
