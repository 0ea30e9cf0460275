#include "StagedMovies.h"

#include <QIODevice>

void StagedMovies::append(const MovieRow &movie, const QString &fileName)
{
    if (m_count >= kMaxMovies)
        throw TransferError{
            QStringLiteral("%1 holds more than %2 movies, more than a catalog takes.")
                .arg(fileName)
                .arg(kMaxMovies)};
    if (!m_stream)
        m_stream = std::make_unique<QDataStream>(&m_data, QIODevice::WriteOnly);
    *m_stream << movie.where.toUtf8();
    for (const std::optional<QString> &value : movie.values) {
        *m_stream << bool(value);
        if (value)
            *m_stream << value->toUtf8();
    }
    ++m_count;
}

StagedMovies::Cursor::Cursor(const QByteArray &data) : m_stream(data) {}

bool StagedMovies::Cursor::next(MovieRow &movie)
{
    if (m_stream.atEnd())
        return false;
    QByteArray text;
    m_stream >> text;
    movie.where = QString::fromUtf8(text);
    for (std::optional<QString> &value : movie.values) {
        bool present = false;
        m_stream >> present;
        if (present)
            m_stream >> text;
        value = !present         ? std::nullopt
                : text.isEmpty() ? std::optional(QStringLiteral("")) // an empty text, not NULL
                                 : std::optional(QString::fromUtf8(text));
    }
    return true;
}
