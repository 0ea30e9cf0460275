#pragma once

#include <QString>

#include <stdexcept>

// A failure of the catalog store. `message()` is written for the user: it says what went
// wrong in plain words and, where it helps, what the database reported.
class StoreError : public std::runtime_error
{
  public:
    enum class Kind {
        General,     // the database refused or failed an operation
        Input,       // a field holds a value the catalog cannot take; nothing was written
        Busy,        // another program holds the catalog locked
        AccessFormat // the catalog file is a Microsoft Access file
    };

    explicit StoreError(const QString &message, Kind kind = Kind::General)
        : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind)
    {
    }
    const QString &message() const { return m_message; }
    Kind kind() const { return m_kind; }

  private:
    QString m_message;
    Kind m_kind;
};
