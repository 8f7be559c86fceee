#pragma once

#include "data/ExplorerPlotRenderer.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

// The explorer's plots on screen. The wheel zooms around the mouse, dragging
// pans, Shift+drag (or a drag with the right button) zooms to the span drawn,
// a double click shows everything; a click picks the record under the mouse.
// The picture is kept until the range, the size or the data change, so the
// cursor's read-out follows the mouse without redrawing the curves.
class ExplorerPlotView final : public QWidget {
    Q_OBJECT
public:
    explicit ExplorerPlotView(QWidget* parent = nullptr);

    void setSource(std::shared_ptr<const ExplorerData> data, ExplorerPlotRenderer::Options options);
    void setOptions(ExplorerPlotRenderer::Options options);
    [[nodiscard]] const ExplorerPlotRenderer::Options& options() const
    {
        return m_renderer.options();
    }

    [[nodiscard]] std::int64_t from() const { return m_from; }
    [[nodiscard]] std::int64_t to() const { return m_to; }
    [[nodiscard]] std::int64_t fullFrom() const { return m_fullFrom; }
    [[nodiscard]] std::int64_t fullTo() const { return m_fullTo; }
    // Shows `from` to `to` (seconds, both included), kept inside the data.
    void setRange(std::int64_t from, std::int64_t to);
    void showAll();
    // Zooms by `factor` (below 1: closer) around `centre`.
    void zoom(double factor, std::optional<std::int64_t> centre = std::nullopt);
    // Moves the range so that `time` is in the middle, same zoom.
    void centreOn(std::int64_t time);
    // A marked moment (the record chosen in the table), drawn as a line.
    void setMarker(std::optional<std::int64_t> time);

    [[nodiscard]] const ExplorerPlotRenderer::Layout& layout() const { return m_layout; }
    // The picture as it is on screen, without the cursor.
    [[nodiscard]] QImage picture(QSize size) const;

Q_SIGNALS:
    void rangeChanged(std::int64_t from, std::int64_t to);
    // The user clicked at this moment.
    void timeClicked(std::int64_t time);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Pan, Band };
    void invalidate();
    void applyRange(std::int64_t from, std::int64_t to, bool always);
    [[nodiscard]] std::int64_t minimumSpan() const;

    std::shared_ptr<const ExplorerData> m_data;
    ExplorerPlotRenderer m_renderer;
    ExplorerPlotRenderer::Layout m_layout;
    QImage m_cache;
    bool m_cacheValid = false;
    std::int64_t m_from = 0;
    std::int64_t m_to = 86399;
    std::int64_t m_fullFrom = 0;
    std::int64_t m_fullTo = 86399;
    std::optional<QPoint> m_mouse;
    std::optional<std::int64_t> m_marker;
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    std::int64_t m_pressFrom = 0;
    std::int64_t m_pressTo = 0;
    bool m_moved = false;
};
