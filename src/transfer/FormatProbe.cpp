#include "FormatProbe.h"

#include <QFile>
#include <QFileInfo>

namespace FormatProbe
{

QByteArray head(const QString &path)
{
    if (!QFileInfo(path).isFile()) // a folder has no bytes; opening a pipe would wait for a writer
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kProbeBytes) : QByteArray();
}

namespace
{

// The text of `head` as UTF-8: UTF-16 with a byte-order mark converted, a UTF-8 one dropped.
QByteArray asUtf8(const QByteArray &head)
{
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        const bool little = head.startsWith("\xFF\xFE");
        QString text;
        for (qsizetype i = 2; i + 1 < head.size(); i += 2) {
            const auto low = uchar(head[little ? i : i + 1]),
                       high = uchar(head[little ? i + 1 : i]);
            text += QChar(char16_t(low | high << 8));
        }
        return text.toUtf8();
    }
    return head.startsWith("\xEF\xBB\xBF") ? head.mid(3) : head;
}

// Where the markup that starts at `at` ends, or -1 when `head` ends first.
qsizetype skipMarkup(const QByteArray &text, qsizetype at)
{
    if (text.mid(at, 4) == "<!--") {
        const qsizetype end = text.indexOf("-->", at + 4);
        return end < 0 ? -1 : end + 3;
    }
    if (text.mid(at, 2) == "<?") {
        const qsizetype end = text.indexOf("?>", at + 2);
        return end < 0 ? -1 : end + 2;
    }
    // <!DOCTYPE name [ ... ]>: the internal subset may hold '>' of its own.
    const qsizetype bracket = text.indexOf('[', at), close = text.indexOf('>', at);
    if (bracket >= 0 && (close < 0 || bracket < close)) {
        const qsizetype end = text.indexOf("]", bracket);
        return end < 0 ? -1 : text.indexOf('>', end) < 0 ? -1 : text.indexOf('>', end) + 1;
    }
    return close < 0 ? -1 : close + 1;
}

} // namespace

QString xmlRoot(const QByteArray &head)
{
    const QByteArray text = asUtf8(head);
    qsizetype at = 0;
    while (at >= 0 && at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else if (c != '<' || at + 1 >= text.size()) {
            return {};
        } else if (text[at + 1] == '?' || text[at + 1] == '!') {
            at = skipMarkup(text, at);
        } else {
            qsizetype end = at + 1;
            while (end < text.size() && !QByteArrayView(" \t\r\n/>").contains(text[end]))
                ++end;
            return QString::fromUtf8(text.mid(at + 1, end - at - 1));
        }
    }
    return {};
}

bool hasExtension(const QString &path, const char *extensions)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return !suffix.isEmpty() &&
           QString::fromLatin1(extensions).split(u' ', Qt::SkipEmptyParts).contains(suffix);
}

bool isSqlite(const QByteArray &head)
{
    return head.startsWith(QByteArrayLiteral("SQLite format 3\0"));
}

bool isZip(const QByteArray &head)
{
    return head.startsWith("PK\x03\x04");
}

} // namespace FormatProbe
