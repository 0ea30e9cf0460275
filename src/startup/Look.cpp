#include "Look.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

void SetUpFonts()
{
    for (const char *name : {"MS Sans Serif", "Arial"}) {
        QFont::insertSubstitutions(QString::fromLatin1(name),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("DejaVu Sans")});
    }
}

QFont SansSerifFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont ArialFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        // A film reel: a dark disc with five windows and a hub.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 48));
        // Drawn with a margin, as icons are, so it sits clear of texts beside it.
        painter.drawEllipse(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76));
        painter.setBrush(QColor(230, 200, 60));
        for (int i = 0; i < 5; ++i) {
            painter.save();
            painter.translate(s / 2, s / 2);
            painter.rotate(i * 72.0);
            painter.drawEllipse(QRectF(-s * 0.1, -s * 0.32, s * 0.2, s * 0.2));
            painter.restore();
        }
        painter.setBrush(QColor(200, 30, 30));
        painter.drawEllipse(QRectF(s * 0.43, s * 0.43, s * 0.14, s * 0.14));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ToolbarIcon(const QString &themeName, QChar glyph)
{
    if (QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 60, 140), 1));
    painter.setBrush(QColor(220, 230, 250));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(20, 40, 110));
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(glyph));
    return QIcon(pixmap);
}
