#include "Progress.h"

#include <cstdio>
#include <unistd.h>

namespace
{

constexpr int kBarWidth = 30;
constexpr int kRedrawMs = 100;

} // namespace

Progress::Progress(const QString &label) : m_label(label), m_terminal(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress()
{
    end();
}

void Progress::show(qint64 done, qint64 total)
{
    if (!m_terminal || total <= 0 || (m_drawn && m_sinceDrawn.elapsed() < kRedrawMs))
        return;
    const qint64 percent = qBound(qint64(0), done * 100 / total, qint64(100));
    const int filled = int(percent * kBarWidth / 100);
    const QString bar = QStringLiteral("\r%1 [%2%3] %4%")
                            .arg(m_label, QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                            .arg(percent, 3);
    std::fputs(bar.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    m_drawn = true;
    m_sinceDrawn.start();
}

void Progress::end()
{
    if (!m_drawn)
        return;
    std::fprintf(stderr, "\r%*s\r", int(m_label.size()) + kBarWidth + 8, "");
    std::fflush(stderr);
    m_drawn = false;
}
