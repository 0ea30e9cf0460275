#include "RtfText.h"

namespace
{

// Skips the control word at `i` (just after its backslash), with its number and one space.
qsizetype skipControlWord(const QString &rtf, qsizetype i, QString &word)
{
    word.clear();
    while (i < rtf.size() && rtf[i].isLetter())
        word += rtf[i++];
    if (i < rtf.size() && rtf[i] == u'-')
        ++i;
    while (i < rtf.size() && rtf[i].isDigit())
        ++i;
    if (i < rtf.size() && rtf[i] == u' ')
        ++i;
    return i;
}

bool isHidden(const QString &word)
{
    return word == u"fonttbl" || word == u"colortbl" || word == u"stylesheet" || word == u"info" ||
           word == u"pict" || word == u"*";
}

} // namespace

QString rtfToText(const QString &rtf)
{
    if (!rtf.startsWith(u"{\\rtf"))
        return rtf;
    QString text, word;
    int depth = 0, hiddenFrom = 0; // a hidden group hides everything deeper than hiddenFrom
    for (qsizetype i = 0; i < rtf.size();) {
        const QChar c = rtf[i];
        if (c == u'{' || c == u'}') {
            depth += c == u'{' ? 1 : -1;
            if (hiddenFrom && depth < hiddenFrom)
                hiddenFrom = 0;
            ++i;
        } else if (c == u'\\' && i + 1 < rtf.size() && rtf[i + 1].isLetter()) {
            i = skipControlWord(rtf, i + 1, word);
            if (!hiddenFrom && isHidden(word))
                hiddenFrom = depth;
            else if (!hiddenFrom && (word == u"par" || word == u"line"))
                text += u'\n';
        } else if (c == u'\\' && i + 3 < rtf.size() && rtf[i + 1] == u'\'') {
            if (!hiddenFrom)
                text += QChar(rtf.mid(i + 2, 2).toUShort(nullptr, 16));
            i += 4;
        } else if (c == u'\\' && i + 1 < rtf.size()) {
            if (!hiddenFrom && rtf[i + 1] == u'*')
                hiddenFrom = depth;
            else if (!hiddenFrom && rtf[i + 1] != u'\n' && rtf[i + 1] != u'\r')
                text += rtf[i + 1];
            else if (!hiddenFrom)
                text += u'\n';
            i += 2;
        } else {
            if (!hiddenFrom && c != u'\n' && c != u'\r')
                text += c;
            ++i;
        }
    }
    return text.trimmed();
}
