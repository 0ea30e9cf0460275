#include "ZipArchive.h"

#include "MovieRow.h"

#include <QFile>

#include <zip.h>

#include <algorithm>
#include <climits>

bool looksLikeZip(QIODevice &file)
{
    // A local file header, or the end record alone of an empty archive.
    const QByteArray start = file.peek(4);
    return start == QByteArrayLiteral("PK\x03\x04") || start == QByteArrayLiteral("PK\x05\x06");
}

namespace
{

QString methodName(zip_uint16_t method)
{
    switch (method) {
    case ZIP_CM_BZIP2:
        return QStringLiteral("bzip2");
    case ZIP_CM_LZMA:
    case ZIP_CM_LZMA2:
        return QStringLiteral("LZMA");
    case ZIP_CM_XZ:
        return QStringLiteral("xz");
    case 93: // Zstandard, named in libzip 1.8 and later
        return QStringLiteral("Zstandard");
    default:
        return QStringLiteral("method %1").arg(method);
    }
}

} // namespace

ZipMemberDevice::ZipMemberDevice(const QString &archivePath, const char *member)
    : m_memberName(QString::fromLatin1(member)), m_archivePath(archivePath)
{
    int error = 0;
    m_archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &error);
    if (!m_archive)
        throw TransferError{
            QStringLiteral("The file %1 is not a zip archive that can be read.").arg(archivePath)};
    try {
        checkMember(archivePath, member);
    } catch (...) {
        if (m_deflated)
            inflateEnd(&m_stream);
        zip_discard(m_archive);
        throw;
    }
    open(QIODevice::ReadOnly);
}

void ZipMemberDevice::checkMember(const QString &archivePath, const char *member)
{
    zip_stat_t stat;
    if (zip_stat(m_archive, member, 0, &stat) != 0)
        throw TransferError{QStringLiteral("The file %1 is not a Tellico file: it holds no %2.")
                                .arg(archivePath, m_memberName)};
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        throw TransferError{QStringLiteral("The file %1 is encrypted with a password; only "
                                           "unencrypted files can be read.")
                                .arg(archivePath)};
    if ((stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method != ZIP_CM_STORE &&
        stat.comp_method != ZIP_CM_DEFLATE)
        throw TransferError{QStringLiteral("The file %1 packs its %2 with %3 compression, which "
                                           "cannot be read; only stored or deflated members can.")
                                .arg(archivePath, m_memberName, methodName(stat.comp_method))};
    m_size =
        (stat.valid & ZIP_STAT_SIZE) ? qint64(std::min<zip_uint64_t>(stat.size, INT64_MAX)) : 0;
    m_packed = (stat.valid & ZIP_STAT_COMP_SIZE)
                   ? qint64(std::min<zip_uint64_t>(stat.comp_size, INT64_MAX))
                   : 0;
    m_crcKnown = stat.valid & ZIP_STAT_CRC;
    m_expectedCrc = stat.crc;
    if (m_size > ZipLimits::kMaxMemberSize)
        throw TransferError{QStringLiteral("The file %1 cannot be read: its %2 unpacks to more "
                                           "than %3 bytes, far beyond any real collection.")
                                .arg(archivePath, m_memberName)
                                .arg(ZipLimits::kMaxMemberSize)};
    m_deflated = stat.comp_method == ZIP_CM_DEFLATE;
    if (m_deflated && inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
        throw TransferError{
            QStringLiteral("The file %1 cannot be read: out of memory.").arg(archivePath)};
    if (!(m_member = zip_fopen(m_archive, member, ZIP_FL_COMPRESSED)))
        throw TransferError{QStringLiteral("The file %1 cannot be read: %2.")
                                .arg(archivePath, QString::fromUtf8(zip_strerror(m_archive)))};
}

ZipMemberDevice::~ZipMemberDevice()
{
    if (m_deflated)
        inflateEnd(&m_stream);
    if (m_member)
        zip_fclose(m_member);
    zip_discard(m_archive);
}

qint64 ZipMemberDevice::bytesAvailable() const
{
    return QIODevice::bytesAvailable() + std::max<qint64>(m_size - m_read, 0);
}

qint64 ZipMemberDevice::refuse(const QString &why)
{
    setErrorString(why);
    return -1;
}

QString ZipMemberDevice::damaged() const
{
    return QStringLiteral("its %1 does not match the size and checksum (CRC) the archive records; "
                          "the file is damaged")
        .arg(m_memberName);
}

qint64 ZipMemberDevice::readData(char *data, qint64 maxSize)
{
    if (maxSize <= 0)
        return 0;
    maxSize = std::min<qint64>(maxSize, 1 << 20);
    const qint64 n =
        m_deflated ? inflated(data, maxSize) : zip_fread(m_member, data, zip_uint64_t(maxSize));
    if (n < 0 && errorString().isEmpty())
        return refuse(QStringLiteral("its %1 cannot be read (%2)")
                          .arg(m_memberName, QString::fromUtf8(zip_error_strerror(
                                                 zip_file_get_error(m_member)))));
    return n < 0 ? -1 : checked(data, n);
}

// Inflates what the archive holds packed; more packed data after the stream's end, or an end
// of the packed data before it, is damage.
qint64 ZipMemberDevice::inflated(char *data, qint64 maxSize)
{
    m_stream.next_out = reinterpret_cast<Bytef *>(data);
    m_stream.avail_out = uInt(maxSize);
    while (m_stream.avail_out == uInt(maxSize) && !m_streamEnded) {
        if (m_stream.avail_in == 0) {
            m_input.resize(1 << 16);
            const zip_int64_t got =
                zip_fread(m_member, m_input.data(), zip_uint64_t(m_input.size()));
            if (got <= 0)
                return got < 0 ? -1 : refuse(damaged());
            m_stream.next_in = reinterpret_cast<Bytef *>(m_input.data());
            m_stream.avail_in = uInt(got);
        }
        const int rc = inflate(&m_stream, Z_NO_FLUSH);
        m_streamEnded = rc == Z_STREAM_END;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            return refuse(damaged());
    }
    if (m_streamEnded && (m_stream.avail_in != 0 || zip_fread(m_member, m_input.data(), 1) != 0))
        return refuse(damaged());
    return maxSize - m_stream.avail_out;
}

qint64 ZipMemberDevice::checked(const char *data, qint64 n)
{
    m_crc = quint32(crc32(m_crc, reinterpret_cast<const Bytef *>(data), uInt(n)));
    m_read += n;
    if (m_read > ZipLimits::kMaxMemberSize ||
        (m_read > ZipLimits::kRatioFreeSize && m_read > ZipLimits::kMaxRatio * m_packed))
        return refuse(QStringLiteral("its %1 unpacks to more than %2 times its packed size, far "
                                     "beyond any real collection")
                          .arg(m_memberName)
                          .arg(ZipLimits::kMaxRatio));
    if (m_read > m_size || (n == 0 && (m_read != m_size || (m_crcKnown && m_crc != m_expectedCrc))))
        return refuse(damaged());
    return n;
}

void ZipMemberDevice::verifyToEnd()
{
    char buffer[1 << 14];
    for (qint64 n = 1; n > 0;) {
        n = read(buffer, sizeof buffer);
        if (n < 0)
            throw TransferError{QStringLiteral("The file %1 cannot be read: %2.")
                                    .arg(m_archivePath, errorString())};
    }
}

void writeZipWithMember(const QString &archivePath, const char *member, const QString &sourcePath)
{
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    const auto fail = [&](const char *why) {
        if (archive)
            zip_discard(archive);
        throw TransferError{QStringLiteral("The file %1 cannot be written: %2.")
                                .arg(archivePath, QString::fromUtf8(why))};
    };
    if (!archive) {
        zip_error_t zerror;
        zip_error_init_with_code(&zerror, error);
        fail(zip_error_strerror(&zerror));
    }
    zip_source_t *source =
        zip_source_file(archive, QFile::encodeName(sourcePath).constData(), 0, -1);
    const zip_int64_t index = source ? zip_file_add(archive, member, source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
        if (source)
            zip_source_free(source);
        fail(zip_error_strerror(zip_get_error(archive)));
    }
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6);
    // zip_close writes a temporary file beside the archive and renames it into place.
    if (zip_close(archive) != 0)
        fail(zip_error_strerror(zip_get_error(archive)));
}
