#include "TellicoText.h"

#include <QRegularExpression>

namespace
{

constexpr char16_t kEscape = 0xE000;
constexpr char16_t kCodeBase = 0xE100;
constexpr char16_t kNoBreak = 0xE200; // after kEscape: nothing (older exports split "<" "br")

bool xmlCannotHold(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

} // namespace

QString escapeForXml(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == kEscape)
            out += QChar(kEscape), out += QChar(kEscape);
        else if (xmlCannotHold(c))
            out += QChar(kEscape), out += QChar(char16_t(kCodeBase + (c & 0xFF)));
        else
            out += qc;
    }
    return out;
}

QString unescapeFromXml(const QString &text)
{
    if (!text.contains(QChar(kEscape)))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t after = i + 1 < text.size() ? text[i + 1].unicode() : 0;
        const char16_t code = char16_t(after - kCodeBase);
        if (c == kEscape && after == kEscape)
            out += QChar(kEscape), ++i;
        else if (c == kEscape && after >= kCodeBase && code <= 0xFF &&
                 xmlCannotHold(code < 0x20 ? code : char16_t(0xFF00 | code)))
            out += QChar(code < 0x20 ? code : char16_t(0xFF00 | code)), ++i;
        else if (c == kEscape && after == kNoBreak)
            ++i;
        else
            out += QChar(c);
    }
    return out;
}

QString paragraphToTellico(const QString &text)
{
    QString out = escapeForXml(text);
    out.replace(u'\n', QStringLiteral("<br/>"));
    return out;
}

QString paragraphFromTellico(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("<br\\s*/?>"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    out.replace(lineBreak, QStringLiteral("\n"));
    return unescapeFromXml(out);
}
