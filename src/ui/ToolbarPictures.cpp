// The seven toolbar pictures, on a 16 by 16 grid. Edges lie on half units so that one-unit
// ink lines fall on whole pixels at a device pixel ratio of 1 and of 2.
#include "PictureColours.h"
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

QPen Ink(qreal width = 1.0, Qt::PenCapStyle cap = Qt::SquareCap)
{
    return QPen(kInk, width, Qt::SolidLine, cap, Qt::MiterJoin);
}

// A shape filled with `fill` and edged in ink, one unit wide.
void Outlined(QPainter &painter, const QPainterPath &shape, const QColor &fill)
{
    painter.setPen(Ink());
    painter.setBrush(fill);
    painter.drawPath(shape);
}

void Outlined(QPainter &painter, const QRectF &rect, const QColor &fill)
{
    QPainterPath shape;
    shape.addRect(rect);
    Outlined(painter, shape, fill);
}

// A thick line in two passes: the ink edge one unit wider on each side, then the core.
void BandEdge(QPainter &painter, const QPainterPath &line, qreal width)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kInk, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
}

void BandCore(QPainter &painter, const QPainterPath &line, qreal width, const QColor &colour)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
}

void PaintAdd(QPainter &painter)
{
    QPainterPath plus;
    plus.setFillRule(Qt::WindingFill);
    plus.addRect(QRectF(1.5, 5.5, 13, 5));
    plus.addRect(QRectF(5.5, 1.5, 5, 13));
    Outlined(painter, plus.simplified(), kGold);
}

void PaintDelete(QPainter &painter)
{
    QPainterPath cross;
    cross.moveTo(3.5, 3.5);
    cross.lineTo(12.5, 12.5);
    cross.moveTo(12.5, 3.5);
    cross.lineTo(3.5, 12.5);
    BandEdge(painter, cross, 3);
    BandCore(painter, cross, 3, kRed);
}

// A diskette: the dark case with a cut corner, the golden shutter, the paper label.
void PaintSave(QPainter &painter)
{
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    Outlined(painter, body, kInk);
    Outlined(painter, QRectF(4.5, 1.5, 7, 5), kGold);
    painter.fillRect(QRectF(8, 2.5, 2, 3), kInk);
    Outlined(painter, QRectF(3.5, 8.5, 9, 6), kPaper);
    painter.fillRect(QRectF(5, 10, 6, 1), kRed);
    painter.fillRect(QRectF(5, 12, 6, 1), kRed);
}

// An arrow that turns back to the left.
void PaintUndo(QPainter &painter)
{
    QPainterPath shaft;
    shaft.moveTo(10.5, 13.5);
    shaft.cubicTo(15.5, 11, 14.5, 5.5, 6, 6.5);
    QPainterPath head;
    head.moveTo(1, 6.5);
    head.lineTo(7, 1.5);
    head.lineTo(7, 11.5);
    head.closeSubpath();
    BandEdge(painter, shaft, 2.5);
    Outlined(painter, head, kGold);
    BandCore(painter, shaft, 2.5, kGold);
}

// A printer with a sheet going in and a printed one coming out.
void PaintPrint(QPainter &painter)
{
    Outlined(painter, QRectF(4.5, 1.5, 7, 5), kPaper);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
    Outlined(painter, body, kInk);
    painter.fillRect(QRectF(11, 7, 2, 1.5), kGold);
    Outlined(painter, QRectF(4.5, 9.5, 7, 5), kPaper);
    painter.fillRect(QRectF(6, 11, 4, 1), kInk);
    painter.fillRect(QRectF(6, 13, 3, 1), kRed);
}

// A magnifying glass: a golden ring round a pale lens, and a dark handle.
void PaintSearch(QPainter &painter)
{
    painter.setPen(Ink(3.5, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(13.5, 13.5));
    QPainterPath ring;
    ring.addEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawPath(ring);
    BandEdge(painter, ring, 1.5);
    BandCore(painter, ring, 1.5, kGold);
}

// An eraser, its red rubbing end down on the line it clears.
void PaintClear(QPainter &painter)
{
    painter.setPen(Ink());
    painter.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
    painter.save();
    painter.translate(8.5, 7.5);
    painter.rotate(-45);
    Outlined(painter, QRectF(-1.5, -2.75, 7.5, 5.5), kGold);
    Outlined(painter, QRectF(-6, -2.75, 4.5, 5.5), kRed);
    painter.restore();
}

} // namespace

void PaintToolbarPicture(QPainter &painter, ToolbarPicture picture)
{
    switch (picture) {
    case ToolbarPicture::Add:
        PaintAdd(painter);
        break;
    case ToolbarPicture::Delete:
        PaintDelete(painter);
        break;
    case ToolbarPicture::Save:
        PaintSave(painter);
        break;
    case ToolbarPicture::Undo:
        PaintUndo(painter);
        break;
    case ToolbarPicture::Print:
        PaintPrint(painter);
        break;
    case ToolbarPicture::Search:
        PaintSearch(painter);
        break;
    case ToolbarPicture::Clear:
        PaintClear(painter);
        break;
    }
}
