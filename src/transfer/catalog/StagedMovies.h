#pragma once

#include "MovieRow.h"

#include <QByteArray>
#include <QDataStream>

#include <memory>

// The movies of a file, read and checked before the catalog is locked for their insert, kept
// compactly (UTF-8, one buffer) in the file's order.
class StagedMovies
{
  public:
    // Far above any real collection, and what a file can bring in at most.
    static constexpr qsizetype kMaxMovies = 2'000'000;

    // Throws TransferError naming `fileName` past kMaxMovies.
    void append(const MovieRow &movie, const QString &fileName);
    qsizetype size() const { return m_count; }

    // Gives the movies back, in the order they were appended.
    class Cursor
    {
      public:
        explicit Cursor(const QByteArray &data);
        bool next(MovieRow &movie);

      private:
        QDataStream m_stream;
    };
    Cursor cursor() const { return Cursor(m_data); }

  private:
    QByteArray m_data;
    std::unique_ptr<QDataStream> m_stream;
    qsizetype m_count = 0;
};
