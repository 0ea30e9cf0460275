#include "AmcBinaryReader.h"
#include "Windows1252.h"

#include <QDate>
#include <QRegularExpression>

namespace
{

constexpr qint64 kHeaderSize = 65;
constexpr int kVersions[] = {31, 33, 35, 40, 41, 42};
// The fewest bytes a custom field's definition and an extra can take: empty texts, no list.
constexpr qint64 kSmallestDefinition = 4 * 5 + 1 + 1;
constexpr qint64 kSmallestExtra = 1 + 4 * 8 + 4;
// The most text one movie may bring, custom fields and extras included: far beyond any real
// movie, and it keeps a damaged file from filling the memory with one movie.
constexpr qint64 kMaxMovieText = 16 * kMaxValueLength;

// A number the program writes -1 (or 0) for when there is none.
QString numberText(qint32 value, bool zeroIsNone = true)
{
    return value < 0 || (zeroIsNone && value == 0) ? QString() : QString::number(value);
}

// Days since 30 December 1899, as the program keeps dates.
QString dateText(qint32 days)
{
    return days <= 0 ? QString() : QDate(1899, 12, 30).addDays(days).toString(Qt::ISODate);
}

// A rating kept as tenths: "8", "7.5".
QString ratingText(qint32 tenths)
{
    return tenths < 0 ? QString() : QString::number(tenths / 10.0);
}

} // namespace

AmcBinaryReader::AmcBinaryReader(const QString &path, std::unique_ptr<QFile> file)
    : m_path(path), m_file(std::move(file)), m_input(path, *m_file)
{
    readHeader();
    text("the owner's name");
    text("the owner's e-mail");
    if (m_version < 35)
        text("the owner's ICQ number");
    text("the owner's web site");
    text("the catalog's description");
    if (m_version >= 40)
        readCustomFieldDefinitions();
}

void AmcBinaryReader::readHeader()
{
    static const QRegularExpression signature(QStringLiteral("^ AMC_(\\d)\\.(\\d) "));
    const QByteArray header = m_file->size() >= kHeaderSize ? m_input.raw(kHeaderSize, "the header")
                                                            : m_file->read(kHeaderSize);
    const auto match = signature.match(QString::fromLatin1(header));
    if (!match.hasMatch())
        throw TransferError{
            QStringLiteral("The file %1 is not an Ant Movie Catalog catalog.").arg(m_path)};
    m_version = match.captured(1).toInt() * 10 + match.captured(2).toInt();
    if (std::find(std::begin(kVersions), std::end(kVersions), m_version) == std::end(kVersions))
        throw TransferError{QStringLiteral("The file %1 is an Ant Movie Catalog catalog of version "
                                           "%2.%3, which cannot be read (versions 3.1 to 4.2 can).")
                                .arg(m_path, match.captured(1), match.captured(2))};
    if (header.size() < kHeaderSize)
        m_input.damaged(header.size(),
                        QStringLiteral("the file ends in the middle of the header."));
}

QString AmcBinaryReader::text(const char *what)
{
    const qint64 at = m_input.offset();
    const QByteArray bytes = m_input.string(what, kMaxValueLength);
    m_movieText += bytes.size();
    if (m_movieText > kMaxMovieText)
        m_input.damaged(at,
                        QStringLiteral("a movie holds more than %1 bytes of text (the movie size "
                                       "limit).")
                            .arg(kMaxMovieText));
    return Windows1252::decode(bytes);
}

void AmcBinaryReader::readCustomFieldDefinitions()
{
    text("the column settings");
    text("the window settings");
    const qint32 fields = m_input.count("custom fields", kSmallestDefinition);
    for (qint32 i = 0; i < fields; ++i) {
        const QString tag = text("a custom field's tag");
        const QString name = text("a custom field's name");
        if (m_version >= 41)
            text("a custom field's extension");
        const QString type = text("a custom field's type");
        text("a custom field's default value");
        if (m_version >= 41)
            text("a custom field's media information");
        m_input.boolean("a custom field's definition");
        if (m_version >= 41)
            m_input.int32("a custom field's definition"),
                m_input.skip(2, "a custom field's definition");
        m_input.boolean("a custom field's definition");
        text("a custom field's window settings");
        if (type == u"ftList") {
            const qint32 values = m_input.count("list values", 4);
            for (qint32 v = 0; v < values; ++v)
                text("a custom field's list value");
            if (m_version >= 41)
                m_input.skip(4, "a custom field's definition");
        }
        m_customNames << (name.trimmed().isEmpty() ? tag : name);
    }
}

std::optional<MovieRow> AmcBinaryReader::next()
{
    if (m_input.atEnd())
        return std::nullopt;
    const AmcMovie movie = readMovie();
    return toRow(movie, QStringLiteral("entry %1").arg(++m_movies));
}

AmcMovie AmcBinaryReader::readMovie()
{
    m_movieText = 0;
    AmcMovie movie;
    readNumbers(movie);
    readTexts(movie);
    skipPicture();
    for (const QString &name : std::as_const(m_customNames))
        movie.custom << AmcMovie::Custom{name, text("a custom field's value")};
    if (m_version >= 42)
        skipExtras();
    return movie;
}

void AmcBinaryReader::readNumbers(AmcMovie &movie)
{
    auto &f = movie.fields;
    const char *what = "a movie's numbers";
    f[AmcMovie::Number] = numberText(m_input.int32(what));
    f[AmcMovie::Date] = dateText(m_input.int32(what));
    if (m_version >= 42) {
        f[AmcMovie::DateWatched] = dateText(m_input.int32(what));
        f[AmcMovie::UserRating] = ratingText(m_input.int32(what));
    }
    const qint32 rating = m_input.int32(what);
    f[AmcMovie::Rating] = ratingText(m_version < 35 && rating > 0 ? rating * 10 : rating);
    f[AmcMovie::Year] = numberText(m_input.int32(what));
    f[AmcMovie::Length] = numberText(m_input.int32(what));
    f[AmcMovie::VideoBitrate] = numberText(m_input.int32(what));
    f[AmcMovie::AudioBitrate] = numberText(m_input.int32(what));
    f[AmcMovie::Disks] = numberText(m_input.int32(what));
    if (m_version >= 41)
        m_input.int32(what); // colour tag
    m_input.boolean(what);   // checked
}

void AmcBinaryReader::readTexts(AmcMovie &movie)
{
    using F = AmcMovie::Field;
    static const F before[] = {F::MediaLabel,    F::MediaType,       F::Source,      F::Borrower,
                               F::OriginalTitle, F::TranslatedTitle, F::Director,    F::Producer,
                               F::Writer,        F::Composer,        F::Country,     F::Category,
                               F::Certification, F::Actors,          F::URL,         F::Description,
                               F::Comments,      F::FilePath,        F::VideoFormat, F::AudioFormat,
                               F::Resolution,    F::Framerate,       F::Languages,   F::Subtitles,
                               F::Size,          F::Picture};
    for (const F field : before) {
        const bool from33 = field == F::MediaType || field == F::Source;
        const bool from42 = field == F::Writer || field == F::Composer ||
                            field == F::Certification || field == F::FilePath;
        if ((from33 && m_version < 33) || (from42 && m_version < 42))
            continue;
        movie.fields[field] = text(kAmcFieldNames[field]);
    }
}

void AmcBinaryReader::skipPicture()
{
    const qint64 at = m_input.offset();
    const qint32 size = m_input.int32("a picture's size");
    if (size < 0 || size > m_input.left())
        m_input.damaged(
            at, QStringLiteral("a picture is %1 bytes long, past the end of the file.").arg(size));
    m_input.skip(size, "a picture");
}

void AmcBinaryReader::skipExtras()
{
    const qint32 extras = m_input.count("extras", kSmallestExtra);
    for (qint32 i = 0; i < extras; ++i) {
        m_input.boolean("an extra");
        for (int t = 0; t < 8;
             ++t) // tag, title, category, URL, description, comments, author, picture
            text("an extra's text");
        skipPicture();
    }
}
