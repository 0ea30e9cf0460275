#include "ZipArchive.h"

#include "MovieRow.h"

#include <QFile>

#include <zip.h>

bool looksLikeZip(QIODevice &file)
{
    // A local file header, or the end record alone of an empty archive.
    const QByteArray start = file.peek(4);
    return start == QByteArrayLiteral("PK\x03\x04") || start == QByteArrayLiteral("PK\x05\x06");
}

ZipMemberDevice::ZipMemberDevice(const QString &archivePath, const char *member)
{
    int error = 0;
    m_archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &error);
    if (!m_archive)
        throw TransferError{
            QStringLiteral("The file %1 is not a zip archive that can be read.").arg(archivePath)};
    zip_stat_t stat;
    if (zip_stat(m_archive, member, 0, &stat) != 0 || !(m_member = zip_fopen(m_archive, member, 0))) {
        zip_discard(m_archive);
        throw TransferError{QStringLiteral("The file %1 is not a Tellico file: it holds no %2.")
                                .arg(archivePath, QString::fromLatin1(member))};
    }
    m_size = (stat.valid & ZIP_STAT_SIZE) ? qint64(stat.size) : 0;
    open(QIODevice::ReadOnly);
}

ZipMemberDevice::~ZipMemberDevice()
{
    zip_fclose(m_member);
    zip_discard(m_archive);
}

qint64 ZipMemberDevice::bytesAvailable() const
{
    return QIODevice::bytesAvailable() + std::max<qint64>(m_size - m_read, 0);
}

qint64 ZipMemberDevice::readData(char *data, qint64 maxSize)
{
    const zip_int64_t n = zip_fread(m_member, data, zip_uint64_t(maxSize));
    if (n < 0) {
        setErrorString(QString::fromUtf8(zip_error_strerror(zip_file_get_error(m_member))));
        return -1;
    }
    m_read += n;
    return n;
}

void writeZipWithMember(const QString &archivePath, const char *member, const QString &sourcePath)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(archivePath).constData(),
                              ZIP_CREATE | ZIP_TRUNCATE, &error);
    const auto fail = [&](const char *why) {
        if (archive)
            zip_discard(archive);
        throw TransferError{
            QStringLiteral("The file %1 cannot be written: %2.").arg(archivePath, QString::fromUtf8(why))};
    };
    if (!archive) {
        zip_error_t zerror;
        zip_error_init_with_code(&zerror, error);
        fail(zip_error_strerror(&zerror));
    }
    zip_source_t *source = zip_source_file(archive, QFile::encodeName(sourcePath).constData(), 0, -1);
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
