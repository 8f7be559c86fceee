#include "data/RecordTableModel.h"

#include "data/CsvExport.h"
#include "data/ExplorerData.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include <algorithm>
#include <numeric>

namespace {

// Keys run from 0 to 65535; Last puts a row after all others (a record
// without the value, which sorts last both ways, as in a spreadsheet).
constexpr std::uint32_t Last = 65536;

template <typename Key> std::vector<std::uint32_t> countingSort(std::size_t rows, const Key& key)
{
    std::vector<std::uint32_t> starts(Last + 2, 0);
    for (std::size_t r = 0; r < rows; ++r)
        ++starts[key(r) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<std::uint32_t> order(rows);
    for (std::size_t r = 0; r < rows; ++r)
        order[starts[key(r)]++] = static_cast<std::uint32_t>(r);
    return order;
}

const QString Missing = QStringLiteral("\u2013");

} // namespace

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordTableModel::setSource(std::shared_ptr<const ExplorerData> data)
{
    beginResetModel();
    m_data = std::move(data);
    m_rows.reset();
    endResetModel();
}

void RecordTableModel::setFeverThreshold(double celsius)
{
    m_threshold = celsius;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, Body), index(rowCount() - 1, Body));
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_data ? 0 : static_cast<int>(m_data->index().recordCount());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::size_t RecordTableModel::recordAt(int row) const
{
    return m_rows.itemAt(row);
}

int RecordTableModel::rowOf(std::size_t record) const
{
    return m_rows.rowOf(record);
}

std::vector<std::uint32_t> RecordTableModel::shownOrder() const
{
    if (!m_rows.isStreamOrder())
        return m_rows.order();
    std::vector<std::uint32_t> order(static_cast<std::size_t>(rowCount()));
    std::iota(order.begin(), order.end(), 0U);
    return order;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_data || !index.isValid())
        return {};
    const RecordIndex& records = m_data->index();
    const std::size_t record = recordAt(index.row());
    const bool values = records.hasValues(record);
    const bool fever = values && index.column() == Body && records.bodyRaw(record) > 0 &&
                       records.bodyRaw(record) / 256.0 > m_threshold;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Id:
            return records.implantId();
        case Date:
            return records.recordDate(record).toString();
        default:
            break;
        }
        if (!values)
            return Missing;
        switch (index.column()) {
        case Body:
            return records.bodyRaw(record) > 0 ? CsvExport::temperatureText(records.bodyRaw(record))
                                               : Missing;
        case Collar:
            return CsvExport::temperatureText(records.collarRaw(record));
        case Activity:
            return records.activity(record);
        case HeadDown:
            return records.headDown(record);
        case HeadChanges:
            return records.headChanges(record);
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return static_cast<int>(index.column() == Date ? Qt::AlignLeft | Qt::AlignVCenter
                                                       : Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (fever)
            return QBrush(QColor(183, 28, 28));
        return {};
    case Qt::FontRole:
        if (fever) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (!values)
            return tr("The data end before this record's values.");
        if (index.column() == Body && records.bodyRaw(record) <= 0)
            return tr("No body temperature: the implant was not heard.");
        return {};
    default:
        return {};
    }
}

QString RecordTableModel::title(int column)
{
    switch (column) {
    case Id:
        return tr("Id");
    case Date:
        return tr("Date");
    case Body:
        return tr("Body temp.");
    case Collar:
        return tr("Collar temp.");
    case Activity:
        return tr("Activity");
    case HeadDown:
        return tr("Head down");
    case HeadChanges:
        return tr("Head changes");
    default:
        return {};
    }
}

QString RecordTableModel::unit(int column)
{
    switch (column) {
    case Id:
        return QStringLiteral("implant");
    case Date:
        return tr("local time");
    case Body:
    case Collar:
        return QStringLiteral("°C");
    case Activity:
    case HeadChanges:
        return QStringLiteral("count");
    case HeadDown:
        return QStringLiteral("duration");
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return QStringLiteral("%1\n%2").arg(title(section), unit(section));
    if (role == Qt::ToolTipRole && section == Body)
        return tr("Body temperature from the implant; \u2013 where it was not heard.");
    return {};
}

void RecordTableModel::sort(int column, Qt::SortOrder order)
{
    if (!m_data)
        return;
    const RecordIndex& records = m_data->index();
    const std::size_t rows = records.recordCount();
    const bool up = order == Qt::AscendingOrder;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> recordsBefore;
    for (const QModelIndex& i : before)
        recordsBefore.push_back(recordAt(i.row()));

    // A key for a value from 0 to `top`: ascending, or turned round.
    auto keyed = [&](auto value, std::uint32_t top) {
        return countingSort(rows, [&](std::size_t r) -> std::uint32_t {
            if (!records.hasValues(r))
                return Last;
            const std::int64_t v = value(r);
            if (v < 0)
                return Last;
            return up ? static_cast<std::uint32_t>(v) : top - static_cast<std::uint32_t>(v);
        });
    };
    std::vector<std::uint32_t> sorted;
    switch (column) {
    case Body:
        sorted = keyed(
            [&](std::size_t r) -> std::int64_t {
                const int raw = records.bodyRaw(r);
                return raw > 0 ? raw : -1;
            },
            32767);
        break;
    case Collar:
        sorted = keyed([&](std::size_t r) -> std::int64_t { return records.collarRaw(r) + 32768; },
                       65535);
        break;
    case Activity:
        sorted = keyed([&](std::size_t r) -> std::int64_t { return records.activity(r); }, 65535);
        break;
    case HeadDown:
        sorted = keyed([&](std::size_t r) -> std::int64_t { return records.headDown(r); }, 255);
        break;
    case HeadChanges:
        sorted = keyed([&](std::size_t r) -> std::int64_t { return records.headChanges(r); }, 255);
        break;
    case Date:
        sorted.resize(rows);
        std::iota(sorted.begin(), sorted.end(), 0U);
        // Mostly the stream is in time order already.
        if (up && records.recordsInTimeOrder() &&
            (rows < 2 || records.recordTime(rows - 1) >= records.recordTime(rows - 2)))
            break;
        std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
            return up ? records.recordTime(a) < records.recordTime(b)
                      : records.recordTime(a) > records.recordTime(b);
        });
        break;
    default: // one implant: every row has the same Id
        sorted.resize(rows);
        std::iota(sorted.begin(), sorted.end(), 0U);
        break;
    }
    m_rows.take(std::move(sorted));

    QModelIndexList after;
    for (std::size_t i = 0; i < recordsBefore.size(); ++i)
        after.append(index(rowOf(recordsBefore[i]), before[static_cast<qsizetype>(i)].column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
