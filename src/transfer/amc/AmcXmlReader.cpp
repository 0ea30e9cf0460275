#include "AmcBinaryReader.h"
#include "AmcFormat.h"
#include "XmlNode.h"

#include <QHash>

namespace
{

// The XML catalog: <AntMovieCatalog><Catalog> the owner's <Properties>, the custom fields'
// <CustomFieldsProperties>, and <Contents> of <Movie> elements, each field an attribute, the
// custom fields the attributes of its <CustomFields> child.
class AmcXmlReader : public XmlFileReader<AmcReaderBase>
{
  public:
    explicit AmcXmlReader(const QString &path);
    std::optional<MovieRow> next() override;

  private:
    void readDefinitions();
    AmcMovie movieOf(const XmlNode &node) const;

    QHash<QString, QString> m_customNames; // by tag
    bool m_inContents = false;
    int m_movies = 0;
};

AmcXmlReader::AmcXmlReader(const QString &path) : XmlFileReader(path)
{
    m_xml.requireRoot(u"AntMovieCatalog", QStringLiteral("is not an Ant Movie Catalog catalog."));
    while (m_xml.nextChild()) {
        if (m_xml.name() == u"Catalog")
            return;
        m_xml.skipElement();
    }
}

std::optional<MovieRow> AmcXmlReader::next()
{
    while (true) {
        if (!m_xml.nextChild()) {
            if (!m_inContents)
                return std::nullopt;
            m_inContents = false; // </Contents>: on to the rest of the catalog
            continue;
        }
        const QStringView name = m_xml.name();
        if (m_inContents && name == u"Movie")
            return toRow(movieOf(readXmlNode(m_xml)), QStringLiteral("entry %1").arg(++m_movies));
        if (!m_inContents && name == u"Contents")
            m_inContents = true;
        else if (!m_inContents && name == u"CustomFieldsProperties")
            readDefinitions();
        else
            m_xml.skipElement();
    }
}

void AmcXmlReader::readDefinitions()
{
    const XmlNode definitions = readXmlNode(m_xml);
    for (const XmlNode &field : definitions.children) {
        const QString tag = field.attributes.value(QStringLiteral("Tag")).toString();
        const QString name = field.attributes.value(QStringLiteral("Name")).toString();
        m_customNames.insert(tag, name.trimmed().isEmpty() ? tag : name);
    }
}

AmcMovie AmcXmlReader::movieOf(const XmlNode &node) const
{
    static const QHash<QString, int> fields = [] {
        QHash<QString, int> byName;
        for (int i = 0; i < AmcMovie::FieldCount; ++i)
            byName.insert(QLatin1String(kAmcFieldNames[i]), i);
        return byName;
    }();
    AmcMovie movie;
    for (const auto &attribute : node.attributes)
        if (const auto field = fields.constFind(attribute.name().toString());
            field != fields.cend())
            movie.fields[*field] = attribute.value().toString();
    if (const XmlNode *custom = node.child(u"CustomFields"))
        for (const auto &attribute : custom->attributes)
            movie.custom << AmcMovie::Custom{
                m_customNames.value(attribute.name().toString(), attribute.name().toString()),
                attribute.value().toString()};
    return movie;
}

bool isCatalogXml(QByteArrayView head)
{
    return readXmlHead(head).root == u"AntMovieCatalog";
}

// Markup, after a byte-order mark and white space: the binary catalog starts with " AMC_".
bool looksLikeXml(QByteArrayView head)
{
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.sliced(3);
    return QByteArrayView(head).trimmed().startsWith('<');
}

} // namespace

std::unique_ptr<MovieReader> OpenAmcReader(const QString &path)
{
    auto file = openInputFile(path);
    const QByteArray head = file->peek(4096);
    if (looksLikeXml(head))
        return std::make_unique<AmcXmlReader>(path);
    return std::make_unique<AmcBinaryReader>(path, std::move(file));
}

ProbeResult ProbeAmc(const QString &, QByteArrayView head)
{
    return {head.startsWith(" AMC_") || isCatalogXml(head), {}};
}
