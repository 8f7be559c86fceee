#include "data/ExplorerPlotRenderer.h"
#include <QCoreApplication>

#include "data/CsvExport.h"
#include "data/ExplorerData.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cmath>

namespace {

constexpr std::int64_t Day = 86400;

struct PanelKind {
    std::vector<PlotQuantity> quantities;
    double weight;
    bool fromZero;
};

const std::array<PanelKind, 5>& panelKinds()
{
    static const std::array<PanelKind, 5> kinds{{
        {{PlotQuantity::Body}, 3.0, false},
        {{PlotQuantity::Collar}, 1.3, false},
        {{PlotQuantity::Activity}, 1.3, true},
        {{PlotQuantity::HeadDown, PlotQuantity::HeadChanges}, 1.3, true},
        {{PlotQuantity::HeartRate}, 1.5, false},
    }};
    return kinds;
}

double scaleOf(PlotQuantity q)
{
    return q == PlotQuantity::Body || q == PlotQuantity::Collar ? 1.0 / 256.0 : 1.0;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

const char* const WeekDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonths[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};

QString weekDay(std::int64_t time)
{
    const std::int64_t day = floorDiv(time, Day);
    return QString::fromLatin1(WeekDays[((day + 3) % 7 + 7) % 7]); // 1970-01-01 was a Thursday
}

QString clockText(std::int64_t time, bool seconds)
{
    const CivilTime::Fields f = CivilTime::fromSeconds(time).fields();
    QString text = QStringLiteral("%1:%2")
                       .arg(f.hour, 2, 10, QLatin1Char('0'))
                       .arg(f.minute, 2, 10, QLatin1Char('0'));
    if (seconds)
        text += QStringLiteral(":%1").arg(f.second, 2, 10, QLatin1Char('0'));
    return text;
}

QString dateText(std::int64_t time)
{
    return CivilTime::fromSeconds(time).toString();
}

// "12 345" for 12345: easier on the eye than a run of digits.
QString grouped(std::size_t n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QChar(0x2009));
    return digits;
}

QString number(double value, double step)
{
    const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
    return QString::number(value, 'f', decimals);
}

double niceStep(double range, int ticks)
{
    const double raw = range / std::max(1, ticks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= raw * 0.999)
            return m * magnitude;
    return 10 * magnitude;
}

QFont scaled(QFont font, double factor, bool bold = false)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(6, static_cast<int>(std::lround(font.pixelSize() * factor))));
    else
        font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

const QColor Ink(40, 40, 40);
const QColor Muted(110, 110, 110);
const QColor Grid(232, 232, 232);
const QColor DayGrid(200, 200, 205);
const QColor Frame(190, 190, 190);
const QColor Fever(239, 108, 0);

// Where the time axis has its ticks: every `step` seconds up to two weeks,
// then every `months` calendar months (1, 2, 3, 6, 12, 24, 60, 120).
struct TimeTicks {
    std::int64_t step = Day;
    int months = 0;
    std::vector<std::int64_t> times;
};

TimeTicks timeTicks(const ExplorerPlotRenderer::Layout& layout, const QFontMetrics& fm)
{
    static constexpr std::array<std::int64_t, 15> steps{
        60,       120,      300,       600, 900,     1800,    3600,    2 * 3600,
        3 * 3600, 6 * 3600, 12 * 3600, Day, 2 * Day, 7 * Day, 14 * Day};
    static constexpr std::array<int, 8> monthSteps{1, 2, 3, 6, 12, 24, 60, 120};
    const double spp = layout.secondsPerPixel();
    const double clockSpace = fm.horizontalAdvance(QStringLiteral("00:00")) * 2.0;
    const double daySpace = fm.horizontalAdvance(QStringLiteral("Wed 30 Sep")) * 1.35;
    const double monthSpace = fm.horizontalAdvance(QStringLiteral("Sep 2024")) * 1.5;
    TimeTicks ticks;
    ticks.step = 0;
    for (const std::int64_t s : steps) {
        if (static_cast<double>(s) / spp >= (s < Day ? clockSpace : daySpace)) {
            ticks.step = s;
            break;
        }
    }
    if (ticks.step == 0) {
        ticks.months = monthSteps.back();
        for (const int m : monthSteps) {
            if (m * 30.44 * Day / spp >= monthSpace) {
                ticks.months = m;
                break;
            }
        }
        // The first of a month, on a multiple of the step counted from year 0.
        const CivilTime::Fields f = CivilTime::fromSeconds(layout.from).fields();
        long long month = static_cast<long long>(f.year) * 12 + (f.month - 1);
        month = (month + ticks.months - 1) / ticks.months * ticks.months;
        for (;; month += ticks.months) {
            const std::int64_t t =
                CivilTime::fromFields(static_cast<int>(month / 12),
                                      static_cast<int>(month % 12) + 1, 1, 0, 0, 0)
                    .seconds();
            if (t < layout.from)
                continue;
            if (t > layout.to + 1)
                break;
            ticks.times.push_back(t);
        }
        return ticks;
    }
    // Weeks start on Mondays (1970-01-05 was one).
    const std::int64_t step = ticks.step;
    const std::int64_t offset = step >= 7 * Day ? 4 * Day : 0;
    for (std::int64_t t = floorDiv(layout.from - offset + step - 1, step) * step + offset;
         t <= layout.to + 1; t += step)
        ticks.times.push_back(t);
    return ticks;
}

bool isMidnight(std::int64_t t)
{
    return floorDiv(t, Day) * Day == t;
}

} // namespace

int ExplorerPlotRenderer::meanDays(const Layout& layout)
{
    // Once a pixel spans hours, a day holds only a few columns and the
    // daily swing would beat against them: the line then follows the mean
    // of whole days around each column.
    const double spp = layout.secondsPerPixel();
    if (spp <= 3 * 3600)
        return 0;
    return static_cast<int>(std::ceil(spp / Day));
}

double ExplorerPlotRenderer::Panel::yFor(double value) const
{
    const double span = high - low;
    return rect.bottom() + 1 - (value - low) / (span > 0 ? span : 1) * rect.height();
}

double ExplorerPlotRenderer::Layout::secondsPerPixel() const
{
    return (static_cast<double>(to - from) + 1.0) / std::max(1, plot.width());
}

double ExplorerPlotRenderer::Layout::xFor(std::int64_t time) const
{
    return plot.left() + static_cast<double>(time - from) / secondsPerPixel();
}

std::int64_t ExplorerPlotRenderer::Layout::timeAt(double x) const
{
    return from + static_cast<std::int64_t>(std::floor((x - plot.left()) * secondsPerPixel()));
}

const ExplorerPlotRenderer::Panel* ExplorerPlotRenderer::Layout::panelAt(QPoint point) const
{
    for (const Panel& panel : panels)
        if (panel.rect.contains(point))
            return &panel;
    return nullptr;
}

ExplorerPlotRenderer::ExplorerPlotRenderer(const ExplorerData* data, Options options)
    : m_data(data), m_options(std::move(options))
{}

QColor ExplorerPlotRenderer::colour(PlotQuantity quantity)
{
    switch (quantity) {
    case PlotQuantity::Body:
        return {198, 40, 40};
    case PlotQuantity::Collar:
        return {21, 101, 192};
    case PlotQuantity::Activity:
        return {46, 125, 50};
    case PlotQuantity::HeadDown:
        return {106, 27, 154};
    case PlotQuantity::HeadChanges:
        return {0, 137, 123};
    case PlotQuantity::HeartRate:
        return {173, 20, 87};
    }
    return Ink;
}

QString ExplorerPlotRenderer::dayLabel(std::int64_t time, bool withYear)
{
    const CivilTime::Fields f = CivilTime::fromSeconds(time).fields();
    QString text = QStringLiteral("%1 %2 %3")
                       .arg(weekDay(time))
                       .arg(f.day)
                       .arg(QString::fromLatin1(Months[std::clamp(f.month, 1, 12) - 1]));
    if (withYear)
        text += QStringLiteral(" %1").arg(f.year);
    return text;
}

ExplorerPlotRenderer::Layout ExplorerPlotRenderer::layout(QSize size, std::int64_t from,
                                                          std::int64_t to) const
{
    const QFontMetrics fm(m_options.font);
    const int lh = fm.height();
    const int margin = std::max(6, lh * 2 / 3);
    const int header = QFontMetrics(scaled(m_options.font, 1.25, true)).height() + lh + margin;
    const int axisLabels = fm.horizontalAdvance(QStringLiteral("-00.0")) + margin;
    const int timeAxis = 2 * lh + lh / 2;

    Layout out;
    out.from = from;
    out.to = std::max(from, to);
    out.plot = QRect(QPoint(margin + axisLabels, margin + header),
                     QPoint(size.width() - margin - 1, size.height() - margin - timeAxis - 1));
    if (out.plot.width() < 10 || out.plot.height() < 40)
        out.plot = QRect(0, 0, std::max(10, size.width()), std::max(40, size.height()));

    double weights = 0;
    for (const PanelKind& kind : panelKinds())
        weights += kind.weight;
    const int spacing = lh / 2;
    const int free = out.plot.height() - spacing * static_cast<int>(panelKinds().size() - 1);
    double top = out.plot.top();
    for (const PanelKind& kind : panelKinds()) {
        const double height = free * kind.weight / weights;
        Panel panel;
        panel.rect = QRect(out.plot.left(), static_cast<int>(std::lround(top)), out.plot.width(),
                           std::max(8, static_cast<int>(std::lround(height))));
        panel.quantities = kind.quantities;
        out.panels.push_back(panel);
        top += height + spacing;
    }
    return out;
}

ExplorerPlotRenderer::Layout ExplorerPlotRenderer::render(QPainter& painter, QSize size,
                                                          std::int64_t from, std::int64_t to) const
{
    Layout out = layout(size, from, to);
    painter.save();
    painter.setFont(m_options.font);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    drawHeader(painter, size, out.from, out.to);
    for (Panel& panel : out.panels)
        drawPanel(painter, out, panel);
    drawTimeAxis(painter, out);

    const bool nothing = m_data == nullptr || m_data->index().recordCount() == 0;
    const bool nothingHere = !nothing && [&] {
        const auto [first, end] = m_data->index().recordsBetween(out.from, out.to);
        const auto [groupFirst, groupEnd] = m_data->index().groupsBetween(out.from, out.to);
        return first == end && groupFirst == groupEnd;
    }();
    if (nothing || nothingHere) {
        painter.setPen(Muted);
        painter.setFont(scaled(m_options.font, 1.3));
        painter.drawText(
            out.panels.front().rect, Qt::AlignCenter,
            nothing ? QCoreApplication::translate("ExplorerPlotRenderer", "No records to show")
                    : QCoreApplication::translate("ExplorerPlotRenderer",
                                                  "No records in this time range"));
    }
    painter.restore();
    return out;
}

void ExplorerPlotRenderer::drawHeader(QPainter& painter, QSize size, std::int64_t from,
                                      std::int64_t to) const
{
    const QFontMetrics fm(m_options.font);
    const int margin = std::max(6, fm.height() * 2 / 3);
    const QFont titleFont = scaled(m_options.font, 1.25, true);
    const int titleHeight = QFontMetrics(titleFont).height();
    painter.setPen(Ink);
    painter.setFont(titleFont);
    painter.drawText(QRect(margin, margin, size.width() - 2 * margin, titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_options.title);

    QStringList facts;
    facts << QCoreApplication::translate("ExplorerPlotRenderer", "%1 to %2")
                 .arg(dateText(from).left(16), dateText(to).left(16));
    const double days = static_cast<double>(to - from + 1) / Day;
    facts << (days >= 2 ? QCoreApplication::translate("ExplorerPlotRenderer", "%1 days")
                              .arg(days, 0, 'f', 1)
                        : QCoreApplication::translate("ExplorerPlotRenderer", "%1 hours")
                              .arg(days * 24, 0, 'f', 1));
    if (m_data != nullptr) {
        const auto [first, end] = m_data->index().recordsBetween(from, to);
        facts << QCoreApplication::translate("ExplorerPlotRenderer", "%1 records")
                     .arg(grouped(end - first));
        int shown = 0;
        for (const FeverEpisode& e : m_options.episodes)
            shown += e.end >= from && e.start <= to;
        facts << QCoreApplication::translate("ExplorerPlotRenderer",
                                             "%1 fever episode%2 (above %3 °C for %4 h or more)")
                     .arg(shown == 0 ? QStringLiteral("no") : QString::number(shown))
                     .arg(shown == 1 ? QString() : QStringLiteral("s"))
                     .arg(m_options.criteria.aboveCelsius, 0, 'f', 1)
                     .arg(QString::number(m_options.criteria.minimumSeconds / 3600.0, 'g', 3));
    }
    painter.setFont(m_options.font);
    painter.setPen(Muted);
    const QRect line(margin, margin + titleHeight, size.width() - 2 * margin, fm.height());
    const QString text = facts.join(QStringLiteral("   \u00B7   "));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
    const QString key = meanDays(layout(size, from, to)) > 0
                            ? QCoreApplication::translate(
                                  "ExplorerPlotRenderer",
                                  "lines: mean of whole days  \u00B7  bands: lowest to highest in "
                                  "each pixel")
                            : QCoreApplication::translate(
                                  "ExplorerPlotRenderer",
                                  "lines: mean per pixel  \u00B7  bands: lowest to highest");
    if (fm.horizontalAdvance(text) + fm.horizontalAdvance(key) + 4 * fm.height() < line.width())
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, key);
}

void ExplorerPlotRenderer::drawTimeAxis(QPainter& painter, const Layout& layout) const
{
    const QFontMetrics fm(m_options.font);
    const int lh = fm.height();
    const int axisTop = layout.panels.back().rect.bottom() + 1;
    const TimeTicks ticks = timeTicks(layout, fm);
    const std::int64_t step = ticks.step;
    painter.setFont(m_options.font);
    for (const std::int64_t t : ticks.times) {
        const double x = std::floor(layout.xFor(t)) + 0.5;
        if (x > layout.plot.right() + 1)
            break;
        painter.setPen(Muted);
        painter.drawLine(QLineF(x, axisTop, x, axisTop + lh / 3.0));
        const CivilTime::Fields f = CivilTime::fromSeconds(t).fields();
        const QString label = ticks.months >= 12 ? QString::number(f.year)
                              : ticks.months > 0
                                  ? QString::fromLatin1(Months[std::clamp(f.month, 1, 12) - 1])
                              : step < Day ? clockText(t, false)
                                           : dayLabel(t, false);
        const double w = fm.horizontalAdvance(label);
        if (x + w / 2 > layout.plot.right() + lh / 2.0)
            continue; // cut off at the right edge
        painter.setPen(Ink);
        painter.drawText(QRectF(x - w / 2 - 2, axisTop + lh / 3.0, w + 4, lh), Qt::AlignCenter,
                         label);
    }

    // Second row: the day under clock times, the month under days, the year
    // under months. The first label stands at the left edge for the part
    // of a day (month, year) that is cut off; a label that has no room is
    // left out rather than moved.
    const double rowTop = axisTop + lh / 3.0 + lh;
    double freeFrom = -1e9;
    QFont boldFont = m_options.font;
    boldFont.setBold(true);
    const QFontMetrics boldMetrics(boldFont);
    painter.setFont(boldFont);
    painter.setPen(Ink);
    auto label = [&](std::int64_t start, const QString& text) {
        const double x = start <= layout.from ? layout.plot.left() : layout.xFor(start) + 3;
        const double w = boldMetrics.horizontalAdvance(text);
        if (x < freeFrom || x + w > layout.plot.right() + 1)
            return;
        painter.drawText(QRectF(x, rowTop, w + 2, lh), Qt::AlignLeft | Qt::AlignVCenter, text);
        freeFrom = x + w + fm.horizontalAdvance(QStringLiteral("    "));
    };
    if (ticks.months >= 12)
        ; // the years are the ticks
    else if (ticks.months > 0 || step >= Day) {
        // Month starts (or year starts under months), walked a month at a time.
        const CivilTime::Fields f = CivilTime::fromSeconds(layout.from).fields();
        long long month = static_cast<long long>(f.year) * 12 + (f.month - 1);
        const bool years = ticks.months > 0;
        if (years)
            month -= month % 12;
        for (;; month += years ? 12 : 1) {
            const int y = static_cast<int>(month / 12);
            const int m = static_cast<int>(month % 12) + 1;
            const std::int64_t t = CivilTime::fromFields(y, m, 1, 0, 0, 0).seconds();
            if (t > layout.to)
                break;
            const std::int64_t end = CivilTime::fromFields(m == 12 && !years ? y + 1
                                                           : years           ? y + 1
                                                                             : y,
                                                           years ? 1 : m % 12 + 1, 1, 0, 0, 0)
                                         .seconds();
            if (end <= layout.from)
                continue;
            label(t,
                  years
                      ? QString::number(y)
                      : QStringLiteral("%1 %2").arg(QString::fromLatin1(LongMonths[m - 1])).arg(y));
        }
    } else {
        for (std::int64_t d = floorDiv(layout.from, Day) * Day; d <= layout.to; d += Day)
            label(d, dayLabel(std::max(d, layout.from), true));
    }
    painter.setFont(m_options.font);

    for (const Panel& panel : layout.panels) {
        painter.setPen(Frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(panel.rect).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void ExplorerPlotRenderer::drawPanel(QPainter& painter, const Layout& layout, Panel& panel) const
{
    const QFontMetrics fm(m_options.font);
    const bool isBody = panel.quantities.front() == PlotQuantity::Body;
    const PanelKind* kind = nullptr;
    for (const PanelKind& k : panelKinds())
        if (k.quantities == panel.quantities)
            kind = &k;

    std::vector<std::vector<PlotColumn>> columns;
    double low = INFINITY;
    double high = -INFINITY;
    for (const PlotQuantity q : panel.quantities) {
        columns.push_back(m_data != nullptr
                              ? m_data->series(q).columns(layout.from, layout.to,
                                                          layout.plot.width(), meanDays(layout))
                              : std::vector<PlotColumn>());
        for (const PlotColumn& c : columns.back()) {
            if (c.values.isEmpty())
                continue;
            low = std::min(low, c.values.min * scaleOf(q));
            high = std::max(high, c.values.max * scaleOf(q));
        }
    }
    if (isBody && low <= high) {
        // The axis is made for reading a fever: the threshold in sight with
        // room above it, and the deep dips after a drink (the rumen cools by
        // several degrees) running off the foot rather than squashing the
        // rest. Readings that are all far below (an implant out of the
        // animal) keep their own range.
        const double threshold = m_options.criteria.aboveCelsius;
        if (high >= threshold - 2.5)
            low = std::max(low, threshold - 3.5);
        low = std::min(low, threshold - 1.5);
        high = std::max(high, threshold + 0.5) + 0.4;
    }
    if (!(low <= high)) {
        switch (panel.quantities.front()) {
        case PlotQuantity::Body:
            low = 37.5, high = 40.5;
            break;
        case PlotQuantity::Collar:
            low = 0, high = 30;
            break;
        case PlotQuantity::HeartRate:
            low = 40, high = 120;
            break;
        default:
            low = 0, high = 10;
        }
    }
    if (kind != nullptr && kind->fromZero)
        low = std::min(0.0, low);
    if (high - low < 1e-9)
        high = low + 1;
    const int valueTicks = std::clamp(panel.rect.height() / (fm.height() * 2), 2, 8);
    const double step = niceStep((high - low) * 1.04, valueTicks);
    const double tickLow = std::floor(low / step) * step;
    double tickHigh = std::ceil(high / step) * step;
    if (tickLow == tickHigh)
        tickHigh = tickLow + step;
    // A little room beyond the outer ticks, so that a reading on them (a
    // zero, say) is not drawn on the frame.
    const double room = (tickHigh - tickLow) * 0.03;
    panel.low = tickLow - room;
    panel.high = tickHigh + room;

    painter.fillRect(panel.rect, Qt::white);
    drawEpisodes(painter, layout, panel, false);

    // Value grid and labels.
    QVector<QLineF> grid;
    painter.setFont(m_options.font);
    for (double v = tickLow; v <= tickHigh + step * 0.001; v += step) {
        const double y = std::floor(panel.yFor(v)) + 0.5;
        if (y > panel.rect.top() + 1 && y < panel.rect.bottom())
            grid.append(QLineF(panel.rect.left(), y, panel.rect.right() + 1, y));
        painter.setPen(Muted);
        const QString text = number(std::abs(v) < step * 1e-6 ? 0.0 : v, step);
        // Kept inside the panel, so that the labels of neighbours never meet.
        const double top = std::clamp(y - fm.height() / 2.0, double(panel.rect.top()),
                                      double(panel.rect.bottom() + 1 - fm.height()));
        painter.drawText(QRectF(0, top, panel.rect.left() - 6, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    const TimeTicks ticks = timeTicks(layout, fm);
    QVector<QLineF> dayGrid;
    for (const std::int64_t t : ticks.times) {
        const double x = std::floor(layout.xFor(t)) + 0.5;
        if (x > panel.rect.right() + 1)
            break;
        (ticks.months == 0 && ticks.step < Day && isMidnight(t) ? dayGrid : grid)
            .append(QLineF(x, panel.rect.top(), x, panel.rect.bottom() + 1));
    }
    painter.setPen(QPen(Grid, 1));
    painter.drawLines(grid);
    painter.setPen(QPen(DayGrid, 1));
    painter.drawLines(dayGrid);

    painter.save();
    painter.setClipRect(panel.rect.adjusted(1, 1, -1, -1));
    if (isBody) {
        const double y = panel.yFor(m_options.criteria.aboveCelsius);
        QPen dashed(Fever, 1.2, Qt::DashLine);
        painter.setPen(dashed);
        painter.drawLine(QPointF(panel.rect.left(), y), QPointF(panel.rect.right() + 1, y));
        const QString text =
            QStringLiteral("%1 °C").arg(m_options.criteria.aboveCelsius, 0, 'f', 1);
        painter.drawText(QRectF(panel.rect.right() - fm.horizontalAdvance(text) - 8,
                                y - fm.height() - 1, fm.horizontalAdvance(text) + 4, fm.height()),
                         Qt::AlignRight | Qt::AlignBottom, text);
    }
    for (std::size_t i = 0; i < panel.quantities.size(); ++i)
        drawSeries(painter, layout, panel, panel.quantities[i], columns[i]);
    if (isBody)
        drawEpisodes(painter, layout, panel, true);
    painter.restore();

    // The legend: what each colour is, with its unit.
    QFont legendFont = m_options.font;
    painter.setFont(legendFont);
    const int pad = fm.height() / 4;
    double x = panel.rect.left() + pad * 2;
    const double y = panel.rect.top() + pad;
    struct Entry {
        QString text;
        QColor colour;
        bool band;
    };
    std::vector<Entry> entries;
    for (const PlotQuantity q : panel.quantities)
        entries.push_back(
            {PlotSeries::unit(q).isEmpty()
                 ? PlotSeries::name(q)
                 : QStringLiteral("%1 (%2)").arg(PlotSeries::name(q), PlotSeries::unit(q)),
             colour(q), false});
    if (isBody)
        entries.push_back(
            {QCoreApplication::translate("ExplorerPlotRenderer",
                                         "fever above %1 °C for %2 h or more")
                 .arg(m_options.criteria.aboveCelsius, 0, 'f', 1)
                 .arg(QString::number(m_options.criteria.minimumSeconds / 3600.0, 'g', 3)),
             Fever, true});
    double width = pad;
    for (const Entry& e : entries)
        width += 22 + fm.horizontalAdvance(e.text) + 2 * pad;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(QRectF(x - pad, y, width, fm.height() + pad), 3, 3);
    for (const Entry& e : entries) {
        const double mid = y + (fm.height() + pad) / 2.0;
        if (e.band) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(Fever.red(), Fever.green(), Fever.blue(), 70));
            painter.drawRect(QRectF(x, mid - 5, 16, 10));
        } else {
            painter.setPen(QPen(e.colour, 3, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(x + 1, mid), QPointF(x + 15, mid));
        }
        painter.setPen(e.band ? Muted : e.colour.darker(115));
        painter.drawText(
            QRectF(x + 22, y + pad / 2.0, fm.horizontalAdvance(e.text) + 2, fm.height()),
            Qt::AlignLeft | Qt::AlignVCenter, e.text);
        x += 22 + fm.horizontalAdvance(e.text) + 2 * pad;
    }
}

void ExplorerPlotRenderer::drawEpisodes(QPainter& painter, const Layout& layout, const Panel& panel,
                                        bool labelled) const
{
    const bool isBody = panel.quantities.front() == PlotQuantity::Body;
    const QFontMetrics fm(m_options.font);
    double labelsEnd = -1e9;
    for (const FeverEpisode& e : m_options.episodes) {
        if (e.end < layout.from || e.start > layout.to)
            continue;
        double x0 = std::max<double>(layout.xFor(e.start), panel.rect.left());
        double x1 = std::min<double>(layout.xFor(e.end + 1), panel.rect.right() + 1);
        if (x1 - x0 < 2) {
            const double mid = (x0 + x1) / 2;
            x0 = mid - 1;
            x1 = mid + 1;
        }
        const QRectF span(x0, panel.rect.top(), x1 - x0, panel.rect.height());
        if (!labelled) {
            painter.fillRect(span,
                             QColor(Fever.red(), Fever.green(), Fever.blue(), isBody ? 48 : 26));
            continue;
        }
        // The label stands above the curve, under the legend, centred on the
        // span when it fits and never over another label.
        const QString text = QCoreApplication::translate("ExplorerPlotRenderer", "peak %1 °C, %2 h")
                                 .arg(CsvExport::temperatureText(e.peakRaw))
                                 .arg(e.hours(), 0, 'f', 1);
        const double w = fm.horizontalAdvance(text) + 8;
        double left = std::clamp(span.center().x() - w / 2, double(panel.rect.left() + 2),
                                 double(panel.rect.right()) - w - 2);
        if (left < labelsEnd)
            continue;
        const QRectF box(left, panel.rect.top() + fm.height() * 1.6, w, fm.height() + 2);
        labelsEnd = box.right() + 6;
        painter.setPen(QPen(QColor(Fever.red(), Fever.green(), Fever.blue(), 160), 1));
        painter.setBrush(QColor(255, 255, 255, 215));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(Fever.darker(150));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void ExplorerPlotRenderer::drawSeries(QPainter& painter, const Layout& layout, const Panel& panel,
                                      PlotQuantity quantity,
                                      const std::vector<PlotColumn>& columns) const
{
    if (m_data == nullptr)
        return;
    const PlotSeries& series = m_data->series(quantity);
    const double spp = layout.secondsPerPixel();
    const double scale = scaleOf(quantity);
    const bool markers =
        series.expectedSpacing() > 0 && static_cast<double>(series.expectedSpacing()) / spp >= 7.0;
    const QColor line = colour(quantity);
    QColor band = line;
    band.setAlpha(64);

    // One-pixel cosmetic lines take the raster engine's fast path; thicker
    // strokes and filled polygons cost a hundred times more over thousands
    // of zigzagging columns. The band is a vertical line a column, the mean
    // two lines half a pixel apart, which reads as a bold line.
    QVector<QLineF> bandLines;
    QVector<QPointF> dots;
    std::vector<QPolygonF> means;
    for (const auto& [first, last] : curveRuns(columns, series.expectedSpacing(), spp)) {
        QPolygonF run;
        for (int c = first; c <= last; ++c) {
            const PlotColumn& column = columns[static_cast<std::size_t>(c)];
            if (column.values.isEmpty())
                continue;
            const double x = panel.rect.left() + c + 0.5;
            run.append(QPointF(x, panel.yFor(column.mean * scale)));
            if (column.values.min != column.values.max)
                bandLines.append(QLineF(x, panel.yFor(column.values.min * scale), x,
                                        panel.yFor(column.values.max * scale)));
            if (markers)
                dots.append(run.back());
        }
        if (run.size() == 1)
            dots.append(run.front());
        else
            means.push_back(std::move(run));
    }
    QPen bandPen(band, 1);
    bandPen.setCosmetic(true);
    painter.setPen(bandPen);
    painter.drawLines(bandLines);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen linePen(line, 1);
    linePen.setCosmetic(true);
    painter.setPen(linePen);
    for (QPolygonF& run : means) {
        painter.drawPolyline(run);
        run.translate(0, 0.5);
        painter.drawPolyline(run);
    }
    if (!dots.isEmpty()) {
        painter.setPen(QPen(line, 1.2));
        painter.setBrush(Qt::white);
        const double r = markers ? 2.6 : 1.6;
        for (const QPointF& p : dots)
            painter.drawEllipse(p, r, r);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

std::vector<std::pair<int, int>>
ExplorerPlotRenderer::curveRuns(const std::vector<PlotColumn>& columns, std::int64_t spacing,
                                double secondsPerPixel)
{
    // Readings further apart than this leave a gap: a missed reading shows
    // once the plot is close enough to see it.
    const double gap = std::max(1.5 * static_cast<double>(spacing), 2.0 * secondsPerPixel);
    std::vector<std::pair<int, int>> runs;
    std::int64_t previousLast = 0;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const PlotColumn& column = columns[static_cast<std::size_t>(c)];
        if (column.values.isEmpty())
            continue;
        if (runs.empty() || static_cast<double>(column.firstTime - previousLast) > gap)
            runs.emplace_back(c, c);
        else
            runs.back().second = c;
        previousLast = column.lastTime;
    }
    return runs;
}

std::int64_t ExplorerPlotRenderer::cursorReach(const Layout& layout, PlotQuantity quantity) const
{
    const double spacing = static_cast<double>(m_data->series(quantity).expectedSpacing());
    return static_cast<std::int64_t>(
        std::ceil(std::max(1.5 * spacing, 4 * layout.secondsPerPixel())));
}

std::vector<std::pair<QString, QColor>>
ExplorerPlotRenderer::readoutEntries(const Layout& layout, std::int64_t time) const
{
    std::vector<std::pair<QString, QColor>> lines;
    if (m_data == nullptr)
        return lines;
    const RecordIndex& index = m_data->index();
    const PlotSeries& records = m_data->series(PlotQuantity::Collar);
    auto add = [&lines](PlotQuantity q, const QString& value) {
        lines.emplace_back(QStringLiteral("%1: %2").arg(PlotSeries::name(q), value), colour(q));
    };
    if (const auto pos = records.nearest(time, cursorReach(layout, PlotQuantity::Collar))) {
        const std::size_t record = records.streamIndex(*pos);
        const RecordValues v = index.values(record);
        lines.emplace_back(QStringLiteral("%1  %2").arg(dateText(index.recordTime(record)),
                                                        weekDay(index.recordTime(record))),
                           QColor(Qt::transparent));
        add(PlotQuantity::Body,
            v.hasBody() ? CsvExport::temperatureText(v.bodyRaw) + QStringLiteral(" °C")
                        : QCoreApplication::translate("ExplorerPlotRenderer", "no reading"));
        add(PlotQuantity::Collar, CsvExport::temperatureText(v.collarRaw) + QStringLiteral(" °C"));
        add(PlotQuantity::Activity, QString::number(v.activity));
        add(PlotQuantity::HeadDown, QString::number(v.headDown));
        add(PlotQuantity::HeadChanges, QString::number(v.headChanges));
    } else {
        lines.emplace_back(QStringLiteral("%1  %2").arg(dateText(time), weekDay(time)),
                           QColor(Qt::transparent));
        lines.emplace_back(QCoreApplication::translate("ExplorerPlotRenderer", "No record here"),
                           QColor(Qt::transparent));
    }
    const PlotSeries& hearts = m_data->series(PlotQuantity::HeartRate);
    if (const auto group = hearts.nearest(time, cursorReach(layout, PlotQuantity::HeartRate))) {
        const SeriesAggregate a = hearts.entry(*group);
        add(PlotQuantity::HeartRate,
            QCoreApplication::translate("ExplorerPlotRenderer", "%1 to %2 /min, mean %3 (%4 at %5)")
                .arg(a.min)
                .arg(a.max)
                .arg(a.mean(), 0, 'f', 0)
                .arg(a.count == 1 ? QCoreApplication::translate("ExplorerPlotRenderer", "1 value")
                                  : QCoreApplication::translate("ExplorerPlotRenderer", "%1 values")
                                        .arg(a.count))
                .arg(clockText(hearts.time(*group), true)));
    } else {
        add(PlotQuantity::HeartRate,
            QCoreApplication::translate("ExplorerPlotRenderer", "none near"));
    }
    for (const FeverEpisode& e : m_options.episodes)
        if (e.contains(time))
            lines.emplace_back(QCoreApplication::translate("ExplorerPlotRenderer",
                                                           "Fever: %1 h from %2, peak %3 °C")
                                   .arg(e.hours(), 0, 'f', 1)
                                   .arg(dateText(e.start).left(16))
                                   .arg(CsvExport::temperatureText(e.peakRaw)),
                               Fever);
    return lines;
}

QStringList ExplorerPlotRenderer::readout(const Layout& layout, std::int64_t time) const
{
    QStringList texts;
    for (const auto& [text, colour] : readoutEntries(layout, time))
        texts.append(text);
    return texts;
}

void ExplorerPlotRenderer::drawCursor(QPainter& painter, const Layout& layout,
                                      std::int64_t time) const
{
    if (time < layout.from || time > layout.to)
        return;
    painter.save();
    painter.setFont(m_options.font);
    const QFontMetrics fm(m_options.font);
    const double x = std::floor(layout.xFor(time)) + 0.5;
    painter.setPen(QPen(QColor(60, 60, 60, 170), 1, Qt::DashLine));
    for (const Panel& panel : layout.panels)
        painter.drawLine(QPointF(x, panel.rect.top()), QPointF(x, panel.rect.bottom() + 1));

    // A dot on every curve at the record the read-out names.
    if (m_data != nullptr) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        for (const Panel& panel : layout.panels) {
            for (const PlotQuantity q : panel.quantities) {
                const PlotSeries& series = m_data->series(q);
                const auto pos = series.nearest(time, cursorReach(layout, q));
                if (!pos)
                    continue;
                const SeriesAggregate a = series.entry(*pos);
                const QPointF p(layout.xFor(series.time(*pos)), panel.yFor(a.mean() * scaleOf(q)));
                if (!panel.rect.contains(p.toPoint()))
                    continue;
                painter.setPen(QPen(Qt::white, 1.5));
                painter.setBrush(colour(q));
                painter.drawEllipse(p, 4, 4);
            }
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    const auto lines = readoutEntries(layout, time);
    if (lines.empty()) {
        painter.restore();
        return;
    }
    int width = 0;
    for (const auto& line : lines)
        width = std::max(width, fm.horizontalAdvance(line.first));
    const int pad = fm.height() / 2;
    const QSizeF box(width + 3 * pad + 14,
                     static_cast<double>(lines.size()) * fm.height() + 2 * pad);
    double left = x + 12;
    if (left + box.width() > layout.plot.right())
        left = x - 12 - box.width();
    const QRectF frame(
        QPointF(std::max<double>(left, layout.plot.left()), layout.plot.top() + fm.height() * 2),
        box);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRoundedRect(frame, 4, 4);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double y = frame.top() + pad + static_cast<double>(i) * fm.height();
        if (lines[i].second.alpha() > 0)
            painter.fillRect(QRectF(frame.left() + pad, y + fm.height() / 2.0 - 3, 8, 6),
                             lines[i].second);
        QFont font = m_options.font;
        font.setBold(i == 0);
        painter.setFont(font);
        painter.setPen(Ink);
        painter.drawText(QRectF(frame.left() + pad + 14, y, width + 4, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i].first);
    }
    painter.restore();
}
