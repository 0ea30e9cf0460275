#include "CsvFormat.h"

#include "CsvEncoding.h"
#include "CsvParser.h"
#include "ForeignFile.h"
#include "MovieColumns.h"
#include "Windows1252.h"

#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <vector>

namespace
{

constexpr qint64 kChunkBytes = 1 << 20;
const QByteArray kByteOrderMark = "\xEF\xBB\xBF";

// The separator the header line uses most outside quotes: ",", ";" or a tab ("," on a tie).
char delimiterOf(QFile &file)
{
    const QByteArray start = file.peek(kChunkBytes);
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : start) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            commas += c == ',', semicolons += c == ';', tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    return tabs > commas ? '\t' : ',';
}

// The file as UTF-8 in a temporary file, for a UTF-16 one.
std::unique_ptr<QTemporaryFile> utf8Copy(QFile &file, CsvEncoding encoding, const QString &name)
{
    auto copy = std::make_unique<QTemporaryFile>();
    if (!copy->open())
        throw TransferError{QStringLiteral("%1 cannot be read: no room for a UTF-8 copy (%2).")
                                .arg(name, copy->errorString())};
    QStringDecoder decoder(encoding == CsvEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
    file.skip(2);
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty())
            break;
        const QByteArray text = QString(decoder(chunk)).toUtf8();
        if (copy->write(text) != text.size())
            throw TransferError{QStringLiteral("%1 cannot be read: no room for a UTF-8 copy (%2).")
                                    .arg(name, copy->errorString())};
    }
    if (decoder.hasError() || file.size() % 2 != 0)
        throw TransferError{QStringLiteral("%1 is not valid UTF-16 text.").arg(name)};
    copy->seek(0);
    return copy;
}

// A text a spreadsheet would run as a formula: "=", "+", "-", "@", a tab or a carriage return
// first, after any apostrophes (so "'=x" too keeps its own apostrophe through a round trip).
bool looksLikeFormula(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i < text.size() && QStringView(u"=+-@\t\r").contains(text[i]);
}

class CsvReader : public MovieReader
{
  public:
    CsvReader(const QString &path, const CsvOptions &options)
        : m_file(path), m_name(ForeignFileName(path))
    {
        OpenForeignFile(m_file);
        m_encoding = DetectCsvEncoding(m_file, m_name);
        QFile *input = &m_file;
        if (m_encoding == CsvEncoding::Utf16LE || m_encoding == CsvEncoding::Utf16BE) {
            m_copy = utf8Copy(m_file, m_encoding, m_name);
            input = m_copy.get();
        }
        if (input->peek(kByteOrderMark.size()) == kByteOrderMark)
            input->skip(kByteOrderMark.size());
        m_delimiter = delimiterOf(*input);
        m_parser = std::make_unique<CsvParser>(*input, m_name, m_delimiter);
        readHeader(options);
    }

    std::optional<MovieRow> next() override
    {
        for (;;) {
            std::optional<Record> record = nextRecord();
            if (!record)
                return std::nullopt;
            std::optional<MovieRow> movie = toMovie(*record);
            if (movie)
                return movie;
        }
    }

    QStringList unusedColumns() const override { return m_columns->unused(); }
    QStringList notes() const override
    {
        static const QHash<char, QString> separators{{',', QStringLiteral("commas")},
                                                     {';', QStringLiteral("semicolons")},
                                                     {'\t', QStringLiteral("tabs")}};
        QStringList notes{QStringLiteral("Read as %1 text, the values separated by %2.")
                              .arg(CsvEncodingName(m_encoding), separators.value(m_delimiter))};
        if (m_columns->kind() != CsvKind::Spreadsheet)
            notes << QStringLiteral("Read as %1's export: its ratings, links and dates are kept in "
                                    "Comments.")
                         .arg(m_columns->kind() == CsvKind::Imdb ? QStringLiteral("IMDb")
                                                                 : QStringLiteral("Letterboxd"));
        if (m_notFilms > 0)
            notes << QStringLiteral("Left out %1 that %2 not a film (%3).")
                         .arg(counted(m_notFilms, "row"),
                              m_notFilms == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                              m_notFilmTypes.join(QStringLiteral(", ")));
        return notes;
    }
    qint64 bytesRead() const override { return m_parser->position(); }
    qint64 bytesTotal() const override { return m_file.size(); }
    DecimalMark decimalMark() const override
    {
        return m_delimiter == ';'   ? DecimalMark::Comma
               : m_delimiter == ',' ? DecimalMark::Point
                                    : DecimalMark::Unknown;
    }

  private:
    static QString counted(int count, const char *noun)
    {
        return QStringLiteral("%1 %2%3")
            .arg(count)
            .arg(QLatin1String(noun))
            .arg(count == 1 ? "" : "s");
    }

    std::optional<Record> nextRecord()
    {
        if (m_firstRow)
            return std::exchange(m_firstRow, std::nullopt);
        std::optional<Record> record;
        do
            record = m_parser->next();
        while (record && record->cells.size() == 1 && record->cells[0].bytes.isEmpty() &&
               !record->cells[0].quoted);
        return record;
    }

    std::optional<MovieRow> toMovie(const Record &record)
    {
        const std::vector<CsvColumn> &columns = m_columns->columns();
        if (record.cells.size() != columns.size())
            throw TransferError{QStringLiteral("%1, line %2: the row has %3 values, but the "
                                               "header names %4 columns.")
                                    .arg(m_name)
                                    .arg(record.line)
                                    .arg(record.cells.size())
                                    .arg(columns.size())};
        MovieRow movie;
        movie.where = QStringLiteral("line %1").arg(record.line);
        QStringList notes;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Cell &cell = record.cells[i];
            if (!cell.quoted && cell.bytes.isEmpty())
                continue;
            const CsvColumn &column = columns[i];
            const QString value = text(cell.bytes);
            if (column.kind == CsvColumn::TitleType && !IsFilmTitleType(value)) {
                skipNotFilm(value);
                return std::nullopt;
            }
            if (column.kind == CsvColumn::Note && !value.trimmed().isEmpty())
                notes << column.label + QStringLiteral(": ") + value;
            if (column.kind == CsvColumn::Movie)
                movie.values[std::size_t(column.column)] = cellValue(column, value);
        }
        addNotes(movie, notes);
        constexpr std::size_t hours = 6;
        static_assert(kMovieColumns[hours].kind == ColumnKind::Integer);
        if (m_hasHours && !movie.values[hours])
            movie.values[hours] = QString(); // hours apart, none here: Minutes is not a length
        return movie;
    }

    static QString cellValue(const CsvColumn &column, const QString &value)
    {
        if (kMovieColumns[std::size_t(column.column)].kind != ColumnKind::Text)
            return value;
        if (column.firstOfList)
            return value.section(u',', 0, 0).trimmed();
        return looksLikeFormula(value) && value.startsWith(u'\'') ? value.mid(1) : value;
    }

    static void addNotes(MovieRow &movie, const QStringList &notes)
    {
        if (notes.isEmpty())
            return;
        std::optional<QString> &comments = movie.values[std::size_t(movieColumnIndex("Comments"))];
        const QString before = comments.value_or(QString());
        comments =
            before + (before.isEmpty() || before.endsWith(u'\n') ? "" : "\n") + notes.join(u'\n');
    }

    void skipNotFilm(const QString &type)
    {
        ++m_notFilms;
        if (!m_notFilmTypes.contains(type) && m_notFilmTypes.size() < 10)
            m_notFilmTypes << type;
    }

    QString text(const QByteArray &bytes) const
    {
        return m_encoding == CsvEncoding::Windows1252 ? Windows1252::decode(bytes)
                                                      : QString::fromUtf8(bytes);
    }

    void readHeader(const CsvOptions &options)
    {
        std::optional<Record> first = m_parser->next();
        if (!first || (first->cells.size() == 1 && first->cells[0].bytes.isEmpty()))
            throw TransferError{QStringLiteral("%1 is empty: it holds no header row naming the "
                                               "columns.")
                                    .arg(m_name)};
        QStringList names = options.columns;
        if (names.isEmpty()) {
            for (const Cell &cell : first->cells)
                names << text(cell.bytes).trimmed();
        } else {
            m_firstRow = std::move(first);
        }
        m_columns = std::make_unique<CsvColumns>(names, options.map);
        m_hasHours = m_columns->has(movieColumnIndex("Hours"));
        checkColumns(!options.columns.isEmpty());
        m_parser->limitCells(names.size());
    }

    void checkColumns(bool named)
    {
        const QString accepted = CsvColumns::acceptedNames();
        if (!m_columns->anyMatched() && !named)
            throw TransferError{
                QStringLiteral("%1: its first row names no column of the catalog. If it is a "
                               "header, --map \"Their Name=Title\" names one; if the file has "
                               "no header row, --columns \"Title,Copyright,...\" names its "
                               "columns in order. Column names: %2.")
                    .arg(m_name, accepted)};
        if (!m_columns->clash().isEmpty())
            throw TransferError{QStringLiteral("%1: the columns %2 and %3 both go into %4.")
                                    .arg(m_name, m_columns->clash()[0], m_columns->clash()[1],
                                         m_columns->clash()[2])};
        if (!m_columns->hasTitle())
            throw TransferError{
                QStringLiteral("%1 has no Title column: %2 names none of the "
                               "catalog's columns as Title (--map \"Their "
                               "Name=Title\" names one). Column names: %3.")
                    .arg(m_name,
                         named ? QStringLiteral("--columns") : QStringLiteral("its header row"),
                         accepted)};
    }

    QFile m_file;
    const QString m_name;
    CsvEncoding m_encoding = CsvEncoding::Utf8;
    std::unique_ptr<QTemporaryFile> m_copy; // the UTF-8 text of a UTF-16 file
    char m_delimiter = ',';
    std::unique_ptr<CsvParser> m_parser;
    std::unique_ptr<CsvColumns> m_columns;
    std::optional<Record> m_firstRow; // a first row that is a movie (--columns)
    bool m_hasHours = false;          // the file has hours apart from minutes
    int m_notFilms = 0;
    QStringList m_notFilmTypes;
};

QByteArray cellText(const std::optional<QString> &value, bool text)
{
    if (!value)
        return {};
    QByteArray bytes = value->toUtf8();
    if (text && looksLikeFormula(*value))
        bytes.prepend('\'');
    static const QByteArrayView needsQuotes = ",\"\r\n";
    bool quote = bytes.isEmpty();
    for (char c : needsQuotes)
        quote = quote || bytes.contains(c);
    if (!quote)
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

class CsvWriter : public MovieWriter
{
  public:
    explicit CsvWriter(const QString &path) : m_file(path), m_name(ForeignFileName(path))
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
        QByteArray header = kByteOrderMark;
        for (std::size_t i = 0; i < kMovieColumns.size(); ++i)
            header += (i ? "," : "") + QByteArray(kMovieColumns[i].name);
        put(header + "\r\n");
    }

    void write(const MovieRow &movie) override
    {
        QByteArray line;
        for (std::size_t i = 0; i < movie.values.size(); ++i)
            line += (i ? "," : "") +
                    cellText(movie.values[i], kMovieColumns[i].kind == ColumnKind::Text);
        put(line + "\r\n");
    }

    void finish() override
    {
        if (!m_file.commit())
            fail();
    }

  private:
    void put(const QByteArray &bytes)
    {
        if (m_file.write(bytes) != bytes.size())
            fail();
    }

    [[noreturn]] void fail()
    {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        throw TransferError{QStringLiteral("%1 cannot be written: %2.").arg(m_name, reason)};
    }

    QSaveFile m_file;
    const QString m_name;
};

} // namespace

std::unique_ptr<MovieReader> OpenCsvReader(const QString &path, const CsvOptions &options)
{
    return std::make_unique<CsvReader>(path, options);
}

std::unique_ptr<MovieWriter> OpenCsvWriter(const QString &path)
{
    return std::make_unique<CsvWriter>(path);
}
