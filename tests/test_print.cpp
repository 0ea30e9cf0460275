// Printing a movie: the sheet is printed to PDF files and read back with poppler's pdftotext
// (word boxes in points from the page's top left) and pdffonts.
#include "MovieSheet.h"
#include "TestSupport.h"

#include <QApplication>
#include <QPrinter>
#include <QRegularExpression>

namespace
{

constexpr qreal kMarginLeft = 18, kMarginTop = 30; // of the printable area, in points

struct Line {
    QStringList words;
    QList<qreal> left, right; // of each word
    qreal top = 0, bottom = 0;
};

QString run(const QString &program, const QStringList &arguments)
{
    const Run done = runProgram(program, arguments);
    if (done.code != 0)
        qWarning() << program << arguments << done.err;
    return done.out;
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

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

  private slots:
    // The print system is looked up once per process: pointed at a server that is not there,
    // it has no printer at all.
    void initTestCase() { qputenv("CUPS_SERVER", "/nonexistent/cups.sock"); }

    // The sheet printed and read back, or the message a failing printer gives.
    void prints_data()
    {
        addRows("print/sheets.tsv", {"rows", "printer", "newTitle", "sheet", "message"});
    }
    void prints()
    {
        QFETCH(QString, rows);
        QFETCH(QString, printer);
        QFETCH(QString, newTitle);
        QFETCH(QString, sheet);
        QFETCH(QString, message);
        REQUIRE_FILE(dataPath("print/TARSEL.INI"));
        MainWindowFixture f(QList<QVariantMap>(), readFile(dataPath("print/TARSEL.INI")), rows);
        QVERIFY(f.show());
        bool pointerNormalAtMessage = false;
        f.boxes.seen = [&] { pointerNormalAtMessage = !QApplication::overrideCursor(); };
        if (!newTitle.isEmpty()) {
            f.w().txtTitle()->selectAll();
            QTest::keyClicks(f.w().txtTitle(), newTitle);
        }
        const QString file = f.dir.filePath(printer.toInt() > 0 ? "sheet.pdf" : printer);
        SetPrinterDialogHook([&](QWidget *) { // OK in the dialog on this printer
            auto to = std::make_unique<QPrinter>(QPrinter::HighResolution);
            if (printer.toInt() > 0) {
                to->setOutputFormat(QPrinter::PdfFormat);
                to->setResolution(printer.toInt());
            }
            if (printer != QLatin1String("system"))
                to->setOutputFileName(file);
            to->setPageSize(QPageSize(QPageSize::A4));
            to->setPageMargins(QMarginsF(kMarginLeft, kMarginTop, kMarginLeft, kMarginTop),
                               QPageLayout::Point);
            return to;
        });
        QTest::mouseClick(f.w().cmdToolbar(4), Qt::LeftButton);
        SetPrinterDialogHook(nullptr);
        QVERIFY(!QApplication::overrideCursor()); // the pointer is normal again
        if (!message.isEmpty()) {
            QCOMPARE(f.boxes.shown, QStringList{"64|The movie could not be printed. " +
                                                message.replace("%1", file)});
            QVERIFY(pointerNormalAtMessage);
            return;
        }
        QCOMPARE(f.boxes.shown, QStringList());
        if (!newTitle.isEmpty()) // printing does not save the edit
            QCOMPARE(f.list().List(0), QStringLiteral("Amélie"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 20000);

        // One page of fifteen lines: the comments are left out.
        const QList<Line> lines = readLines(file);
        const QStringList sheetLines = sheet.split(u'|');
        QCOMPARE(lines.size(), sheetLines.size());
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
                QVERIFY2(sheetLines[0].startsWith(text) && line.words.size() > 9, qPrintable(text));
            else
                QCOMPARE(text, sheetLines[i]);
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
        const QString fonts = run("pdffonts", {file});
        QVERIFY2(fonts.count(u'\n') > 2 && fonts.count("LiberationSans ") == fonts.count(u'\n') - 2,
                 qPrintable(fonts));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
