#include "HtmlFormat.h"
#include "XmlInput.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace
{

const char kHead[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'">
<title>Movies</title>
<style>
body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 10pt; margin: 1em; color: #000; }
table { border-collapse: collapse; width: 100%; }
th, td { border-bottom: 1px solid #bbb; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
th { background: #e8e8e8; }
td.number { text-align: right; white-space: nowrap; }
tbody tr:nth-child(even) { background: #f6f6f6; }
@media print {
  body { margin: 0; font-size: 8pt; }
  thead { display: table-header-group; }
  tr { page-break-inside: avoid; break-inside: avoid; }
  th { background: none; border-bottom: 2px solid #000; }
  tbody tr:nth-child(even) { background: none; }
}
</style>
</head>
<body>
<h1>Movies</h1>
<table>
<thead><tr><th>Title</th><th>Year</th><th>Format</th><th>Length</th><th>Category</th><th>Rating</th><th>Value</th><th>Director</th><th>Stars</th></tr></thead>
<tbody>
)";

// Escaped for HTML text; characters that have no business in a page (C0 controls but tab and
// line feed) show as the replacement character.
QString escaped(const std::optional<QString> &value)
{
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x08\\x0B-\\x1F\\x7F]"));
    QString text = value.value_or(QString()).toHtmlEscaped();
    return text.replace(controls, QStringLiteral("\uFFFD"));
}

// An amount as the catalog shows it, $1,234.50; text that is no plain amount as it is.
QString money(const std::optional<QString> &value)
{
    static const QRegularExpression plain(QStringLiteral("^(\\d+)(?:\\.(\\d*))?$"));
    const auto match = plain.match(value.value_or(QString()));
    if (!match.hasMatch())
        return escaped(value);
    QString whole = match.captured(1);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u',');
    return u'$' + whole + u'.' + (match.captured(2) + QStringLiteral("00")).left(2);
}

QString length(const MovieRow &movie)
{
    const auto &hours = movie.values[MovieColumn::Hours];
    const auto &minutes = movie.values[MovieColumn::Minutes];
    QStringList parts;
    if (hours && !hours->isEmpty())
        parts << escaped(hours) + QStringLiteral("&nbsp;h");
    if (minutes && !minutes->isEmpty())
        parts << escaped(minutes) + QStringLiteral("&nbsp;min");
    return parts.join(u' ');
}

QString stars(const MovieRow &movie)
{
    QStringList names;
    for (int star = MovieColumn::StarOne; star <= MovieColumn::StarFour; ++star)
        if (movie.values[star] && !movie.values[star]->isEmpty())
            names << escaped(movie.values[star]);
    return names.join(QStringLiteral(", "));
}

class HtmlWriter : public MovieWriter
{
  public:
    explicit HtmlWriter(const QString &path) : m_path(path), m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
        put(kHead);
    }

    void write(const MovieRow &movie) override
    {
        using namespace MovieColumn;
        const QString cells[] = {escaped(movie.values[Title]),
                                 escaped(movie.values[Copyright]),
                                 escaped(movie.values[Format]),
                                 length(movie),
                                 escaped(movie.values[Category]),
                                 escaped(movie.values[Rating]),
                                 money(movie.values[Value]),
                                 escaped(movie.values[Director]),
                                 stars(movie)};
        QString line = QStringLiteral("<tr>");
        for (int i = 0; i < 9; ++i)
            line += (i == 1 || i == 3 || i == 6 ? QStringLiteral("<td class=\"number\">")
                                                : QStringLiteral("<td>")) +
                    cells[i] + QStringLiteral("</td>");
        put(line + QStringLiteral("</tr>\n"));
        ++m_count;
    }

    void finish() override
    {
        put(QStringLiteral("</tbody>\n</table>\n<p>%1 movies</p>\n</body>\n</html>\n")
                .arg(m_count));
        if (!m_file.commit())
            fail();
    }

  private:
    void put(const QString &text)
    {
        const QByteArray bytes = text.toUtf8();
        if (m_file.write(bytes) != bytes.size())
            fail();
    }
    [[noreturn]] void fail() const
    {
        throw TransferError{
            QStringLiteral("The file %1 cannot be written: %2.").arg(m_path, m_file.errorString())};
    }

    QString m_path;
    QSaveFile m_file;
    int m_count = 0;
};

} // namespace

std::unique_ptr<MovieWriter> OpenHtmlWriter(const QString &path)
{
    return std::make_unique<HtmlWriter>(path);
}
