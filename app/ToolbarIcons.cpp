#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int Size = 24;

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        QPixmap pixmap(Size, Size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter.setOpacity(0.35);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

void page(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(70, 70, 70), 1.2));
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    for (double y = rect.top() + 4; y < rect.bottom() - 2; y += 3)
        painter.drawLine(QPointF(rect.left() + 2.5, y), QPointF(rect.right() - 2.5, y));
}

} // namespace

QIcon ToolbarIcons::print()
{
    return drawn([](QPainter& p) {
        page(p, QRectF(6.5, 2.5, 11, 8));
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.setBrush(QColor(170, 175, 185));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
        page(p, QRectF(6.5, 14.5, 11, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 180, 60));
        p.drawEllipse(QPointF(18.5, 12), 1.2, 1.2);
    });
}

QIcon ToolbarIcons::cut()
{
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 100), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 3), QPointF(15.5, 15));
        p.drawLine(QPointF(16, 3), QPointF(8.5, 15));
        p.setPen(QPen(QColor(200, 40, 40), 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(7, 18), 3, 3);
        p.drawEllipse(QPointF(17, 18), 3, 3);
    });
}

QIcon ToolbarIcons::copy()
{
    return drawn([](QPainter& p) {
        page(p, QRectF(3.5, 2.5, 11, 14));
        page(p, QRectF(9.5, 7.5, 11, 14));
    });
}

QIcon ToolbarIcons::paste()
{
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 1.2));
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(3.5, 3.5, 14, 18), 1.5, 1.5);
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(7.5, 1.5, 6, 4), 1, 1);
        page(p, QRectF(10.5, 9.5, 10, 12));
    });
}

QIcon ToolbarIcons::contextHelp()
{
    return drawn([](QPainter& p) {
        QPainterPath arrow;
        arrow.moveTo(3, 3);
        arrow.lineTo(3, 17);
        arrow.lineTo(6.5, 13.5);
        arrow.lineTo(9, 19);
        arrow.lineTo(11, 18);
        arrow.lineTo(8.5, 12.5);
        arrow.lineTo(13, 12.5);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(30, 60, 200));
        p.drawText(QRectF(12, 1, 12, 16), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon ToolbarIcons::dataExplorer()
{
    // A temperature curve over a grid, with a fever peak.
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(70, 70, 70), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 19, 17));
        p.setPen(QPen(QColor(200, 200, 200), 1));
        for (const double y : {8.5, 13.5})
            p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
        p.fillRect(QRectF(11, 4.2, 5, 15.6), QColor(239, 108, 0, 70));
        QPainterPath curve(QPointF(3.5, 15.5));
        curve.cubicTo(QPointF(7, 14), QPointF(9, 17), QPointF(11, 14));
        curve.cubicTo(QPointF(12.5, 7), QPointF(14.5, 6), QPointF(16, 13));
        curve.cubicTo(QPointF(17.5, 16), QPointF(19, 15), QPointF(20.5, 15));
        p.setPen(QPen(QColor(198, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
    });
}
