#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

// A Windows-style settings file: "[Section]" lines, each followed by "key=value" lines, read and
// written the way the Windows profile-string functions do it.
//
// Reading: section and key names match without regard to case (full Unicode case folding) and
// without their surrounding blanks; a value loses its surrounding blanks and one pair of matching
// double or single quotes around it; the first section of a name and the first key of a name in
// it win, later ones are never seen; lines without '=' are ignored. Lines end in CRLF, LF or a
// lone CR. The text is UTF-8 (a byte-order mark is skipped) when its bytes are valid UTF-8,
// otherwise Windows-1252, the code page of files written on Windows.
//
// A Profile reads and indexes its file once, when built or by reload(), and answers any number
// of value() calls from that index. Only the first MaxReadSize bytes are looked at, up to the
// last line break in them, so that no file can make reading slow or costly.
class Profile
{
  public:
    static constexpr qint64 MaxReadSize = 16 * 1024 * 1024;

    // Reads the file; a missing, unreadable or non-regular file reads as empty.
    explicit Profile(QString path);

    const QString &path() const { return m_path; }

    // Reads the file afresh.
    void reload();

    // The value of key in section; nullopt when the file, the section or the key is absent.
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &def) const;

    // Sets one value in the file on disk, creating the file, the section and the key as needed:
    // an existing key keeps its line with the new value after '=', a new key goes after the last
    // line of its section, a new section at the end of the file. All other bytes of the file
    // stay as they were; a UTF-8 file gets UTF-8 text, a Windows-1252 file Windows-1252 text.
    // The file is replaced atomically and this Profile then reflects it.
    //
    // Returns false, leaving the file untouched, when it cannot be written (missing folder, a
    // folder of that name, no permission), when it is larger than MaxReadSize, or when a name
    // or the value would break the file's lines (a line break anywhere, ']' in the section,
    // '=' in the key or a key starting with '[').
    bool write(const QString &section, const QString &key, const QString &value);

  private:
    void index(QStringView text);

    QString m_path;
    // Case-folded section name -> case-folded key -> value as read.
    QHash<QString, QHash<QString, QString>> m_sections;
};
