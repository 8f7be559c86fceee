#include "app/WarningPicture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

QPixmap warningPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QPainterPath triangle;
    triangle.moveTo(s / 2, s * 0.06);
    triangle.lineTo(s * 0.96, s * 0.92);
    triangle.lineTo(s * 0.04, s * 0.92);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::black, s * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 214, 0));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(s * 0.455, s * 0.3, s * 0.09, s * 0.38), s * 0.04, s * 0.04);
    painter.drawEllipse(QPointF(s / 2, s * 0.79), s * 0.055, s * 0.055);
    return picture;
}

namespace {

// The ear tag with its temperature trace, in an `s` × `s` square.
void drawTag(QPainter& painter, double s)
{
    const QColor green(30, 120, 60);
    QPainterPath tag;
    tag.moveTo(s * 0.5, s * 0.08);
    tag.cubicTo(s * 0.85, s * 0.1, s * 0.9, s * 0.45, s * 0.82, s * 0.7);
    tag.cubicTo(s * 0.75, s * 0.9, s * 0.25, s * 0.9, s * 0.18, s * 0.7);
    tag.cubicTo(s * 0.1, s * 0.45, s * 0.15, s * 0.1, s * 0.5, s * 0.08);
    painter.setPen(QPen(green, std::max(1.0, s * 0.03)));
    painter.setBrush(QColor(225, 240, 225));
    painter.drawPath(tag);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(s * 0.5, s * 0.2), s * 0.05, s * 0.05);
    QPainterPath trace;
    trace.moveTo(s * 0.24, s * 0.55);
    trace.lineTo(s * 0.36, s * 0.55);
    trace.lineTo(s * 0.42, s * 0.38);
    trace.lineTo(s * 0.5, s * 0.68);
    trace.lineTo(s * 0.57, s * 0.48);
    trace.lineTo(s * 0.62, s * 0.55);
    trace.lineTo(s * 0.76, s * 0.55);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 40, 40), std::max(1.0, s * 0.03), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(trace);
}

} // namespace

QImage appIconPicture(int size)
{
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // Larger than in the logo, and centred: the tag alone fills the icon.
    const double s = size * 1.15;
    painter.translate(size * 0.5 - s * 0.5, size * 0.5 - s * 0.47);
    drawTag(painter, s);
    return picture;
}

QPixmap logoPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QColor green(30, 120, 60);
    drawTag(painter, s);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(s * 0.11));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(green);
    painter.drawText(QRectF(0, s * 0.86, s, s * 0.14), Qt::AlignCenter, QStringLiteral("Harvane"));
    return picture;
}
