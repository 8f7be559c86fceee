#include "data/RecordTablePrinter.h"
#include <QCoreApplication>

#include "data/CsvExport.h"
#include "data/RecordIndex.h"
#include "data/RecordTableModel.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>

namespace {

// Shares of the page width, column by column.
constexpr std::array<double, RecordTableModel::ColumnCount> Widths{0.09, 0.24, 0.13, 0.13,
                                                                   0.12, 0.13, 0.16};

struct Page {
    QFont body;
    QFont bold;
    QFont title;
    double width;
    double height;
    double line;    // height of a line of body text
    double row;     // height of a table row
    double top;     // where the rows start
    double footTop; // where the foot starts
};

Page measure(QPagedPaintDevice& device)
{
    Page p;
    p.body = QFont(QStringLiteral("DejaVu Sans"));
    p.body.setPointSizeF(9);
    p.bold = p.body;
    p.bold.setBold(true);
    p.title = p.bold;
    p.title.setPointSizeF(13);
    p.width = device.width();
    p.height = device.height();
    const QFontMetricsF body(p.body, &device);
    const QFontMetricsF title(p.title, &device);
    p.line = body.lineSpacing();
    p.row = std::ceil(p.line * 1.25);
    p.top = title.lineSpacing() + p.line * 1.5 + 2 * p.line + p.line * 0.6;
    p.footTop = p.height - p.line * 1.6;
    return p;
}

} // namespace

RecordTablePrinter::RecordTablePrinter(Job job) : m_job(std::move(job)) {}

int RecordTablePrinter::rowsPerPage(QPagedPaintDevice& device) const
{
    const Page p = measure(device);
    return std::max(1, static_cast<int>((p.footTop - p.line * 0.5 - p.top) / p.row));
}

int RecordTablePrinter::pageCount(QPagedPaintDevice& device) const
{
    const int perPage = rowsPerPage(device);
    const auto rows = static_cast<std::int64_t>(m_job.records.size());
    return std::max<int>(1, static_cast<int>((rows + perPage - 1) / perPage));
}

int RecordTablePrinter::print(QPagedPaintDevice& device, int maxPages) const
{
    QPainter painter(&device);
    if (!painter.isActive() || m_job.index == nullptr)
        return 0;
    const Page p = measure(device);
    const int perPage = rowsPerPage(device);
    const int pages = pageCount(device);
    const int printed = std::min(pages, std::max(1, maxPages));
    const RecordIndex& index = *m_job.index;
    const QColor muted(100, 100, 100);
    const QString printedOn =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));

    std::array<double, RecordTableModel::ColumnCount> left{};
    double x = 0;
    for (std::size_t c = 0; c < Widths.size(); ++c) {
        left[c] = x;
        x += Widths[c] * p.width;
    }
    const double pad = p.line * 0.4;
    auto cell = [&](int column, double y, double h, const QString& text) {
        const auto c = static_cast<std::size_t>(column);
        const QRectF box(left[c] + pad, y, Widths[c] * p.width - 2 * pad, h);
        painter.drawText(box,
                         (column == RecordTableModel::Date ? Qt::AlignLeft : Qt::AlignRight) |
                             Qt::AlignVCenter,
                         text);
    };

    for (int page = 0; page < printed; ++page) {
        if (page > 0)
            device.newPage();
        // Title and what is printed.
        painter.setPen(Qt::black);
        painter.setFont(p.title);
        const double titleHeight = QFontMetricsF(p.title, &device).lineSpacing();
        painter.drawText(QRectF(0, 0, p.width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         m_job.title);
        painter.setFont(p.body);
        painter.setPen(muted);
        painter.drawText(QRectF(0, titleHeight, p.width, p.line * 1.2),
                         Qt::AlignLeft | Qt::AlignVCenter, m_job.scope);

        // Column headers: the name, and under it the unit.
        const double headTop = titleHeight + p.line * 1.5;
        for (int c = 0; c < RecordTableModel::ColumnCount; ++c) {
            painter.setFont(p.bold);
            painter.setPen(Qt::black);
            cell(c, headTop, p.line, RecordTableModel::title(c));
            painter.setFont(p.body);
            painter.setPen(muted);
            cell(c, headTop + p.line, p.line, RecordTableModel::unit(c));
        }
        painter.setPen(QPen(Qt::black, std::max(1.0, p.line / 14)));
        painter.drawLine(QPointF(0, headTop + 2 * p.line + p.line * 0.3),
                         QPointF(p.width, headTop + 2 * p.line + p.line * 0.3));

        // The rows.
        const std::size_t first =
            static_cast<std::size_t>(page) * static_cast<std::size_t>(perPage);
        const std::size_t end =
            std::min(m_job.records.size(), first + static_cast<std::size_t>(perPage));
        if (m_job.records.empty()) {
            painter.setPen(muted);
            painter.drawText(
                QRectF(0, p.top, p.width, p.row), Qt::AlignCenter,
                QCoreApplication::translate("RecordTablePrinter", "No records to print."));
        }
        for (std::size_t i = first; i < end; ++i) {
            const double y = p.top + static_cast<double>(i - first) * p.row;
            if ((i - first) % 2 == 1)
                painter.fillRect(QRectF(0, y, p.width, p.row), QColor(242, 242, 242));
            const std::size_t record = m_job.records[i];
            painter.setPen(Qt::black);
            painter.setFont(p.body);
            cell(RecordTableModel::Id, y, p.row, QString::number(index.implantId()));
            cell(RecordTableModel::Date, y, p.row, index.recordDate(record).toString());
            if (!index.hasValues(record)) {
                for (int c = RecordTableModel::Body; c < RecordTableModel::ColumnCount; ++c)
                    cell(c, y, p.row, QStringLiteral("\u2013"));
                continue;
            }
            const RecordValues v = index.values(record);
            const bool fever = v.hasBody() && v.bodyRaw / 256.0 > m_job.feverAbove;
            painter.setFont(fever ? p.bold : p.body);
            cell(RecordTableModel::Body, y, p.row,
                 v.hasBody() ? CsvExport::temperatureText(v.bodyRaw) : QStringLiteral("\u2013"));
            painter.setFont(p.body);
            cell(RecordTableModel::Collar, y, p.row, CsvExport::temperatureText(v.collarRaw));
            cell(RecordTableModel::Activity, y, p.row, QString::number(v.activity));
            cell(RecordTableModel::HeadDown, y, p.row, QString::number(v.headDown));
            cell(RecordTableModel::HeadChanges, y, p.row, QString::number(v.headChanges));
        }

        // The foot.
        painter.setPen(QPen(muted, std::max(1.0, p.line / 20)));
        painter.drawLine(QPointF(0, p.footTop), QPointF(p.width, p.footTop));
        painter.setFont(p.body);
        const QRectF foot(0, p.footTop + p.line * 0.3, p.width, p.line);
        painter.drawText(
            foot, Qt::AlignLeft | Qt::AlignVCenter,
            QCoreApplication::translate("RecordTablePrinter", "%1   \u00B7   printed %2")
                .arg(m_job.source, printedOn));
        painter.setPen(Qt::black);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                         QCoreApplication::translate("RecordTablePrinter", "Page %1 of %2")
                             .arg(page + 1)
                             .arg(pages));
        if (page + 1 == printed && printed < pages) {
            painter.setFont(p.bold);
            painter.setPen(QColor(183, 28, 28));
            painter.drawText(
                foot, Qt::AlignHCenter | Qt::AlignVCenter,
                QCoreApplication::translate("RecordTablePrinter",
                                            "The preview ends here; printing prints all %1 pages.")
                    .arg(pages));
        }
    }
    return printed;
}
