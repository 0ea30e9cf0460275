#pragma once

#include <QString>

// Where an export or a backup puts its file. Only a regular file is ever replaced (and only
// when `replace`); a folder, device, pipe or socket is refused; a symbolic link is never
// written through: without `replace` it counts as a name in use (a dangling one too), with
// `replace` the link itself is replaced. The file is written complete under a staging name in
// the same folder, then put under its name in one step; nothing else is ever written there.
// Staging names start ".reelwarden-PID-": what a killed run left is removed by the next run
// in that folder. `task` names the work in messages ("export", "backup").
class OutputTarget
{
  public:
    // Throws TransferError when the name cannot be written.
    OutputTarget(const QString &path, bool replace, const QString &catalogPath, const char *task);
    ~OutputTarget(); // removes the staging file and what was made beside it, unless committed
    OutputTarget(const OutputTarget &) = delete;
    OutputTarget &operator=(const OutputTarget &) = delete;

    // An empty file of this process's own, to write the complete file to.
    const QString &stagingPath() const { return m_staging; }
    // Puts the staged file under the name; throws TransferError (then nothing has changed).
    void commit();

  private:
    void check(const QString &catalogPath, const char *task) const;
    QString m_path;
    QString m_staging;
    bool m_replace;
    bool m_committed = false;
};

// A template for QTemporaryFile in the folder of `path`, of a name OutputTarget removes when
// a killed run leaves it behind.
QString TemporaryBeside(const QString &path);

// Whether a write that failed with `message` failed for want of space in `folder`: the
// message gives the system's reason, the write's last system error (`error`, errno taken
// right after the failure) says so, or the folder's file system has (next to) none left.
bool DiskIsFull(const QString &folder, const QString &message, int error);
