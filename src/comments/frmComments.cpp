#include "frmComments.h"

#include "Look.h"
#include "Tarsel.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

frmComments::frmComments(const QString &text, std::function<void(const QString &)> accept,
                         QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_accept(std::move(accept))
{
    setObjectName(QStringLiteral("frmComments"));
    setWindowTitle(QStringLiteral("Comments"));
    setFont(SansSerifFont());
    setFixedSize(Twips(6540), Twips(4725));

    m_txtComments = new QPlainTextEdit(this);
    m_txtComments->setObjectName(QStringLiteral("txtComments"));
    m_txtComments->setAccessibleName(QStringLiteral("Comments"));
    m_txtComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtComments->setTabChangesFocus(true);
    PlaceTwips(m_txtComments, 60, 60, 6405, 3945);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTwips(m_cmdOK, 3870, 4140, 1245, 525);
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    PlaceTwips(m_cmdCancel, 5190, 4140, 1245, 525);
    for (QPushButton *button : {m_cmdOK, m_cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    QWidget::setTabOrder(m_txtComments, m_cmdOK);
    QWidget::setTabOrder(m_cmdOK, m_cmdCancel);
    connect(m_cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Load: centred, filled with the main window's text as it stands.
    CenterForm(this);
    m_txtComments->setPlainText(text);
    m_txtComments->document()->setModified(false);
    m_original = text;
    m_txtComments->setFocus();
}

void frmComments::cmdOK_Click()
{
    // An untouched text goes back exactly as it came, whatever line ends it holds.
    const bool edited = m_txtComments->document()->isModified();
    m_accept(edited ? m_txtComments->toPlainText() : m_original);
    accept();
    DoEvents();
}

void frmComments::cmdCancel_Click()
{
    reject();
    DoEvents();
}

void frmComments::keyPressEvent(QKeyEvent *event)
{
    // Neither Enter nor Escape is bound to a button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
