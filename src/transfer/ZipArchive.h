#pragma once

#include <QIODevice>

#include <memory>

#include <zlib.h>

struct zip;
struct zip_file;

// What one member may unpack to, far beyond any real collection: an archive that goes past
// either is refused while it is read, before it can fill the memory or the disk.
namespace ZipLimits
{
inline constexpr qint64 kMaxMemberSize = qint64(4) << 30;
inline constexpr qint64 kMaxRatio = 100;                   // unpacked : packed size,
inline constexpr qint64 kRatioFreeSize = qint64(16) << 20; // once past this much
} // namespace ZipLimits

// True when the file starts as a zip archive does.
bool looksLikeZip(QIODevice &file);

// One member of a zip archive, read as a stream: it is inflated as it is read, never held
// whole. Throws TransferError when the archive cannot be opened, lacks the member, or stores
// it encrypted or packed in a way other than stored or deflated. A read fails (errorString
// says why) past ZipLimits and, at the member's end, when its size or CRC is not the one the
// archive records.

class ZipMemberDevice : public QIODevice
{
  public:
    ZipMemberDevice(const QString &archivePath, const char *member);
    ~ZipMemberDevice() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 size() const override { return m_size; }
    qint64 position() const { return m_read; }
    // Reads what is left of the member, so that its checks are made; throws TransferError.
    void verifyToEnd();

  protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

  private:
    void checkMember(const QString &archivePath, const char *member);
    qint64 refuse(const QString &why);
    qint64 inflated(char *data, qint64 maxSize);
    qint64 checked(const char *data, qint64 n);
    QString damaged() const;
    QString m_memberName;
    QString m_archivePath;
    zip *m_archive = nullptr;
    zip_file *m_member = nullptr;
    qint64 m_size = 0;
    qint64 m_read = 0;
    qint64 m_packed = 0;
    quint32 m_crc = 0;
    quint32 m_expectedCrc = 0;
    bool m_crcKnown = false;
    // A deflated member is inflated here, not by libzip, so that a stream that ends before or
    // after the member's recorded end is seen as damaged.
    bool m_deflated = false;
    bool m_streamEnded = false;
    z_stream m_stream{};
    QByteArray m_input;
};

// Writes a zip archive at archivePath holding one member, the file at sourcePath. The archive
// appears under its name only once it is complete; a failure keeps any file that was there.
void writeZipWithMember(const QString &archivePath, const char *member, const QString &sourcePath);
