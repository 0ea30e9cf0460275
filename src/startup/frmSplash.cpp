#include "frmSplash.h"

#include "Look.h"
#include "Tarsel.h"

#include <QLabel>
#include <QPalette>

namespace
{

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect twips,
                  qreal points, QColor colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(ArialFont(points, true));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PlaceTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    // Sized to its text, centred on the width laid out for it.
    const QSize hint = label->sizeHint();
    if (hint.width() > label->width() || hint.height() > label->height()) {
        const QRect r = label->geometry();
        const int w = std::max(r.width(), hint.width());
        label->setGeometry(r.center().x() - w / 2, r.y(), w, std::max(r.height(), hint.height()));
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowIcon(ProgramIcon());
    setFixedSize(Twips(5670), Twips(2580));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);

    // A fixed dialog border drawn by the window itself, as it has no title bar.
    auto *border = new QLabel(this);
    border->setFrameStyle(QFrame::Panel | QFrame::Raised);
    border->setLineWidth(2);
    border->setGeometry(rect());

    makeLabel(this, QStringLiteral("Label1(0)"), QStringLiteral("Reelwarden"),
              QRect(578, 60, 4470, 645), 27, QColor(255, 0, 0));
    makeLabel(this, QStringLiteral("Label1(1)"), QStringLiteral("developed by"),
              QRect(2033, 930, 1575, 285), 12, QColor(0, 255, 255));
    makeLabel(this, QStringLiteral("Label1(2)"), QStringLiteral("Orvenna     Solutions"),
              QRect(225, 1260, 5205, 555), 24, QColor(0, 255, 255));
    m_lblProgress =
        makeLabel(this, QStringLiteral("lblProgress"), QStringLiteral("Setting Preferences..."),
                  QRect(1388, 2130, 2850, 315), 13.5, QColor(255, 255, 0));

    auto *imgAbout = new QLabel(this);
    imgAbout->setObjectName(QStringLiteral("imgAbout"));
    imgAbout->setPixmap(ProgramIcon().pixmap(32, 32));
    imgAbout->setToolTip(QStringLiteral("Click here for version information"));
    PlaceTwips(imgAbout, 2685, 1290, 480, 480);
}

void frmSplash::Load()
{
    CenterForm(this);
    show();
    repaint();
}

void frmSplash::SetProgress(const QString &text)
{
    m_lblProgress->setText(text);
    m_lblProgress->repaint();
}
