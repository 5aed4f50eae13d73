#include "ui/main_window/picture2.h"

#include "ui/main_window/qt_color.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <stdexcept>

namespace rainbow::ui {

Picture2::Picture2(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::WindowText);
    setAutoFillBackground(true);
}

void Picture2::setScale(double left, double top, double right, double bottom)
{
    if (left == right || top == bottom)
        return;
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

int Picture2::pixelColumn(double x) const
{
    const double width = contentsRect().width();
    const double span = m_right == m_left ? width : m_right - m_left;
    return int(std::floor((x - m_left) * width / span + 0.5));
}

int Picture2::pixelRow(double y) const
{
    const double height = contentsRect().height();
    const double span = m_bottom == m_top ? height : m_bottom - m_top;
    return int(std::floor((y - m_top) * height / span + 0.5));
}

void Picture2::ensureDrawing()
{
    // The geometry is known before the first show, when the load step already draws.
    const QSize size = contentsRect().size();
    if (m_drawing.size() == size)
        return;
    QImage drawing(size, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    if (!m_drawing.isNull()) {
        QPainter painter(&drawing);
        painter.drawImage(0, 0, m_drawing);
    }
    m_drawing = std::move(drawing);
}

void Picture2::cls()
{
    ensureDrawing();
    m_drawing.fill(Qt::transparent);
    update();
}

void Picture2::line(double x1, double y1, double x2, double y2, PackedColor color)
{
    const QPoint from(pixelColumn(x1), pixelRow(y1));
    const QPoint to(pixelColumn(x2), pixelRow(y2));
    if (from.x() != to.x() && from.y() != to.y())
        throw std::invalid_argument("slanted line");
    if (from == to)
        return;
    ensureDrawing();
    // From `from` up to, not including, `to`.
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
    const QRgb ink = toQColor(color).rgba();
    const QRect bounds = m_drawing.rect();
    for (QPoint at = from; at != to; at += step) {
        if (bounds.contains(at))
            m_drawing.setPixel(at, ink);
    }
    update();
}

void Picture2::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    ensureDrawing();
    m_drawing.fill(Qt::transparent);
    update();
}

QImage Picture2::image() const
{
    QImage shown(contentsRect().size(), QImage::Format_RGB32);
    QPainter painter(&shown);
    painter.fillRect(shown.rect(), palette().color(QPalette::Base));
    paintClientArea(painter);
    return shown;
}

void Picture2::paintClientArea(QPainter &painter) const
{
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
    if (!m_drawing.isNull())
        painter.drawImage(0, 0, m_drawing);
}

void Picture2::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.translate(contentsRect().topLeft());
    paintClientArea(painter);
}

void Picture2::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    ensureDrawing();
}

} // namespace rainbow::ui
