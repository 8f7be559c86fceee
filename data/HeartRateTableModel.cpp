#include "data/HeartRateTableModel.h"

#include "data/ExplorerData.h"

#include <algorithm>
#include <numeric>

namespace {

// A row shows this many values; the rest are counted.
constexpr std::size_t ShownValues = 40;

const QString Missing = QStringLiteral("\u2013");

} // namespace

HeartRateTableModel::HeartRateTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void HeartRateTableModel::setSource(std::shared_ptr<const ExplorerData> data)
{
    beginResetModel();
    m_data = std::move(data);
    m_rows.reset();
    endResetModel();
}

int HeartRateTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_data ? 0 : static_cast<int>(m_data->index().groupCount());
}

int HeartRateTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::size_t HeartRateTableModel::groupAt(int row) const
{
    return m_rows.itemAt(row);
}

int HeartRateTableModel::rowOf(std::size_t group) const
{
    return m_rows.rowOf(group);
}

HeartRateTableModel::Summary HeartRateTableModel::summary(std::size_t group) const
{
    Summary s;
    const auto values = m_data->index().groupValues(group);
    if (values.empty())
        return s;
    s.count = static_cast<int>(values.size());
    s.lowest = *std::min_element(values.begin(), values.end());
    s.highest = *std::max_element(values.begin(), values.end());
    s.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(s.count);
    return s;
}

QVariant HeartRateTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_data || !index.isValid())
        return {};
    const RecordIndex& records = m_data->index();
    const std::size_t group = groupAt(index.row());
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(index.column() == Date || index.column() == Values
                                    ? Qt::AlignLeft | Qt::AlignVCenter
                                    : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (role == Qt::ToolTipRole && index.column() != Values)
        return {};
    const Summary s = summary(group);
    switch (index.column()) {
    case Id:
        return records.implantId();
    case Date:
        return CivilTime::fromSeconds(records.groupTime(group)).toString();
    case Count:
        return s.count;
    case Lowest:
        return s.count > 0 ? QVariant(s.lowest) : QVariant(Missing);
    case Mean:
        return s.count > 0 ? QVariant(QString::number(s.mean, 'f', 1)) : QVariant(Missing);
    case Highest:
        return s.count > 0 ? QVariant(s.highest) : QVariant(Missing);
    case Values: {
        const auto values = records.groupValues(group);
        const std::size_t shown =
            role == Qt::ToolTipRole ? values.size() : std::min(values.size(), ShownValues);
        QString text;
        for (std::size_t i = 0; i < shown; ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += QString::number(values[i]);
        }
        if (shown < values.size())
            text += tr(" \u2026 (%1 more)").arg(values.size() - shown);
        return text;
    }
    default:
        return {};
    }
}

QVariant HeartRateTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Id:
        return tr("Id\nimplant");
    case Date:
        return tr("Date\nlocal time");
    case Count:
        return tr("Values\ncount");
    case Lowest:
        return tr("Lowest\n/min");
    case Mean:
        return tr("Mean\n/min");
    case Highest:
        return tr("Highest\n/min");
    case Values:
        return tr("Heart-rate values\n/min, in order");
    default:
        return {};
    }
}

void HeartRateTableModel::sort(int column, Qt::SortOrder order)
{
    if (!m_data)
        return;
    const RecordIndex& records = m_data->index();
    const std::size_t rows = records.groupCount();
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> groupsBefore;
    for (const QModelIndex& i : before)
        groupsBefore.push_back(groupAt(i.row()));

    // One key a row; groups without values go last either way.
    std::vector<double> key(rows);
    std::vector<bool> empty(rows);
    for (std::size_t g = 0; g < rows; ++g) {
        const Summary s = column == Date ? Summary{} : summary(g);
        empty[g] = column != Date && column != Count && column != Values && s.count == 0;
        switch (column) {
        case Date:
            key[g] = static_cast<double>(records.groupTime(g));
            break;
        case Lowest:
            key[g] = s.lowest;
            break;
        case Mean:
            key[g] = s.mean;
            break;
        case Highest:
            key[g] = s.highest;
            break;
        case Count:
        case Values:
            key[g] = s.count;
            break;
        default:
            key[g] = 0;
        }
    }
    std::vector<std::uint32_t> sorted(rows);
    std::iota(sorted.begin(), sorted.end(), 0U);
    const bool up = order == Qt::AscendingOrder;
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (empty[a] != empty[b])
            return !empty[a];
        return up ? key[a] < key[b] : key[a] > key[b];
    });
    m_rows.take(std::move(sorted));

    QModelIndexList after;
    for (std::size_t i = 0; i < groupsBefore.size(); ++i)
        after.append(index(rowOf(groupsBefore[i]), before[static_cast<qsizetype>(i)].column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
