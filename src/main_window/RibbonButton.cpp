#include "RibbonButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

RibbonButton::RibbonButton(int index, const QIcon &icon, QWidget *parent)
    : QWidget(parent), m_index(index), m_icon(icon)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
}

void RibbonButton::setValue(bool pressed)
{
    if (m_value == pressed)
        return;
    m_value = pressed;
    update();
    emit Click(m_index, pressed);
}

void RibbonButton::setBevelWidth(int width)
{
    if (m_bevelWidth == width)
        return;
    m_bevelWidth = width;
    update();
}

void RibbonButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QPalette &pal = palette();
    if (m_value || m_bevelWidth > 0) {
        // Raised: light top-left edge, dark bottom-right; pressed: the other way round.
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Dark);
        painter.setPen(m_value ? dark : light);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(m_value ? light : dark);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QPixmap pixmap = m_icon.pixmap(QSize(16, 16), devicePixelRatioF(), mode);
    QPoint at((width() - 16) / 2, (height() - 16) / 2);
    if (m_value)
        at += QPoint(1, 1);
    painter.drawPixmap(at, pixmap);
}

void RibbonButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setValue(true);
}

void RibbonButton::mouseMoveEvent(QMouseEvent *event)
{
    // Taken here: the container must not see it, or it would put the button out again.
    event->accept();
    emit mouseMoved(m_index);
}

void RibbonButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        setValue(true);
        return;
    }
    QWidget::keyPressEvent(event);
}
