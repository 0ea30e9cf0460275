#include "ReaderProcess.h"

#include "AccessColumns.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace
{

// Far beyond any real catalog; a damaged file that makes the reader repeat rows forever
// must not fill the memory before the time limit comes.
constexpr qsizetype kMaxOutputBytes = qsizetype(1) << 30;

enum class Ending { Finished, TimedOut, TooMuchOutput };

Ending waitWithEvents(QProcess &process, QByteArray &output, int timeoutMs)
{
    Ending ending = Ending::Finished;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        ending = Ending::TimedOut;
        process.kill();
    });
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        output += process.readAllStandardOutput();
        if (output.size() > kMaxOutputBytes && ending == Ending::Finished) {
            ending = Ending::TooMuchOutput;
            process.kill();
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    output += process.readAllStandardOutput();
    return ending;
}

// Without an application object there is no event loop to run; block instead.
Ending waitBlocking(QProcess &process, QByteArray &output, int timeoutMs)
{
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        return Ending::TimedOut;
    }
    output += process.readAllStandardOutput();
    return Ending::Finished;
}

} // namespace

AccessTableRead ReadAccessTable(const QString &readerProgram, const QString &path,
                                const QString &table, const QStringList &columns, int timeoutMs)
{
    QProcess process;
    process.setProgram(readerProgram);
    process.setArguments(QStringList{path, table} + columns);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        AccessTableRead read;
        read.outcome = AccessTableRead::Outcome::ReaderMissing;
        read.detail = process.errorString();
        return read;
    }

    QByteArray output;
    const Ending ending = QCoreApplication::instance() ? waitWithEvents(process, output, timeoutMs)
                                                       : waitBlocking(process, output, timeoutMs);
    if (ending == Ending::TimedOut) {
        AccessTableRead read;
        read.outcome = AccessTableRead::Outcome::TimedOut;
        return read;
    }
    if (ending == Ending::TooMuchOutput || process.exitStatus() != QProcess::NormalExit)
        return {};

    AccessTableRead read = ParseReaderOutput(output, int(columns.size()));
    // A clean stream from a reader that then reported failure is not to be trusted.
    if (read.outcome == AccessTableRead::Outcome::Complete && process.exitCode() != 0)
        return {};
    return read;
}

QString ReaderProgramPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QString::fromLatin1(kReaderProgramName));
}

AccessTableRead ReadMoviesTable(const QString &readerProgram, const QString &path, int timeoutMs)
{
    QStringList columns;
    for (std::string_view name : AccessColumns::kMovieColumns)
        columns << QString::fromLatin1(name.data(), qsizetype(name.size()));
    const std::string_view table = AccessColumns::kMoviesTable;
    return ReadAccessTable(readerProgram, path,
                           QString::fromLatin1(table.data(), qsizetype(table.size())), columns,
                           timeoutMs);
}
