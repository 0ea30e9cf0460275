#include "OutputTarget.h"
#include "TellicoFormat.h"
#include "TellicoText.h"
#include "XmlInput.h"
#include "ZipArchive.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QXmlStreamWriter>

namespace
{

const QStringList kMedia{"DVD", "VHS", "VCD", "DivX", "Blu-ray", "HD DVD"};
const QStringList kCertifications{"G (USA)", "PG (USA)", "PG-13 (USA)", "R (USA)", "U (USA)"};

// A text element; a carriage return goes out as a character reference, which XML keeps
// (a raw one would be read back as a line feed).
void writeText(QXmlStreamWriter &xml, const QString &name, const QString &text)
{
    xml.writeStartElement(name);
    const QStringList parts = text.split(u'\r');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            xml.writeEntityReference(QStringLiteral("#13"));
        if (!parts[i].isEmpty())
            xml.writeCharacters(parts[i]);
    }
    xml.writeEndElement();
}

// Hours and minutes that Tellico's running time in minutes gives back exactly.
std::optional<qint64> runningTime(const MovieRow &row)
{
    static const QRegularExpression whole(QStringLiteral("^(0|[1-9][0-9]{0,8})$"));
    const auto &hours = row.values[MovieColumn::Hours];
    const auto &minutes = row.values[MovieColumn::Minutes];
    if (!hours || !minutes || !whole.match(*hours).hasMatch() ||
        !whole.match(*minutes).hasMatch() || minutes->toInt() > 59)
        return std::nullopt;
    return hours->toLongLong() * 60 + minutes->toInt();
}

// An amount with three decimals ("5.125") is written with four, since "1.234" alone could
// also be read as a thousand with a grouping point.
std::optional<QString> unambiguousAmount(const std::optional<QString> &amount)
{
    static const QRegularExpression threeDecimals(QStringLiteral("^-?[0-9]+\\.[0-9]{3}$"));
    if (amount && threeDecimals.match(*amount).hasMatch())
        return *amount + u'0';
    return amount;
}

void writeProperty(QXmlStreamWriter &xml, const QString &name, const QString &value)
{
    xml.writeStartElement(QStringLiteral("prop"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeCharacters(value);
    xml.writeEndElement();
}

void writeCastColumns(QXmlStreamWriter &xml)
{
    writeProperty(xml, QStringLiteral("columns"), QStringLiteral("2"));
    writeProperty(xml, QStringLiteral("column1"), QStringLiteral("Actor/Actress"));
    writeProperty(xml, QStringLiteral("column2"), QStringLiteral("Role"));
}

struct Field {
    const char *name, *title, *category;
    int type, flags, format;
};

// Tellico reads a choice list split at ";" with the spaces around each choice trimmed, and
// drops a value that is not in it: a list it could not read back makes the field a line.
bool tellicoCanList(const QStringList &choices)
{
    for (const QString &choice : choices)
        if (choice.contains(u';') || choice.trimmed() != choice)
            return false;
    return true;
}

void writeField(QXmlStreamWriter &xml, const Field &field, const QStringList &allowed)
{
    const bool listed = !allowed.isEmpty() && tellicoCanList(allowed);
    xml.writeStartElement(QStringLiteral("field"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(field.name));
    xml.writeAttribute(QStringLiteral("title"), QLatin1String(field.title));
    xml.writeAttribute(QStringLiteral("category"), QLatin1String(field.category));
    xml.writeAttribute(QStringLiteral("type"),
                       QString::number(field.type == 3 && !listed ? 1 : field.type));
    xml.writeAttribute(QStringLiteral("flags"), QString::number(field.flags));
    xml.writeAttribute(QStringLiteral("format"), QString::number(field.format));
    if (listed)
        xml.writeAttribute(QStringLiteral("allowed"), escapeForXml(allowed.join(u';')));
    if (QLatin1String(field.name) == u"running-time")
        xml.writeAttribute(QStringLiteral("description"),
                           QStringLiteral("The running time of the video (in minutes)"));
    if (QLatin1String(field.name) == u"year")
        xml.writeAttribute(QStringLiteral("description"), QStringLiteral("Production Year"));
    if (field.type == 8)
        writeCastColumns(xml);
    xml.writeEndElement();
}

class TellicoWriter : public MovieWriter
{
  public:
    TellicoWriter(const QString &path, bool zipped);
    void write(const MovieRow &movie) override;
    void finish() override;

  private:
    void writeValue(const char *name, const std::optional<QString> &value);
    void writeMany(const char *name, const std::optional<QString> &value);
    void writeCast(const MovieRow &movie);
    void writeLength(const MovieRow &movie);
    void noteChoice(QStringList &seen, const QStringList &defaults,
                    const std::optional<QString> &value);
    void writeDocument(QIODevice &out);
    void writeFields(QXmlStreamWriter &xml);
    [[noreturn]] void fail(const QString &why) const;

    QString m_path;
    bool m_zipped;
    QTemporaryFile m_entries;
    QXmlStreamWriter m_xml;
    int m_count = 0;
    QStringList m_media, m_certifications; // values beyond Tellico's own choices
    bool m_lengthApart = false;            // some entry has the fields "hours" and "minutes"
};

TellicoWriter::TellicoWriter(const QString &path, bool zipped)
    : m_path(path), m_zipped(zipped), m_entries(TemporaryBeside(path))
{
    if (QFileInfo(path).isDir())
        fail(QStringLiteral("it is a folder"));
    if (!m_entries.open())
        fail(m_entries.errorString());
    m_xml.setDevice(&m_entries);
    m_xml.setAutoFormatting(true);
    m_xml.setAutoFormattingIndent(1);
}

void TellicoWriter::fail(const QString &why) const
{
    throw TransferError{QStringLiteral("The file %1 cannot be written: %2.").arg(m_path, why)};
}

void TellicoWriter::write(const MovieRow &movie)
{
    using namespace MovieColumn;
    m_xml.writeStartElement(QStringLiteral("entry"));
    m_xml.writeAttribute(QStringLiteral("id"), QString::number(++m_count));
    writeValue("title", movie.values[Title]);
    writeValue("medium", movie.values[Format]);
    writeMany("year", movie.values[Copyright]);
    writeValue("certification", movie.values[Rating]);
    writeMany("genre", movie.values[Category]);
    writeCast(movie);
    writeMany("director", movie.values[Director]);
    writeMany("producer", movie.values[Producer]);
    writeLength(movie);
    writeValue("pur_price", unambiguousAmount(movie.values[Value]));
    writeValue("condition", movie.values[Condition]);
    writeValue("location", movie.values[TapePosition]);
    if (movie.values[Comments])
        writeText(m_xml, QStringLiteral("comments"), paragraphToTellico(*movie.values[Comments]));
    m_xml.writeEndElement();
    noteChoice(m_media, kMedia, movie.values[Format]);
    noteChoice(m_certifications, kCertifications, movie.values[Rating]);
    if (m_xml.hasError())
        fail(m_entries.errorString());
}

// A missing element is NULL, an empty one the empty text.
void TellicoWriter::writeValue(const char *name, const std::optional<QString> &value)
{
    if (value)
        writeText(m_xml, QLatin1String(name), escapeForXml(*value));
}

// Several values stay one element: Tellico joins the values of a field with "; " itself, so
// the text means the same to it and comes back unchanged.
void TellicoWriter::writeMany(const char *name, const std::optional<QString> &value)
{
    if (!value)
        return;
    m_xml.writeStartElement(QLatin1String(name) + u's');
    writeValue(name, value);
    m_xml.writeEndElement();
}

// One cast row per star up to the last one set; a star left out before it is a row of two
// empty columns.
void TellicoWriter::writeCast(const MovieRow &movie)
{
    int last = MovieColumn::StarFour;
    while (last >= MovieColumn::StarOne && !movie.values[last])
        --last;
    if (last < MovieColumn::StarOne)
        return;
    m_xml.writeStartElement(QStringLiteral("casts"));
    for (int star = MovieColumn::StarOne; star <= last; ++star) {
        m_xml.writeStartElement(QStringLiteral("cast"));
        writeText(m_xml, QStringLiteral("column"),
                  escapeForXml(movie.values[star].value_or(QString())));
        if (!movie.values[star])
            writeText(m_xml, QStringLiteral("column"), QString());
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
}

// The running time in minutes; hours or minutes it cannot give back (one of them NULL, minutes
// past 59, not a plain number) go into the fields "hours" and "minutes" instead.
void TellicoWriter::writeLength(const MovieRow &movie)
{
    if (const auto minutes = runningTime(movie)) {
        writeText(m_xml, QStringLiteral("running-time"), QString::number(*minutes));
        return;
    }
    const auto &hours = movie.values[MovieColumn::Hours];
    const auto &minutes = movie.values[MovieColumn::Minutes];
    m_lengthApart = m_lengthApart || hours || minutes;
    writeValue("hours", hours);
    writeValue("minutes", minutes);
}

void TellicoWriter::noteChoice(QStringList &seen, const QStringList &defaults,
                               const std::optional<QString> &value)
{
    if (value && !value->isEmpty() && !defaults.contains(*value) && !seen.contains(*value))
        seen << *value;
}

void TellicoWriter::finish()
{
    m_xml.writeEndDocument();
    if (m_xml.hasError() || !m_entries.flush())
        fail(m_entries.errorString());
    if (!m_zipped) {
        QSaveFile out(m_path);
        if (!out.open(QIODevice::WriteOnly))
            fail(out.errorString());
        writeDocument(out);
        if (!out.commit())
            fail(out.errorString());
        return;
    }
    QTemporaryFile document(TemporaryBeside(m_path));
    if (!document.open())
        fail(document.errorString());
    writeDocument(document);
    if (!document.flush())
        fail(document.errorString());
    writeZipWithMember(m_path, "tellico.xml", document.fileName());
}

// The document: the field declarations, which name every choice the entries use, then the
// entries written so far.
void TellicoWriter::writeDocument(QIODevice &out)
{
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(
        QStringLiteral("<!DOCTYPE tellico PUBLIC '-//Robby Stephenson/DTD Tellico V11.0//EN' "
                       "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>"));
    xml.writeStartElement(QStringLiteral("tellico"));
    xml.writeDefaultNamespace(QStringLiteral("http://periapsis.org/tellico/"));
    xml.writeAttribute(QStringLiteral("syntaxVersion"), QStringLiteral("11"));
    xml.writeStartElement(QStringLiteral("collection"));
    xml.writeAttribute(QStringLiteral("title"), QStringLiteral("My Videos"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("3"));
    writeFields(xml);
    out.write("\n");
    if (!m_entries.seek(0))
        fail(m_entries.errorString());
    while (!m_entries.atEnd()) {
        const QByteArray chunk = m_entries.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            fail(chunk.isEmpty() ? m_entries.errorString() : out.errorString());
    }
    if (out.write("\n </collection>\n</tellico>\n") < 0 || xml.hasError())
        fail(out.errorString());
}

// Each field as Tellico declares its own field of that name: types 1 line, 2 paragraph,
// 3 choice, 6 number, 8 table; flags 1 several values (written in a plural wrapper), 2 grouped,
// 4 completion, 8 not to be deleted; formats 0 plain, 1 title, 2 name, 4 none. Condition, Tape
// Position, Hours and Minutes are fields of this program, single values shown as they stand.
void TellicoWriter::writeFields(QXmlStreamWriter &xml)
{
    static const Field fields[] = {
        {"title", "Title", "General", 1, 8, 4},
        {"medium", "Medium", "General", 3, 2, 4},
        {"year", "Year", "General", 6, 3, 4},
        {"certification", "Certification", "General", 3, 2, 4},
        {"genre", "Genre", "General", 1, 7, 0},
        {"cast", "Cast", "Cast", 8, 3, 2},
        {"director", "Director", "Other People", 1, 7, 2},
        {"producer", "Producer", "Other People", 1, 7, 2},
        {"running-time", "Running Time", "Features", 6, 0, 4},
        {"pur_price", "Purchase Price", "Personal", 1, 0, 4},
        {"condition", "Condition", "Personal", 1, 6, 4},
        {"location", "Tape Position", "Personal", 1, 0, 4},
        {"hours", "Hours", "Personal", 1, 0, 4},
        {"minutes", "Minutes", "Personal", 1, 0, 4},
        {"comments", "Comments", "Comments", 2, 0, 4},
    };
    xml.writeStartElement(QStringLiteral("fields"));
    for (const Field &field : fields) {
        const QLatin1String name(field.name);
        if ((name == u"hours" || name == u"minutes") && !m_lengthApart)
            continue;
        writeField(xml, field,
                   name == u"medium"          ? kMedia + m_media
                   : name == u"certification" ? kCertifications + m_certifications
                                              : QStringList());
    }
    xml.writeEndElement();
}

} // namespace

std::unique_ptr<MovieWriter> OpenTellicoWriter(const QString &path, bool zipped)
{
    return std::make_unique<TellicoWriter>(path, zipped);
}
