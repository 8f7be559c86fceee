#include "widgets/BusyAnimation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

constexpr int FramesPerTurn = 36;

QPainterPath cog(double outer, double inner, double hole, int teeth)
{
    QPainterPath path;
    const double step = 2 * std::numbers::pi / teeth;
    for (int i = 0; i < teeth; ++i) {
        const double a = i * step;
        const QPointF points[] = {
            {inner * std::cos(a), inner * std::sin(a)},
            {outer * std::cos(a + step * 0.15), outer * std::sin(a + step * 0.15)},
            {outer * std::cos(a + step * 0.45), outer * std::sin(a + step * 0.45)},
            {inner * std::cos(a + step * 0.6), inner * std::sin(a + step * 0.6)},
        };
        if (i == 0)
            path.moveTo(points[0]);
        for (const QPointF& p : points)
            path.lineTo(p);
    }
    path.closeSubpath();
    path.addEllipse(QPointF(0, 0), hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

} // namespace

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent)
{
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % FramesPerTurn;
        update();
    });
}

void BusyAnimation::start()
{
    m_running = true;
    m_frame = 0;
    m_timer.start();
    update();
}

void BusyAnimation::stop()
{
    m_running = false;
    m_timer.stop();
    update();
}

void BusyAnimation::paintEvent(QPaintEvent*)
{
    if (!m_running)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(width() / 80.0, height() / 48.0);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(scale, scale);
    const double angle = 360.0 * m_frame / FramesPerTurn;
    // Two meshing cogs turning against each other.
    painter.save();
    painter.translate(-14, 2);
    painter.rotate(angle);
    painter.fillPath(cog(20, 15, 5, 10), QColor(90, 100, 115));
    painter.restore();
    painter.save();
    painter.translate(20, -8);
    painter.rotate(-angle * 10 / 7 + 12);
    painter.fillPath(cog(14, 10, 4, 7), QColor(190, 130, 40));
    painter.restore();
}
