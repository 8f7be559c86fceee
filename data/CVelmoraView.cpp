#include "data/CVelmoraView.h"

#include "app/CVelmoraDoc.h"
#include "data/DataStreamDecoder.h"
#include "logger/CLogger.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

namespace {

// The lines the record pane shows: one per record it decodes.
int recordLines(const DataDocument& data)
{
    struct Counter {
        int lines = 0;
        void recordBegins(int, CivilTime) { ++lines; }
        void recordEnds(const RecordValues&) {}
        void groupBegins(int, CivilTime) {}
        void groupValue(int) {}
        void groupEnds() {}
        void endOfStream() {}
    } counter;
    DataStreamDecoder::decode(data, counter, CivilTime(), DataStreamDecoder::PanePositionLimit);
    return counter.lines;
}

} // namespace

CVelmoraView::CVelmoraView(CVelmoraDoc& document, LoggerLookup logger, QWidget* parent)
    : QAbstractScrollArea(parent), m_logger(std::move(logger)), m_document(document)
{
    setFocusPolicy(Qt::StrongFocus);
    // The columns are laid out in character widths: a fixed font keeps
    // them apart.
    viewport()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(&m_document, &CVelmoraDoc::dataChanged, this,
            [this](bool initial) { onDocumentChanged(initial); });
    updateScrollBars();
}

void CVelmoraView::onDocumentChanged(bool initial)
{
    // Only the left pane stretches to fit after a download.
    setMode(initial ? Mode::Scroll : Mode::ScaleToFit);
}

void CVelmoraView::setMode(Mode mode)
{
    m_mode = mode;
    updateScrollBars();
    viewport()->update();
}

void CVelmoraView::updateScrollBars()
{
    const bool scroll = m_mode == Mode::Scroll;
    horizontalScrollBar()->setRange(0, scroll ? qMax(0, ScrollSize - viewport()->width()) : 0);
    verticalScrollBar()->setRange(0, scroll ? qMax(0, ScrollSize - viewport()->height()) : 0);
}

void CVelmoraView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CVelmoraView::paintEvent(QPaintEvent*)
{
    CLogger* logger = m_logger ? m_logger() : nullptr;
    if (logger == nullptr)
        return;
    QPainter painter(viewport());
    if (m_mode == Mode::ScaleToFit)
        painter.scale(viewport()->width() / double(FitSize),
                      viewport()->height() / double(FitSize));
    else
        painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    drawPane(*logger, painter);
}

void CVelmoraView::drawPane(CLogger& logger, QPainter& painter)
{
    logger.DrawRecordPane(painter, m_document);
}

int CVelmoraView::linesPerPage(QPrinter& printer)
{
    QPainter probe(&printer);
    probe.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int h = probe.fontMetrics().height();
    const int H = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    return qMax(1, H / qMax(1, h) - 1);
}

int CVelmoraView::printRecords(QPrinter& printer)
{
    CLogger* logger = m_logger ? m_logger() : nullptr;
    QPainter painter(&printer);
    if (logger == nullptr || !painter.isActive())
        return 0;
    painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int h = painter.fontMetrics().height();
    const int H = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    const int perPage = qMax(1, H / qMax(1, h) - 1);
    // A short list needs fewer than six pages.
    const int lines = recordLines(m_document.data());
    const int pages = qBound(1, (lines + perPage - 1) / perPage, MaxPrintPages);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            printer.newPage();
        painter.save();
        // Every page shows the same band, from the second line down, so a
        // page starts with the line after the last one of the page before,
        // and no line is cut at the bottom.
        painter.setClipRect(QRect(0, h, printer.width(), perPage * h));
        painter.translate(0, -(perPage * (page - 1) * h));
        logger->DrawRecordPane(painter, m_document);
        painter.restore();
    }
    return pages;
}

void CVelmoraView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Q_EMIT activated();
}

void CVelmoraView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    Q_EMIT activated();
    QAbstractScrollArea::mousePressEvent(event);
}
