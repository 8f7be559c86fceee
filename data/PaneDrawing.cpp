#include "data/PaneDrawing.h"

#include "data/CsvExport.h"
#include "data/DataStreamDecoder.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

namespace {

// Draws text with its top at y, as the lines are laid out by their tops.
struct PaneText {
    QPainter& painter;
    int h;
    int w;
    int ascent;
    double visibleTop;
    double visibleBottom;

    explicit PaneText(QPainter& p)
        : painter(p), h(p.fontMetrics().height()), w(p.fontMetrics().averageCharWidth()),
          ascent(p.fontMetrics().ascent())
    {
        painter.setPen(Qt::black);
        painter.setBackground(Qt::white);
        painter.setBackgroundMode(Qt::OpaqueMode);
        // Only lines that can be seen are drawn; all are still decoded. A
        // clipped painter (a printed page) gets whole lines only.
        if (p.hasClipping()) {
            const QRectF clip = p.clipBoundingRect();
            visibleTop = clip.top();
            visibleBottom = clip.bottom() - h;
        } else {
            const QRectF device(0, 0, p.device()->width(), p.device()->height());
            const QRectF logical = p.worldTransform().inverted().mapRect(device);
            visibleTop = logical.top() - h;
            visibleBottom = logical.bottom() + h;
        }
    }
    [[nodiscard]] bool visible(int y) const
    {
        return y >= visibleTop - 0.5 && y <= visibleBottom + 0.5;
    }
    void text(int x, int y, const QString& s) { painter.drawText(x, y + ascent, s); }
};

QString idText(int id)
{
    return QString::number(id) + QLatin1Char(',');
}

struct RecordLines {
    PaneText out;
    int y;
    void recordBegins(int id, CivilTime date)
    {
        if (!out.visible(y))
            return;
        out.text(10, y, idText(id));
        out.text(3 * out.w + 10, y, date.toString());
    }
    void recordEnds(const RecordValues& v)
    {
        if (out.visible(y)) {
            char line[64];
            char* p = line;
            *p++ = ',';
            if (v.hasBody())
                p += CsvExport::formatTemperature(v.bodyRaw, p);
            *p++ = ',';
            p += CsvExport::formatTemperature(v.collarRaw, p);
            const QString rest =
                QString::asprintf(",%i,%i,%i", v.activity, v.headDown, v.headChanges);
            out.text(23 * out.w + 10, y, QString::fromLatin1(line, p - line) + rest);
        }
        y += out.h;
    }
    void groupBegins(int, CivilTime) {}
    void groupValue(int) {}
    void groupEnds() {}
    void endOfStream() {}
};

struct GroupLines {
    PaneText out;
    int y;
    int x = 0;
    void recordBegins(int, CivilTime) {}
    void recordEnds(const RecordValues&) {}
    void groupBegins(int id, CivilTime date)
    {
        if (out.visible(y)) {
            out.text(10, y, idText(id));
            out.text(3 * out.w + 10, y, date.toString());
        }
        x = 23 * out.w + 10;
    }
    void groupValue(int value)
    {
        if (out.visible(y))
            out.text(x, y, QLatin1Char(',') + QString::number(value));
        x += 4 * out.w;
    }
    void groupEnds() { y += out.h; }
    void endOfStream() {}
};

} // namespace

namespace {

template <typename Lines>
void drawLines(QPainter& painter, const DataDocument& data, CivilTime pcClock)
{
    if (data.isEmpty())
        return;
    Lines lines{PaneText(painter), 0};
    lines.y = lines.out.h; // the first line stands one line below the top
    DataStreamDecoder::decode(data, lines, pcClock, DataStreamDecoder::PanePositionLimit);
}

} // namespace

void PaneDrawing::drawRecords(QPainter& painter, const DataDocument& data, CivilTime pcClock)
{
    drawLines<RecordLines>(painter, data, pcClock);
}

void PaneDrawing::drawGroups(QPainter& painter, const DataDocument& data, CivilTime pcClock)
{
    drawLines<GroupLines>(painter, data, pcClock);
}
