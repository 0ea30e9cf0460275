#include "TextFold.h"

#include <QList>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

namespace TextFold
{

QString folded(const QString &text)
{
    return text.toUpper();
}

bool equalIgnoringCase(const QString &a, const QString &b)
{
    return a == b || folded(a) == folded(b);
}

int compareIgnoringCase(const QString &a, const QString &b)
{
    return QString::compare(a.toUpper(), b.toUpper(), Qt::CaseSensitive);
}

namespace
{

// One element of a LIKE pattern after escapes are resolved.
struct Token {
    enum Kind { Literal, AnyOne, AnyRun } kind;
    char32_t ch = 0;
};

// The pattern's characters, `at(0)` to `at(length - 1)`, as tokens.
template <typename CharAt> std::vector<Token> tokenize(qsizetype length, CharAt at, char32_t escape)
{
    std::vector<Token> tokens;
    tokens.reserve(size_t(length));
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t c = at(i);
        if (escape && c == escape && i + 1 < length)
            tokens.push_back({Token::Literal, char32_t(at(++i))});
        else if (c == U'%')
            tokens.push_back({Token::AnyRun, 0});
        else if (c == U'_')
            tokens.push_back({Token::AnyOne, 0});
        else
            tokens.push_back({Token::Literal, c});
    }
    return tokens;
}

// Greedy match that backtracks to the last "%": linear in practice, never exponential.
template <typename CharAt>
bool matchTokens(const std::vector<Token> &tokens, qsizetype length, CharAt at)
{
    size_t p = 0;
    qsizetype t = 0;
    size_t starP = SIZE_MAX;
    qsizetype starT = 0;
    while (t < length) {
        if (p < tokens.size() && (tokens[p].kind == Token::AnyOne ||
                                  (tokens[p].kind == Token::Literal && tokens[p].ch == at(t)))) {
            ++p;
            ++t;
        } else if (p < tokens.size() && tokens[p].kind == Token::AnyRun) {
            starP = p++;
            starT = t;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::AnyRun)
        ++p;
    return p == tokens.size();
}

} // namespace

bool like(const QString &pattern, const QString &text, QChar escape)
{
    const QList<uint> pat = pattern.toUpper().toUcs4();
    const QList<uint> chars = text.toUpper().toUcs4();
    const auto tokens = tokenize(
        pat.size(), [&](qsizetype i) { return char32_t(pat[i]); },
        escape.isNull() ? 0 : char32_t(escape.toUpper().unicode()));
    return matchTokens(tokens, chars.size(), [&](qsizetype i) { return char32_t(chars[i]); });
}

namespace
{

QString valueText(sqlite3_value *value)
{
    const auto *data = static_cast<const char16_t *>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return QString::fromUtf16(data, bytes / 2);
}

char16_t asciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

bool allAscii(const char16_t *text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x80)
            return false;
    }
    return true;
}

// like() for a pattern and text of ASCII characters only, where upper case is one code unit
// per character: the same match without converting either side.
bool asciiLike(const char16_t *pattern, int patternLength, const char16_t *text, int textLength,
               char16_t escape)
{
    const auto tokens = tokenize(
        patternLength, [&](qsizetype i) { return char32_t(asciiUpper(pattern[i])); }, escape);
    return matchTokens(tokens, textLength,
                       [&](qsizetype i) { return char32_t(asciiUpper(text[i])); });
}

void likeFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    QChar escape;
    if (argc == 3) {
        const QString e = valueText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.front();
    }
    const auto *pattern = static_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    const int patternLength = sqlite3_value_bytes16(argv[0]) / 2;
    const auto *text = static_cast<const char16_t *>(sqlite3_value_text16(argv[1]));
    const int textLength = sqlite3_value_bytes16(argv[1]) / 2;
    if (pattern && text && escape.unicode() < 0x80 && allAscii(pattern, patternLength) &&
        allAscii(text, textLength)) {
        sqlite3_result_int(context, asciiLike(pattern, patternLength, text, textLength,
                                              asciiUpper(escape.unicode()))
                                        ? 1
                                        : 0);
        return;
    }
    sqlite3_result_int(context, like(QString::fromUtf16(pattern, patternLength),
                                     QString::fromUtf16(text, textLength), escape)
                                    ? 1
                                    : 0);
}

int collate(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    // Plain ASCII folds letter by letter, one code unit each: compare the bytes while they
    // are ASCII and convert only when a text holds other letters before the first difference.
    const auto *left8 = static_cast<const unsigned char *>(a);
    const auto *right8 = static_cast<const unsigned char *>(b);
    const int common = std::min(lengthA, lengthB);
    int i = 0;
    for (; i < common; ++i) {
        unsigned char l = left8[i];
        unsigned char r = right8[i];
        if (l >= 0x80 || r >= 0x80)
            break;
        if (l >= 'a' && l <= 'z')
            l = l - 'a' + 'A';
        if (r >= 'a' && r <= 'z')
            r = r - 'a' + 'A';
        if (l != r)
            return l < r ? -1 : 1;
    }
    if (i == common)
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    const QString left = QString::fromUtf8(static_cast<const char *>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char *>(b), lengthB);
    return compareIgnoringCase(left, right);
}

} // namespace

int install(sqlite3 *db)
{
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
    // Registered for UTF-8, the catalog's encoding, so it replaces the built-in NOCASE
    // (SQLite prefers the variant in the database's own encoding).
    if (rc == SQLITE_OK)
        rc = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, collate);
    return rc;
}

} // namespace TextFold
