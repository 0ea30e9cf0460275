#include "AmcMovie.h"
#include "XmlInput.h"

#include <QRegularExpression>

const std::array<const char *, AmcMovie::FieldCount> kAmcFieldNames = {
    "Number",      "Checked",       "ColorTag",        "MediaLabel",     "MediaType",
    "Source",      "Date",          "Borrower",        "DateWatched",    "UserRating",
    "Rating",      "OriginalTitle", "TranslatedTitle", "FormattedTitle", "Director",
    "Producer",    "Writer",        "Composer",        "Actors",         "Country",
    "Year",        "Length",        "Category",        "Certification",  "URL",
    "Description", "Comments",      "FilePath",        "VideoFormat",    "VideoBitrate",
    "AudioFormat", "AudioBitrate",  "Resolution",      "Framerate",      "Languages",
    "Subtitles",   "Size",          "Disks",           "Picture",
};

namespace
{

// The actors as the program's scripts write them: "Name, Name" or a line each, a role in
// parentheses after a name ("Keanu Reeves (as Neo)").
QStringList actorNames(const QString &actors)
{
    QStringList names;
    QString name;
    int depth = 0;
    for (const QChar c : actors + u'\n') {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0 && (c == u',' || c == u'\n' || c == u'\r'))
            names << name.trimmed(), name.clear();
        else if (depth == 0)
            name += c;
    }
    names.removeAll(QString());
    return names;
}

// The program's fields that only it uses: nothing a person would miss.
bool internal(int field)
{
    return field == AmcMovie::Number || field == AmcMovie::Checked || field == AmcMovie::ColorTag ||
           field == AmcMovie::FormattedTitle || field == AmcMovie::Picture;
}

bool isMoney(const QString &name)
{
    static const QRegularExpression money(
        QStringLiteral("price|cost|paid|value|currency|prix|preis|precio|prezzo|kosten|wert|valor"),
        QRegularExpression::CaseInsensitiveOption);
    return money.match(name).hasMatch();
}

// The original title, else the translated one, else the one the program formats of both.
QString titleOf(const AmcMovie &movie)
{
    for (const AmcMovie::Field field : {AmcMovie::OriginalTitle, AmcMovie::TranslatedTitle})
        if (!movie.fields[field].trimmed().isEmpty())
            return movie.fields[field];
    return movie.fields[AmcMovie::FormattedTitle];
}

} // namespace

MovieRow AmcReaderBase::toRow(const AmcMovie &movie, const QString &where)
{
    using namespace MovieColumn;
    static const std::pair<AmcMovie::Field, int> direct[] = {
        {AmcMovie::Category, Category}, {AmcMovie::Certification, Rating},
        {AmcMovie::MediaType, Format},  {AmcMovie::Year, Copyright},
        {AmcMovie::Length, Minutes},    {AmcMovie::MediaLabel, TapePosition},
        {AmcMovie::Producer, Producer}, {AmcMovie::Director, Director},
        {AmcMovie::Comments, Comments},
    };
    const auto &f = movie.fields;
    ForeignMovie out;
    out.row.where = where;
    std::array<bool, AmcMovie::FieldCount> used{};
    for (const auto &[field, column] : direct)
        out.set(column, f[field]), used[field] = true;
    out.set(Title, titleOf(movie));
    if (f[AmcMovie::TranslatedTitle].trimmed() != out.row.values[Title].value_or(QString()))
        out.keep(QStringLiteral("Translated title"), f[AmcMovie::TranslatedTitle]);
    out.keep(QStringLiteral("Description"), f[AmcMovie::Description]);
    setStars(out, actorNames(f[AmcMovie::Actors]));
    used[AmcMovie::OriginalTitle] = used[AmcMovie::TranslatedTitle] = used[AmcMovie::Description] =
        used[AmcMovie::Actors] = true;
    for (int field = 0; field < AmcMovie::FieldCount; ++field)
        if (!used[field] && !internal(field) && !f[field].trimmed().isEmpty())
            markUnused(QLatin1String(kAmcFieldNames[field]));
    setCustom(out, movie.custom);
    return out.finished();
}

// A custom field named for money gives the Value; the others are reported unused.
void AmcReaderBase::setCustom(ForeignMovie &out, const QList<AmcMovie::Custom> &custom)
{
    for (const AmcMovie::Custom &field : custom) {
        if (field.value.trimmed().isEmpty())
            continue;
        if (isMoney(field.name) && !out.row.values[MovieColumn::Value])
            out.set(MovieColumn::Value, field.value);
        else
            markUnused(field.name);
    }
}
