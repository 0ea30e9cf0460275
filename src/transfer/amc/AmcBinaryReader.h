#pragma once

#include "AmcMovie.h"
#include "ByteInput.h"

#include <memory>

// The binary catalog of Ant Movie Catalog 3.1 to 4.2: a 65-byte header naming the version,
// the owner's details, from 4.0 the custom fields' definitions, then the movies to the end of
// the file. Numbers are little-endian 32-bit, texts Windows-1252 after a 32-bit length.
class AmcBinaryReader : public AmcReaderBase
{
  public:
    AmcBinaryReader(const QString &path, std::unique_ptr<QFile> file);
    std::optional<MovieRow> next() override;
    qint64 bytesRead() const override { return m_input.offset(); }
    qint64 bytesTotal() const override { return m_input.size(); }

  private:
    void readHeader();
    void readCustomFieldDefinitions();
    AmcMovie readMovie();
    void readNumbers(AmcMovie &movie);
    void readTexts(AmcMovie &movie);
    QString text(const char *what);
    void skipPicture();
    void skipExtras();

    QString m_path;
    std::unique_ptr<QFile> m_file;
    ByteInput m_input;
    int m_version = 0; // 35 for 3.5
    QStringList m_customNames;
    int m_movies = 0;
    qint64 m_movieText = 0; // bytes of text of the movie being read
};
