#include "DvdProfilerFormat.h"

#include "CastLeftOut.h"
#include "FormatProbe.h"
#include "ReaderLimits.h"
#include "XmlInput.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace
{

struct Profile {
    MovieRow row;
    QStringList media, genres, directors, producers, actors, comments;
};

QString personName(const QXmlStreamAttributes &attributes)
{
    QStringList parts;
    for (const char *part : {"FirstName", "MiddleName", "LastName"}) {
        const QString text = attributes.value(QLatin1String(part)).trimmed().toString();
        if (!text.isEmpty())
            parts << text;
    }
    return parts.join(u' ');
}

class DvdProfilerReader : public XmlFileReader<MovieReader>
{
  public:
    explicit DvdProfilerReader(const QString &path) : XmlFileReader(path)
    {
        m_xml.requireRoot(u"Collection",
                          QStringLiteral("is not a DVD Profiler collection export."));
    }
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_unused; }
    QStringList notes() const override;

  private:
    MovieRow readProfile();
    void readField(Profile &profile);
    void checkLimit(const Profile &profile) const;
    void readMediaTypes(Profile &profile);
    void readCredits(Profile &profile);
    void readActors(Profile &profile);
    void readDiscs(Profile &profile);
    void readPurchase(Profile &profile);
    void setJoined(MovieRow &row, int column, const QStringList &values, const char *kind);
    void markUnused(const QString &name);

    bool m_done = false;
    int m_profiles = 0;
    QStringList m_unused;
    QSet<QString> m_unusedSeen;
    QMap<QString, int> m_joined;
    CastLeftOut m_cast;
};

std::optional<MovieRow> DvdProfilerReader::next()
{
    while (!m_done) {
        if (!m_xml.nextChild())
            m_done = true;
        else if (m_xml.name() == u"DVD")
            return readProfile();
        else
            m_xml.skipElement();
    }
    return std::nullopt;
}

MovieRow DvdProfilerReader::readProfile()
{
    using namespace MovieColumn;
    Profile profile;
    profile.row.where = QStringLiteral("DVD %1").arg(++m_profiles);
    while (m_xml.nextChild())
        readField(profile);
    MovieRow &row = profile.row;
    setJoined(row, Format, profile.media, "media types");
    setJoined(row, Category, profile.genres, "genres");
    setJoined(row, Director, profile.directors, "directors");
    setJoined(row, Producer, profile.producers, "producers");
    for (qsizetype i = 0; i < profile.actors.size() && i < 4; ++i)
        row.values[StarOne + i] = profile.actors[i];
    m_cast.countActors(profile.actors.size());
    if (!profile.comments.isEmpty())
        row.values[Comments] = profile.comments.join(QStringLiteral("\n\n"));
    return row;
}

void DvdProfilerReader::checkLimit(const Profile &profile) const
{
    const qsizetype listed = profile.media.size() + profile.genres.size() +
                             profile.directors.size() + profile.producers.size() +
                             profile.actors.size() + profile.comments.size();
    if (listed > ReaderLimits::kMaxListedPerMovie)
        m_xml.fail(QStringLiteral("lists more than %1 actors, credits, genres and media types in "
                                  "DVD %2, beyond the limit.")
                       .arg(ReaderLimits::kMaxListedPerMovie)
                       .arg(m_profiles));
}

void DvdProfilerReader::readField(Profile &profile)
{
    checkLimit(profile);
    using namespace MovieColumn;
    static const QHash<QString, int> simple{{"Title", Title},
                                            {"ProductionYear", Copyright},
                                            {"Rating", Rating},
                                            {"RunningTime", Minutes}};
    const QString name = m_xml.name().toString();
    if (const auto column = simple.constFind(name); column != simple.cend()) {
        const QString text = m_xml.readText().trimmed();
        if (!text.isEmpty() && !(*column != Title && *column != Rating && text == u"0"))
            profile.row.values[*column] = text;
    } else if (name == u"Genres") {
        while (m_xml.nextChild())
            profile.genres << m_xml.readText().trimmed(), checkLimit(profile);
    } else if (name == u"Overview" || name == u"Notes") {
        const QString text = m_xml.readText().trimmed();
        if (!text.isEmpty())
            profile.comments << text;
    } else if (name == u"MediaTypes") {
        readMediaTypes(profile);
    } else if (name == u"Credits") {
        readCredits(profile);
    } else if (name == u"Actors") {
        readActors(profile);
    } else if (name == u"Discs") {
        readDiscs(profile);
    } else if (name == u"PurchaseInfo") {
        readPurchase(profile);
    } else {
        markUnused(name);
        m_xml.skipElement();
    }
}

void DvdProfilerReader::readMediaTypes(Profile &profile)
{
    static const QHash<QString, QString> names{
        {"DVD", "DVD"}, {"HDDVD", "HD DVD"}, {"BluRay", "Blu-ray"}, {"UltraHD", "Ultra HD"}};
    while (m_xml.nextChild()) {
        const QString name = m_xml.name().toString();
        const QString text = m_xml.readText().trimmed();
        if (name == u"CustomMediaType" && !text.isEmpty())
            profile.media << text;
        else if (text.compare(u"true", Qt::CaseInsensitive) == 0)
            profile.media << names.value(name, name);
        checkLimit(profile);
    }
}

void DvdProfilerReader::readCredits(Profile &profile)
{
    while (m_xml.nextChild()) {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const auto type = attributes.value(QStringLiteral("CreditType"));
        if (m_xml.name() == u"Credit" && type == u"Direction")
            profile.directors << personName(attributes);
        else if (m_xml.name() == u"Credit" && type == u"Production")
            profile.producers << personName(attributes);
        m_xml.skipElement();
        checkLimit(profile);
    }
}

// Actors in the order of the profile; a Divider heads a group of them (an episode, a part).
void DvdProfilerReader::readActors(Profile &profile)
{
    while (m_xml.nextChild()) {
        if (m_xml.name() == u"Actor") {
            const QString name = personName(m_xml.attributes());
            if (!name.isEmpty())
                profile.actors << name;
        }
        m_xml.skipElement();
        checkLimit(profile);
    }
}

void DvdProfilerReader::readDiscs(Profile &profile)
{
    while (m_xml.nextChild()) { // Disc
        while (m_xml.nextChild()) {
            const bool location = m_xml.name() == u"Location";
            const QString text = m_xml.readText().trimmed();
            if (location && !text.isEmpty() && !profile.row.values[MovieColumn::TapePosition])
                profile.row.values[MovieColumn::TapePosition] = text;
        }
    }
}

void DvdProfilerReader::readPurchase(Profile &profile)
{
    while (m_xml.nextChild()) {
        const bool price = m_xml.name() == u"PurchasePrice";
        const QString text = m_xml.readText().trimmed();
        static const QRegularExpression zero(QStringLiteral("^0*(\\.0*)?$"));
        if (price && !zero.match(text).hasMatch()) // 0: the price was never entered
            profile.row.values[MovieColumn::Value] = text;
    }
}

void DvdProfilerReader::setJoined(MovieRow &row, int column, const QStringList &values,
                                  const char *kind)
{
    QStringList given = values;
    given.removeAll(QString());
    if (given.size() > 1)
        ++m_joined[QLatin1String(kind)];
    if (!given.isEmpty())
        row.values[column] = given.join(QStringLiteral("; "));
}

void DvdProfilerReader::markUnused(const QString &name)
{
    if (!m_unusedSeen.contains(name) && m_unused.size() < ReaderLimits::kMaxUnusedNames)
        m_unusedSeen.insert(name), m_unused << name;
}

QStringList DvdProfilerReader::notes() const
{
    QStringList notes = m_cast.notes();
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2")
                     .arg(it.key(), movieCount(it.value()));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenDvdProfilerReader(const QString &path)
{
    return std::make_unique<DvdProfilerReader>(path);
}

bool IsDvdProfiler(const QString &, const QByteArray &head)
{
    return FormatProbe::xmlRoot(head) == u"Collection" &&
           (head.contains("<DVD>") || head.contains("DVD Profiler"));
}
