#include "widgets/CLed.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QColor baseColor(int row)
{
    switch (row % 4) {
    case 0:
        return QColor(230, 20, 20);
    case 1:
        return QColor(20, 200, 40);
    case 2:
        return QColor(240, 210, 0);
    default:
        return QColor(30, 90, 240);
    }
}

} // namespace

CLed::CLed(QWidget* parent) : QWidget(parent)
{
    // Magenta is the transparent colour: those pixels get no alpha, so the
    // dialog's own background shows through around the lamp.
    QImage strip = makeStrip().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if (line[x] == Transparent)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    m_strip = QPixmap::fromImage(strip);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CLed::setLed(int color, int mode, int shape)
{
    m_color = color;
    m_mode = mode;
    m_shape = shape;
    repaint();
}

QRect CLed::cellRect(int color, int mode, int shape)
{
    return {mode * CellSize, color + shape, CellSize, CellSize};
}

QRect CLed::targetRect(const QSize& controlSize)
{
    if (controlSize.width() >= CellSize && controlSize.height() >= CellSize)
        return {(controlSize.width() - CellSize) / 2, (controlSize.height() - CellSize) / 2,
                CellSize, CellSize};
    return {0, 0, CellSize, CellSize};
}

QImage CLed::makeStrip()
{
    QImage strip(StripWidth, StripHeight, QImage::Format_RGB32);
    strip.fill(Transparent);
    QPainter painter(&strip);
    for (int row = 0; row < 8; ++row) {
        const bool square = row >= 4;
        for (int column = 0; column < 3; ++column) {
            QColor fill = baseColor(row);
            if (column == Off)
                fill = fill.darker(260);
            else if (column == Disabled)
                fill = QColor(150, 150, 150);
            const QRectF body(column * CellSize + 4, row * CellSize + 4, CellSize - 8,
                              CellSize - 8);
            // No antialiasing at the rim: a half-blended rim pixel would not be
            // magenta, and would show as a pink fringe.
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(QColor(40, 40, 40), 1));
            painter.setBrush(fill);
            if (square)
                painter.drawRect(body);
            else
                painter.drawEllipse(body);
            if (column == On) {
                // A highlight so "on" reads as lit.
                painter.setPen(Qt::NoPen);
                painter.setBrush(fill.lighter(170));
                painter.drawEllipse(QRectF(body.x() + 5, body.y() + 4, 8, 6));
            }
        }
    }
    return strip;
}

void CLed::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(targetRect(size()).topLeft(), m_strip, cellRect(m_color, m_mode, m_shape));
}
