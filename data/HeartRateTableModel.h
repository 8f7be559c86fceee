#pragma once

#include "data/RowOrder.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

class ExplorerData;

// Every heart-rate group of a download, one row each: its date, how many
// values, the lowest, mean and highest, and the values themselves.
class HeartRateTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Id, Date, Count, Lowest, Mean, Highest, Values, ColumnCount };

    explicit HeartRateTableModel(QObject* parent = nullptr);

    void setSource(std::shared_ptr<const ExplorerData> data);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    [[nodiscard]] std::size_t groupAt(int row) const;
    [[nodiscard]] int rowOf(std::size_t group) const;

private:
    struct Summary {
        int lowest = 0;
        int highest = 0;
        double mean = 0;
        int count = 0;
    };
    [[nodiscard]] Summary summary(std::size_t group) const;

    std::shared_ptr<const ExplorerData> m_data;
    RowOrder m_rows;
};
