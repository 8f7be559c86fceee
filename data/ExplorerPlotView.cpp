#include "data/ExplorerPlotView.h"

#include "data/ExplorerData.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

ExplorerPlotView::ExplorerPlotView(QWidget* parent) : QWidget(parent), m_renderer(nullptr, {})
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(480, 320);
    setCursor(Qt::CrossCursor);
    setToolTip({});
}

void ExplorerPlotView::setSource(std::shared_ptr<const ExplorerData> data,
                                 ExplorerPlotRenderer::Options options)
{
    m_data = std::move(data);
    m_renderer = ExplorerPlotRenderer(m_data.get(), std::move(options));
    m_marker.reset();
    auto [first, last] =
        m_data ? m_data->index().timeSpan() : std::pair<std::int64_t, std::int64_t>{0, -1};
    if (last < first) {
        // Nothing dated: an empty day, so the axes still make sense.
        first = 0;
        last = 86399;
    }
    m_fullFrom = first;
    m_fullTo = std::max(last, first + minimumSpan() - 1);
    showAll();
}

void ExplorerPlotView::setOptions(ExplorerPlotRenderer::Options options)
{
    m_renderer.setOptions(std::move(options));
    invalidate();
}

std::int64_t ExplorerPlotView::minimumSpan() const
{
    // Ten readings fill the plot at the closest.
    const std::int64_t interval = m_data ? m_data->index().intervalSeconds() : 0;
    return std::max<std::int64_t>(300, 10 * interval);
}

void ExplorerPlotView::setRange(std::int64_t from, std::int64_t to)
{
    applyRange(from, to, false);
}

void ExplorerPlotView::applyRange(std::int64_t from, std::int64_t to, bool always)
{
    const std::int64_t fullSpan = m_fullTo - m_fullFrom + 1;
    const std::int64_t asked = std::max<std::int64_t>(1, to - from + 1);
    const std::int64_t span = std::clamp(asked, std::min(minimumSpan(), fullSpan), fullSpan);
    // A span made longer or shorter keeps its middle; then it stays inside
    // the data.
    std::int64_t start = span == asked ? from : from + (asked - 1) / 2 - (span - 1) / 2;
    start = std::clamp(start, m_fullFrom, m_fullTo - span + 1);
    if (!always && start == m_from && start + span - 1 == m_to)
        return;
    m_from = start;
    m_to = start + span - 1;
    invalidate();
    Q_EMIT rangeChanged(m_from, m_to);
}

void ExplorerPlotView::showAll()
{
    applyRange(m_fullFrom, m_fullTo, true);
}

void ExplorerPlotView::zoom(double factor, std::optional<std::int64_t> centre)
{
    // The moment under the mouse stays where it is.
    const std::int64_t at = std::clamp(centre.value_or(m_from + (m_to - m_from) / 2), m_from, m_to);
    const double before = static_cast<double>(at - m_from) * factor;
    const double span = static_cast<double>(m_to - m_from + 1) * factor;
    const auto from = at - static_cast<std::int64_t>(std::llround(before));
    setRange(from, from + static_cast<std::int64_t>(std::llround(span)) - 1);
}

void ExplorerPlotView::centreOn(std::int64_t time)
{
    const std::int64_t half = (m_to - m_from) / 2;
    setRange(time - half, time - half + (m_to - m_from));
}

void ExplorerPlotView::setMarker(std::optional<std::int64_t> time)
{
    m_marker = time;
    update();
}

void ExplorerPlotView::invalidate()
{
    m_cacheValid = false;
    update();
}

QImage ExplorerPlotView::picture(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    m_renderer.render(painter, size, m_from, m_to);
    return image;
}

void ExplorerPlotView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_cacheValid || m_cache.size() != size() * ratio) {
        m_cache = QImage(size() * ratio, QImage::Format_RGB32);
        m_cache.setDevicePixelRatio(ratio);
        QPainter painter(&m_cache);
        ExplorerPlotRenderer::Options options = m_renderer.options();
        if (options.font != font()) {
            options.font = font();
            m_renderer.setOptions(options);
        }
        m_layout = m_renderer.render(painter, size(), m_from, m_to);
        m_cacheValid = true;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_cache);
    if (m_marker && *m_marker >= m_from && *m_marker <= m_to) {
        const double x = std::floor(m_layout.xFor(*m_marker)) + 0.5;
        painter.setPen(QPen(QColor(25, 118, 210, 200), 2));
        painter.drawLine(QPointF(x, m_layout.plot.top()), QPointF(x, m_layout.plot.bottom()));
    }
    if (m_drag == Drag::Band && m_mouse) {
        const int x0 = std::clamp(m_pressAt.x(), m_layout.plot.left(), m_layout.plot.right());
        const int x1 = std::clamp(m_mouse->x(), m_layout.plot.left(), m_layout.plot.right());
        const QRect band(QPoint(std::min(x0, x1), m_layout.plot.top()),
                         QPoint(std::max(x0, x1), m_layout.plot.bottom()));
        painter.fillRect(band, QColor(25, 118, 210, 40));
        painter.setPen(QPen(QColor(25, 118, 210), 1));
        painter.drawRect(band);
    } else if (m_drag == Drag::None && m_mouse && m_layout.plot.contains(*m_mouse)) {
        m_renderer.drawCursor(painter, m_layout, m_layout.timeAt(m_mouse->x() + 0.5));
    }
}

void ExplorerPlotView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_cacheValid = false;
}

void ExplorerPlotView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    m_pressAt = event->position().toPoint();
    m_pressFrom = m_from;
    m_pressTo = m_to;
    m_moved = false;
    const bool band =
        event->button() == Qt::RightButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) != 0);
    if (band)
        m_drag = Drag::Band;
    else if (event->button() == Qt::LeftButton)
        m_drag = Drag::Pan;
    if (m_drag == Drag::Pan)
        setCursor(Qt::ClosedHandCursor);
}

void ExplorerPlotView::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    if ((*m_mouse - m_pressAt).manhattanLength() > 3)
        m_moved = true;
    if (m_drag == Drag::Pan && m_moved) {
        const double spp = m_layout.secondsPerPixel();
        const auto shift =
            static_cast<std::int64_t>(std::llround((m_pressAt.x() - m_mouse->x()) * spp));
        setRange(m_pressFrom + shift, m_pressTo + shift);
    }
    update();
}

void ExplorerPlotView::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    setCursor(Qt::CrossCursor);
    const QPoint at = event->position().toPoint();
    if (drag == Drag::Band && std::abs(at.x() - m_pressAt.x()) >= 3) {
        const int x0 = std::clamp(std::min(at.x(), m_pressAt.x()), m_layout.plot.left(),
                                  m_layout.plot.right());
        const int x1 = std::clamp(std::max(at.x(), m_pressAt.x()), m_layout.plot.left(),
                                  m_layout.plot.right());
        setRange(m_layout.timeAt(x0), m_layout.timeAt(x1 + 1) - 1);
    } else if (drag == Drag::Pan && !m_moved && m_layout.plot.contains(at)) {
        Q_EMIT timeClicked(m_layout.timeAt(at.x() + 0.5));
    }
    update();
}

void ExplorerPlotView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        showAll();
}

void ExplorerPlotView::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y();
    if (steps == 0)
        return;
    // One notch (120) zooms by a fifth, in around the mouse.
    const double factor = std::pow(0.8, steps / 120.0);
    const double x = event->position().x();
    zoom(factor, m_layout.plot.width() > 0 ? std::optional(m_layout.timeAt(x)) : std::nullopt);
    event->accept();
}

void ExplorerPlotView::keyPressEvent(QKeyEvent* event)
{
    const std::int64_t step = std::max<std::int64_t>(1, (m_to - m_from + 1) / 10);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(0.5);
        break;
    case Qt::Key_Minus:
        zoom(2.0);
        break;
    case Qt::Key_Left:
        setRange(m_from - step, m_to - step);
        break;
    case Qt::Key_Right:
        setRange(m_from + step, m_to + step);
        break;
    case Qt::Key_Home:
        showAll();
        break;
    case Qt::Key_Escape:
        if (m_drag == Drag::Band) {
            m_drag = Drag::None;
            update();
        }
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ExplorerPlotView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_mouse.reset();
    update();
}
