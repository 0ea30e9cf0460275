#include "Settings.h"

#include <QFileInfo>

#include <cmath>

namespace
{

QString &iniPathValue()
{
    static QString path;
    return path;
}

// The first `count` characters; a surrogate pair is one character and is never split.
QString leftCharacters(QString text, int count)
{
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    text.truncate(end);
    return text;
}

} // namespace

void setIniPath(const QString &path)
{
    iniPathValue() = path;
}

QString IniPath()
{
    return iniPathValue();
}

QString iniPathFor(const QString &programFolder)
{
    return programFolder + QStringLiteral("/TARSEL.INI");
}

bool iniFileExists(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    if (info.isHidden())
        return false;
#endif
    return info.isFile();
}

QString ReadIni(const QString &section, const QString &key, const QString &def)
{
    return ReadIni(Profile(IniPath()), section, key, def);
}

QString ReadIni(const Profile &profile, const QString &section, const QString &key,
                const QString &def)
{
    return leftCharacters(profile.value(section, key, def), MaxIniValueLength);
}

void WriteIni(const QString &section, const QString &key, const QString &value)
{
    // Ignored on purpose: see the header.
    Profile(IniPath()).write(section, key, value);
}

void WriteDefaultLists()
{
    static const char *const names[] = {
        "Audio Tapes", "Beanie Babies", "Books",     "Coins",       "Comic Books",
        "Magazines",   "Movies",        "Music CDs", "PC Games",    "PC Software",
        "Records",     "Sports Cards",  "Stamps",    "Video Games",
    };
    for (const char *name : names)
        WriteIni(QStringLiteral("Categories"), QString::fromLatin1(name), QStringLiteral("TRUE"));
}

int pickListCount(const QString &countText)
{
    bool isNumber = false;
    const double count = countText.trimmed().toDouble(&isNumber);
    if (!isNumber || !(count > 0)) // also NaN
        return 0;
    if (count >= MaxPickListCount)
        return MaxPickListCount;
    // The default rounding mode rounds a half to the even neighbour.
    return static_cast<int>(std::nearbyint(count));
}

QStringList ReadPickList(const QString &section, const QString &countKey, const QString &itemPrefix)
{
    return ReadPickList(Profile(IniPath()), section, countKey, itemPrefix);
}

QStringList ReadPickList(const Profile &profile, const QString &section, const QString &countKey,
                         const QString &itemPrefix)
{
    const int count = pickListCount(ReadIni(profile, section, countKey, QStringLiteral("0")));
    QStringList entries;
    entries.reserve(count);
    for (int n = 1; n <= count; ++n)
        entries.append(ReadIni(profile, section, itemPrefix + QString::number(n), QString()));
    return entries;
}
