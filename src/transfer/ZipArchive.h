#pragma once

#include <QIODevice>

#include <memory>

struct zip;
struct zip_file;

// True when the file starts as a zip archive does.
bool looksLikeZip(QIODevice &file);

// One member of a zip archive, read as a stream: it is inflated as it is read, never held
// whole. Throws TransferError when the archive cannot be opened or lacks the member.
class ZipMemberDevice : public QIODevice
{
  public:
    ZipMemberDevice(const QString &archivePath, const char *member);
    ~ZipMemberDevice() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 size() const override { return m_size; }
    qint64 position() const { return m_read; }

  protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

  private:
    zip *m_archive = nullptr;
    zip_file *m_member = nullptr;
    qint64 m_size = 0;
    qint64 m_read = 0;
};

// Writes a zip archive at archivePath holding one member, the file at sourcePath. The archive
// appears under its name only once it is complete; a failure keeps any file that was there.
void writeZipWithMember(const QString &archivePath, const char *member, const QString &sourcePath);
