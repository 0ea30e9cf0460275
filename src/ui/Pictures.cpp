#include "Pictures.h"

#include "PictureColours.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QtMath>

#include <functional>

namespace
{

// Paints a picture into the square (0, 0) to (design, design).
using PaintFunction = std::function<void(QPainter &)>;

QImage Render(const QSize &size, qreal design, const PaintFunction &paint)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(size.width(), size.height());
    painter.translate((size.width() - side) / 2, (size.height() - side) / 2);
    painter.scale(side / design, side / design);
    paint(painter);
    return image;
}

// The disabled look: grey, lighter and partly transparent, as toolkits grey their icons.
QImage Greyed(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 112 + qGray(line[x]) * 143 / 255;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 3 / 5);
        }
    }
    return image;
}

// Draws its picture afresh for each size, device pixel ratio and mode it is asked for.
class PictureEngine : public QIconEngine
{
  public:
    PictureEngine(const QString &name, qreal design, PaintFunction paint)
        : m_name(name), m_design(design), m_paint(std::move(paint))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const bool greyed = mode == QIcon::Disabled;
        const QString key = QStringLiteral("reelwarden-%1-%2x%3-%4")
                                .arg(m_name)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(greyed);
        QPixmap picture;
        if (QPixmapCache::find(key, &picture))
            return picture;
        const QImage image = Render(size, m_design, m_paint);
        picture = QPixmap::fromImage(greyed ? Greyed(image) : image);
        QPixmapCache::insert(key, picture);
        return picture;
    }

    QIconEngine *clone() const override { return new PictureEngine(*this); }
    QString key() const override { return QStringLiteral("ReelwardenPicture"); }
    bool isNull() override { return false; }

  private:
    QString m_name;
    qreal m_design;
    PaintFunction m_paint;
};

struct Disc {
    qreal x, y, radius;
    QColor colour;
};

// The reel in a unit square, drawn with a margin, as icons are, so it sits clear of texts
// beside it: a dark disc, five windows around the hub, the hub.
QList<Disc> ReelDiscs()
{
    QList<Disc> discs{{0.5, 0.5, 0.38, kInk}};
    for (int i = 0; i < 5; ++i) {
        const qreal angle = qDegreesToRadians(i * 72.0);
        discs.append({0.5 + 0.22 * qSin(angle), 0.5 - 0.22 * qCos(angle), 0.1, kGold});
    }
    discs.append({0.5, 0.5, 0.07, kRed});
    return discs;
}

void PaintReel(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    for (const Disc &disc : ReelDiscs()) {
        painter.setBrush(disc.colour);
        painter.drawEllipse(QPointF(disc.x, disc.y), disc.radius, disc.radius);
    }
}

} // namespace

QIcon ProgramIcon()
{
    return QIcon(new PictureEngine(QStringLiteral("reel"), 1.0, PaintReel));
}

QImage ProgramIconImage(int size)
{
    return Render(QSize(size, size), 1.0, PaintReel);
}

QString ProgramIconSvg()
{
    constexpr qreal side = 256;
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                                 "height=\"256\" viewBox=\"0 0 256 256\">\n"
                                 "  <title>Reelwarden</title>\n");
    for (const Disc &disc : ReelDiscs()) {
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(disc.x * side, 0, 'f', 2)
                   .arg(disc.y * side, 0, 'f', 2)
                   .arg(disc.radius * side, 0, 'f', 2)
                   .arg(disc.colour.name());
    }
    return svg + QStringLiteral("</svg>\n");
}

QIcon ToolbarIcon(ToolbarPicture picture)
{
    return QIcon(
        new PictureEngine(QString::number(int(picture)), 16.0,
                          [picture](QPainter &painter) { PaintToolbarPicture(painter, picture); }));
}
