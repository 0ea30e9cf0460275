#include "ProgressWindow.h"

#include "Tarsel.h"

#include <QApplication>
#include <QProgressDialog>

namespace
{
constexpr int kSteps = 1000;
} // namespace

ProgressWindow::ProgressWindow(QWidget *parent, const QString &label, int delayMs)
    : m_parent(parent), m_label(label), m_delayMs(delayMs)
{
    m_since.start();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::update(qint64 done, qint64 total)
{
    if (!m_dialog && m_since.elapsed() < m_delayMs)
        return;
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(m_label, QStringLiteral("Cancel"), 0, kSteps,
                                                     m_parent);
        m_dialog->setObjectName(QStringLiteral("frmProgress"));
        m_dialog->setWindowTitle(QStringLiteral("Reelwarden"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        ShowHourglass(false); // Cancel is to be clicked
        m_dialog->show();
    }
    if (total > 0)
        m_dialog->setValue(int(qBound(qint64(0), done * kSteps / total, qint64(kSteps))));
    else
        m_dialog->setMaximum(0); // a moving bar: how much is left is not known
    QCoreApplication::processEvents();
    if (m_dialog->wasCanceled())
        throw Cancelled{};
}
