#include "CsvColumns.h"

#include "MovieColumns.h"

#include <QRegularExpression>

namespace
{

// A name as compared: lower case, without blanks and the marks people put in names.
QString folded(const QString &name)
{
    static const QRegularExpression marks(QStringLiteral("[\\s_\\-#.:()/]"));
    return name.toLower().remove(marks);
}

// Names other programs and people give the catalog's columns, folded, and the column.
const QHash<QString, QString> &otherNames()
{
    static const QHash<QString, QString> names{
        {"name", "Title"},
        {"movie", "Title"},
        {"film", "Title"},
        {"movietitle", "Title"},
        {"filmtitle", "Title"},
        {"genre", "Category"},
        {"genres", "Category"},
        {"certification", "Rating"},
        {"certificate", "Rating"},
        {"agerating", "Rating"},
        {"mpaarating", "Rating"},
        {"contentrating", "Rating"},
        {"medium", "Format"},
        {"media", "Format"},
        {"mediatype", "Format"},
        {"price", "Value"},
        {"purchaseprice", "Value"},
        {"cost", "Value"},
        {"year", "Copyright"},
        {"releaseyear", "Copyright"},
        {"productionyear", "Copyright"},
        {"length", "Minutes"},
        {"runtime", "Minutes"},
        {"runtimemins", "Minutes"},
        {"runtimeminutes", "Minutes"},
        {"runningtime", "Minutes"},
        {"duration", "Minutes"},
        {"location", "TapePosition"},
        {"actor1", "StarOne"},
        {"actor2", "StarTwo"},
        {"actor3", "StarThree"},
        {"actor4", "StarFour"},
        {"producers", "Producer"},
        {"directors", "Director"},
        {"comment", "Comments"},
        {"notes", "Comments"},
        {"note", "Comments"},
        {"remarks", "Comments"},
        // as German and French spreadsheets name them
        {"titel", "Title"},
        {"titre", "Title"},
        {"kategorie", "Category"},
        {"jahr", "Copyright"},
        {"année", "Copyright"},
        {"annee", "Copyright"},
        {"preis", "Value"},
        {"wert", "Value"},
        {"prix", "Value"},
        {"länge", "Minutes"},
        {"laufzeit", "Minutes"},
        {"dauer", "Minutes"},
        {"durée", "Minutes"},
        {"duree", "Minutes"},
        {"regisseur", "Director"},
        {"regie", "Director"},
        {"réalisateur", "Director"},
        {"realisateur", "Director"},
        {"produzent", "Producer"},
        {"producteur", "Producer"},
        {"zustand", "Condition"},
        {"état", "Condition"},
        {"bemerkungen", "Comments"},
        {"kommentar", "Comments"},
        {"commentaires", "Comments"},
        {"altersfreigabe", "Rating"},
        {"fsk", "Rating"},
    };
    return names;
}

// A film site's own columns: where each goes, by its folded name.
struct SiteColumn {
    const char *name;
    CsvColumn column;
};

std::vector<SiteColumn> siteColumns(CsvKind kind)
{
    using Kind = CsvColumn::Kind;
    if (kind == CsvKind::Imdb)
        return {{"title", {Kind::Movie, MovieColumn::Title, {}, false}},
                {"year", {Kind::Movie, MovieColumn::Copyright, {}, false}},
                {"runtimemins", {Kind::Movie, MovieColumn::Minutes, {}, false}},
                {"genres", {Kind::Movie, MovieColumn::Category, {}, true}},
                {"directors", {Kind::Movie, MovieColumn::Director, {}, false}},
                {"titletype", {Kind::TitleType, -1, {}, false}},
                {"description", {Kind::Note, -1, "Description", false}},
                {"yourrating", {Kind::Note, -1, "Your rating", false}},
                {"daterated", {Kind::Note, -1, "Date rated", false}},
                {"imdbrating", {Kind::Note, -1, "IMDb rating", false}},
                {"url", {Kind::Note, -1, "IMDb", false}}};
    return {{"name", {Kind::Movie, MovieColumn::Title, {}, false}},
            {"year", {Kind::Movie, MovieColumn::Copyright, {}, false}},
            {"letterboxduri", {Kind::Note, -1, "Letterboxd", false}},
            {"rating", {Kind::Note, -1, "Letterboxd rating", false}},
            {"watcheddate", {Kind::Note, -1, "Watched", false}},
            {"rewatch", {Kind::Note, -1, "Rewatch", false}},
            {"tags", {Kind::Note, -1, "Tags", false}},
            {"review", {Kind::Note, -1, "Review", false}}};
}

CsvKind kindOf(const QStringList &foldedHeader)
{
    if (foldedHeader.contains(u"const") && foldedHeader.contains(u"titletype"))
        return CsvKind::Imdb;
    if (foldedHeader.contains(u"letterboxduri"))
        return CsvKind::Letterboxd;
    return CsvKind::Spreadsheet;
}

// The column whose window label, folded, is `key` ("star1" for "Star #1"), or -1.
int labelledColumn(const QString &key)
{
    for (std::size_t i = 0; i < kMovieColumns.size(); ++i) {
        if (folded(QLatin1String(kMovieColumns[i].label)) == key)
            return int(i);
    }
    return -1;
}

} // namespace

int CsvColumns::catalogColumn(const QString &name)
{
    const QString key = folded(name);
    for (const int column : {movieColumnIndex(key), labelledColumn(key)}) {
        if (column >= 0)
            return column;
    }
    return movieColumnIndex(otherNames().value(key));
}

QString CsvColumns::acceptedNames()
{
    QStringList names;
    for (const MovieColumnInfo &column : kMovieColumns)
        names << QLatin1String(column.name);
    return names.join(QStringLiteral(", ")) +
           QStringLiteral(" (or the window's labels, such as Star #1, Tape Position and Length; "
                          "or Name, Year, Genre, Director, Medium, Certification, "
                          "Runtime (mins), Price, Notes)");
}

CsvColumns::CsvColumns(const QStringList &header, const ColumnMap &map) : m_header(header)
{
    QStringList foldedHeader;
    for (const QString &name : header)
        foldedHeader << folded(name);
    m_kind = kindOf(foldedHeader);
    const std::vector<SiteColumn> site =
        m_kind == CsvKind::Spreadsheet ? std::vector<SiteColumn>() : siteColumns(m_kind);
    QHash<int, QString> taken;
    for (qsizetype i = 0; i < header.size(); ++i) {
        CsvColumn column;
        const QString name = header[i].trimmed();
        const auto own = std::find_if(site.begin(), site.end(), [&](const SiteColumn &known) {
            return foldedHeader[i] == QLatin1String(known.name);
        });
        if (own != site.end())
            column = own->column; // a site's own column goes where it belongs, --map or not
        else
            column.column = catalogColumn(map.value(name.toLower(), name));
        if (column.column >= 0)
            column.kind = CsvColumn::Movie;
        if (column.kind == CsvColumn::Movie && taken.contains(column.column) && m_clash.isEmpty())
            m_clash = {taken[column.column], name,
                       QLatin1String(kMovieColumns[std::size_t(column.column)].name)};
        if (column.kind == CsvColumn::Movie)
            taken.insert(column.column, name);
        m_columns.push_back(column);
    }
}

QStringList CsvColumns::unused() const
{
    QStringList names;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].kind == CsvColumn::Unused)
            names << m_header[qsizetype(i)].trimmed();
    }
    return names;
}

bool CsvColumns::anyMatched() const
{
    return unused().size() < m_header.size();
}

bool CsvColumns::has(int catalogColumn) const
{
    return std::any_of(m_columns.begin(), m_columns.end(), [&](const CsvColumn &column) {
        return column.kind == CsvColumn::Movie && column.column == catalogColumn;
    });
}

bool IsFilmTitleType(const QString &type)
{
    // IMDb writes the types in the user's language too: "Serie TV", "Série", "Episodio".
    static const QRegularExpression notFilm(
        QStringLiteral("s[eé]rie|[eé]pisod|game|jeu|spiel|podcast"),
        QRegularExpression::CaseInsensitiveOption);
    return !notFilm.match(type).hasMatch();
}
