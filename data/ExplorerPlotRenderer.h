#pragma once

#include "data/FeverEpisodes.h"
#include "data/PlotSeries.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

class ExplorerData;
class QPainter;

// The explorer's plots of one download: body temperature, collar
// temperature, activity, head position and heart rate in panels one above
// the other over one time axis, with the fever episodes shaded. Every curve
// is reduced to one column per pixel (the mean as a line, lowest to highest
// as a band), so a full logger memory draws as fast as a day. Draws onto any
// painter: the explorer window, a PNG, harvane-cli.
class ExplorerPlotRenderer {
public:
    struct Options {
        QString title;
        QFont font;
        FeverCriteria criteria;
        std::vector<FeverEpisode> episodes;
    };

    struct Panel {
        QRect rect;
        std::vector<PlotQuantity> quantities;
        double low = 0; // the axis, in °C or counts
        double high = 1;
        [[nodiscard]] double yFor(double value) const;
    };

    // Where things are for one size and time range.
    struct Layout {
        QRect plot; // the time axis spans plot.left() to plot.right() + 1
        std::vector<Panel> panels;
        std::int64_t from = 0;
        std::int64_t to = 0;
        [[nodiscard]] double secondsPerPixel() const;
        [[nodiscard]] double xFor(std::int64_t time) const;
        [[nodiscard]] std::int64_t timeAt(double x) const;
        [[nodiscard]] const Panel* panelAt(QPoint point) const;
    };

    // `data` may be null: the frame is drawn with a note that there is
    // nothing to show.
    ExplorerPlotRenderer(const ExplorerData* data, Options options);

    [[nodiscard]] const Options& options() const { return m_options; }
    void setOptions(Options options) { m_options = std::move(options); }

    // Draws the whole picture into (0, 0, size) and returns where it put
    // things. The time range is from `from` to `to`, seconds, both included.
    Layout render(QPainter& painter, QSize size, std::int64_t from, std::int64_t to) const;

    // A vertical line at `time` with the values of the nearest record and
    // heart-rate group, drawn over a rendered picture.
    void drawCursor(QPainter& painter, const Layout& layout, std::int64_t time) const;

    // The lines of the cursor's read-out, for the picture and for tests.
    [[nodiscard]] QStringList readout(const Layout& layout, std::int64_t time) const;

    // The stretches of columns [first, last] drawn as one curve: a curve
    // breaks where readings are more than one and a half usual spacings
    // apart and the gap is wide enough to see (two pixels).
    static std::vector<std::pair<int, int>> curveRuns(const std::vector<PlotColumn>& columns,
                                                      std::int64_t spacing, double secondsPerPixel);

    // How many whole days the curves' means are taken over, or 0 for the
    // mean of each pixel column.
    [[nodiscard]] static int meanDays(const Layout& layout);

    static QColor colour(PlotQuantity quantity);
    // "Tue 5 Mar 2024"-style texts for the axis.
    static QString dayLabel(std::int64_t time, bool withYear);

private:
    [[nodiscard]] Layout layout(QSize size, std::int64_t from, std::int64_t to) const;
    void drawHeader(QPainter& painter, QSize size, std::int64_t from, std::int64_t to) const;
    void drawTimeAxis(QPainter& painter, const Layout& layout) const;
    void drawPanel(QPainter& painter, const Layout& layout, Panel& panel) const;
    void drawSeries(QPainter& painter, const Layout& layout, const Panel& panel,
                    PlotQuantity quantity, const std::vector<PlotColumn>& columns) const;
    void drawEpisodes(QPainter& painter, const Layout& layout, const Panel& panel,
                      bool labelled) const;
    [[nodiscard]] std::vector<std::pair<QString, QColor>> readoutEntries(const Layout& layout,
                                                                         std::int64_t time) const;
    [[nodiscard]] std::int64_t cursorReach(const Layout& layout, PlotQuantity quantity) const;

    const ExplorerData* m_data;
    Options m_options;
};
