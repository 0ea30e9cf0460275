#include "CastLeftOut.h"
#include "TellicoFormat.h"
#include "TellicoText.h"
#include "XmlInput.h"
#include "ZipArchive.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace
{

// Tellico's fields that hold one catalog column, by element name: a field of several values
// is wrapped in the plural ("genres" around "genre"), an older file may not wrap it.
const QHash<QString, int> &columnsByElement()
{
    using namespace MovieColumn;
    static const QHash<QString, int> columns{
        {"title", Title},           {"genre", Category},     {"genres", Category},
        {"certification", Rating},  {"medium", Format},      {"pur_price", Value},
        {"year", Copyright},        {"years", Copyright},    {"condition", Condition},
        {"location", TapePosition}, {"producer", Producer},  {"producers", Producer},
        {"director", Director},     {"directors", Director}, {"comments", Comments},
        {"hours", Hours},           {"minutes", Minutes}};
    return columns;
}

// The column of a field element: its own name, or the singular of a plural wrapper that Tellico
// writes around a field of several values ("conditions" around "condition").
int columnOf(const QString &name)
{
    const auto column = columnsByElement().constFind(name);
    if (column != columnsByElement().cend())
        return *column;
    if (name.endsWith(u's') && name != u"casts")
        return columnsByElement().value(name.chopped(1), -1);
    return -1;
}

class TellicoReader : public MovieReader
{
  public:
    explicit TellicoReader(const QString &path);
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_unused.list(); }
    QStringList notes() const override;
    qint64 bytesRead() const override { return m_zip ? m_zip->position() : m_file->pos(); }
    qint64 bytesTotal() const override { return m_zip ? m_zip->size() : m_file->size(); }

  private:
    void openCollection();
    MovieRow readEntry();
    void readField(MovieRow &row, std::optional<QString> &runningTime);
    void readCast(MovieRow &row);
    void setJoined(MovieRow &row, int column, const QStringList &values);

    std::unique_ptr<QFile> m_file;
    std::unique_ptr<ZipMemberDevice> m_zip;
    std::unique_ptr<XmlInput> m_xml;
    bool m_done = false;
    int m_entries = 0;
    UnusedNames m_unused;
    QMap<int, int> m_joined; // column: movies whose several values were joined
    CastLeftOut m_cast;
};

TellicoReader::TellicoReader(const QString &path) : m_file(openInputFile(path))
{
    if (looksLikeZip(*m_file))
        m_zip = std::make_unique<ZipMemberDevice>(path, "tellico.xml");
    m_xml = std::make_unique<XmlInput>(path, m_zip ? static_cast<QIODevice *>(m_zip.get())
                                                   : m_file.get());
    openCollection();
}

void TellicoReader::openCollection()
{
    XmlInput &xml = *m_xml;
    if (!xml.nextChild() || xml.name() != u"tellico")
        xml.fail(QStringLiteral("is not a Tellico file."));
    if (!xml.nextChild() || xml.name() != u"collection")
        xml.fail(QStringLiteral("holds no Tellico collection."));
    if (xml.attributes().value(QStringLiteral("type")) != u"3")
        xml.fail(QStringLiteral("holds a Tellico collection of another kind, not of videos."));
}

std::optional<MovieRow> TellicoReader::next()
{
    while (!m_done) {
        if (!m_xml->nextChild()) {
            m_done = true; // a Tellico file holds one collection; what follows it is not read
            if (m_zip)
                m_zip->verifyToEnd();
        } else if (m_xml->name() == u"entry") {
            return readEntry();
        } else {
            m_xml->skipElement(); // fields, images, borrowers, filters
        }
    }
    return std::nullopt;
}

MovieRow TellicoReader::readEntry()
{
    MovieRow row;
    row.where = QStringLiteral("entry %1").arg(++m_entries);
    std::optional<QString> runningTime;
    while (m_xml->nextChild())
        readField(row, runningTime);
    using namespace MovieColumn;
    if (row.values[Minutes] && !row.values[Hours])
        row.values[Hours] = QString(); // minutes apart, no hours: not a running time
    if (runningTime && !row.values[Hours] && !row.values[Minutes])
        row.values[Minutes] = *runningTime; // the import splits it into hours and minutes
    return row;
}

void TellicoReader::readField(MovieRow &row, std::optional<QString> &runningTime)
{
    const QString name = m_xml->name().toString();
    const int column = columnOf(name);
    if (name == u"casts" || name == u"cast") {
        readCast(row);
    } else if (name == u"running-time" || name == u"running-times") {
        runningTime = unescapeFromXml(m_xml->readValues().value(0));
    } else if (column < 0) {
        m_unused.add(name.endsWith(u's') ? name.chopped(1) : name);
        m_xml->skipElement();
    } else if (column == MovieColumn::Comments) {
        row.values[column] = paragraphFromTellico(m_xml->readText());
    } else {
        QStringList values = m_xml->readValues();
        for (QString &value : values)
            value = unescapeFromXml(value);
        setJoined(row, column, values);
    }
}

void TellicoReader::setJoined(MovieRow &row, int column, const QStringList &values)
{
    if (values.size() > 1)
        ++m_joined[column];
    row.values[column] = values.join(QStringLiteral("; "));
}

// One row per actor, the actor in the first column; a row whose columns are all empty stands
// for a star left out before a later one.
void TellicoReader::readCast(MovieRow &row)
{
    int star = 0;
    const auto rows = m_xml->readTable();
    for (const QStringList &cast : rows) {
        if (cast.size() > 1 && !cast[1].isEmpty())
            m_cast.countRole();
        if (star < 4 && !(cast.size() > 1 && cast.join(QString()).isEmpty()))
            row.values[MovieColumn::StarOne + star] = unescapeFromXml(cast.value(0));
        ++star;
    }
    m_cast.countActors(rows.size());
}

QStringList TellicoReader::notes() const
{
    static const char *const kinds[] = {
        "", "genres", "certifications", "media",     "prices", "years",
        "", "",       "conditions",     "locations", "",       "",
        "", "",       "producers",      "directors", ""};
    QStringList notes = m_cast.notes();
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2")
                     .arg(QLatin1String(kinds[it.key()]))
                     .arg(movieCount(it.value()));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenTellicoReader(const QString &path)
{
    return std::make_unique<TellicoReader>(path);
}
