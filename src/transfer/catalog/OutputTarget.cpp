#include "OutputTarget.h"

#include "ForeignFile.h"
#include "MovieRow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace
{

const QString kPrefix = QStringLiteral(".reelwarden-");

[[noreturn]] void refuse(const QString &message)
{
    throw TransferError{message};
}

QString systemError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG
               ? QStringLiteral("the disk is full")
               : QString::fromLocal8Bit(std::strerror(error));
}

bool lstatOf(const QString &path, struct stat &info)
{
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Removes the staging files of runs that are gone (killed, or the machine stopped).
void removeLeftovers(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({kPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        bool number = false;
        const qint64 pid = name.mid(kPrefix.size()).section(u'-', 0, 0).toLongLong(&number);
        struct stat info;
        if (number && pid > 0 && pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 &&
            errno == ESRCH && lstatOf(dir.filePath(name), info) && S_ISREG(info.st_mode))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

QString TemporaryBeside(const QString &path)
{
    return QFileInfo(path).absolutePath() + QLatin1Char('/') + kPrefix +
           QString::number(::getpid()) + QStringLiteral("-XXXXXX.part");
}

bool DiskIsFull(const QString &folder, const QString &message, int error)
{
    for (const int full : {ENOSPC, EFBIG, EDQUOT}) {
        if (error == full ||
            message.contains(QString::fromLocal8Bit(std::strerror(full)), Qt::CaseInsensitive))
            return true;
    }
    struct statvfs space;
    return ::statvfs(QFile::encodeName(folder).constData(), &space) == 0 &&
           quint64(space.f_bavail) * space.f_frsize < (quint64(64) << 10);
}

OutputTarget::OutputTarget(const QString &path, bool replace, const QString &catalogPath,
                           const char *task)
    : m_path(path), m_replace(replace)
{
    check(catalogPath, task);
    const QString folder = QFileInfo(path).absolutePath();
    removeLeftovers(folder);
    QTemporaryFile staging(TemporaryBeside(path));
    if (!staging.open())
        refuse(QStringLiteral("%1 cannot be written in the folder %2: %3.")
                   .arg(ForeignFileName(path), QDir::toNativeSeparators(folder),
                        staging.errorString()));
    staging.setAutoRemove(false);
    m_staging = staging.fileName();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(m_staging).constData(), 0666 & ~mask); // as a new file is made
}

void OutputTarget::check(const QString &catalogPath, const char *task) const
{
    const QString name = ForeignFileName(m_path);
    const QFileInfo info(m_path);
    if (!info.absoluteDir().exists())
        refuse(QStringLiteral("The folder %1 does not exist.")
                   .arg(QDir::toNativeSeparators(info.absolutePath())));
    struct stat target, catalog;
    if (!lstatOf(m_path, target))
        return;
    if (S_ISDIR(target.st_mode))
        refuse(QStringLiteral("%1 is a folder; the %2 needs a file name.")
                   .arg(name, QLatin1String(task)));
    if (!S_ISREG(target.st_mode) && !S_ISLNK(target.st_mode))
        refuse(QStringLiteral("%1 is a device, pipe or socket, not a file; only a file is ever "
                              "replaced.")
                   .arg(name));
    if (S_ISREG(target.st_mode) &&
        ::stat(QFile::encodeName(catalogPath).constData(), &catalog) == 0 &&
        catalog.st_dev == target.st_dev && catalog.st_ino == target.st_ino)
        refuse(QStringLiteral("%1 is the catalog itself; a%2 %3 goes to another file.")
                   .arg(name, QLatin1String(task[0] == 'e' ? "n" : ""), QLatin1String(task)));
    if (!m_replace)
        refuse(QStringLiteral("%1 already exists; --force replaces it.").arg(name));
}

OutputTarget::~OutputTarget()
{
    if (m_committed || m_staging.isEmpty())
        return;
    QFile::remove(m_staging);
    QFile::remove(m_staging + QStringLiteral("-journal"));
}

// Without `replace`, renameat2's RENAME_NOREPLACE (or, where the file system lacks it, link())
// never takes a name in use; with it, rename() replaces a file or a link, never a link's target.
void OutputTarget::commit()
{
    const QByteArray from = QFile::encodeName(m_staging);
    const QByteArray to = QFile::encodeName(m_path);
    struct stat old;
    if (m_replace && lstatOf(m_path, old) && S_ISREG(old.st_mode))
        ::chmod(from.constData(), old.st_mode & 07777); // a replaced file keeps its permissions
    int done = 0;
    if (m_replace) {
        done = std::rename(from.constData(), to.constData());
    } else {
        done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (done != 0 && (errno == EINVAL || errno == ENOSYS) &&
            (done = ::link(from.constData(), to.constData())) == 0)
            ::unlink(from.constData());
    }
    const int error = errno;
    if (done != 0 && error == EEXIST)
        refuse(
            QStringLiteral("%1 already exists; --force replaces it.").arg(ForeignFileName(m_path)));
    if (done != 0)
        refuse(QStringLiteral("%1 cannot be written: %2.")
                   .arg(ForeignFileName(m_path), systemError(error)));
    m_committed = true;
}
