#include "StderrCapture.h"

#include <sys/stat.h>
#include <unistd.h>

StderrCapture::StderrCapture()
{
    capture_ = std::tmpfile();
    if (!capture_)
        return; // nothing to capture into: the chatter stays visible, which is harmless
    std::fflush(stderr);
    original_ = ::dup(STDERR_FILENO);
    if (original_ < 0 || ::dup2(::fileno(capture_), STDERR_FILENO) < 0) {
        std::fclose(capture_);
        capture_ = nullptr;
    }
}

StderrCapture::~StderrCapture()
{
    if (!capture_)
        return;
    std::fflush(stderr);
    ::dup2(original_, STDERR_FILENO);
    ::close(original_);
    std::fclose(capture_);
}

bool StderrCapture::any() const
{
    if (!capture_)
        return false;
    std::fflush(stderr);
    struct stat info {
    };
    return ::fstat(::fileno(capture_), &info) == 0 && info.st_size > 0;
}

std::string StderrCapture::firstLine() const
{
    if (!any())
        return {};
    std::string line(512, '\0');
    const ssize_t got = ::pread(::fileno(capture_), line.data(), line.size(), 0);
    line.resize(got > 0 ? std::size_t(got) : 0);
    const std::size_t end = line.find('\n');
    if (end != std::string::npos)
        line.resize(end);
    return line;
}

void StderrCapture::tell(std::string_view text) const
{
    const int fd = capture_ ? original_ : STDERR_FILENO;
    std::string line(text);
    line += '\n';
    // A person may not be watching; a failed write changes nothing for the caller.
    [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
}
