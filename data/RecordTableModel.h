#pragma once

#include "data/RowOrder.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

class ExplorerData;

// Every record of a download as a table, read straight from the index: a
// row costs nothing until it is shown, so millions scroll like dozens.
// Sorting keeps a permutation of the rows; equal values keep stream order.
class RecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Id, Date, Body, Collar, Activity, HeadDown, HeadChanges, ColumnCount };

    explicit RecordTableModel(QObject* parent = nullptr);

    void setSource(std::shared_ptr<const ExplorerData> data);
    // Body temperatures above it are shown in bold red.
    void setFeverThreshold(double celsius);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The record (stream index) a row shows, and the row showing a record.
    [[nodiscard]] std::size_t recordAt(int row) const;
    [[nodiscard]] int rowOf(std::size_t record) const;
    // Every row's record, in the order shown.
    [[nodiscard]] std::vector<std::uint32_t> shownOrder() const;

    // Column titles with their units, for the table and the printed page.
    [[nodiscard]] static QString title(int column);
    [[nodiscard]] static QString unit(int column);

private:
    std::shared_ptr<const ExplorerData> m_data;
    RowOrder m_rows;
    double m_threshold = 39.5;
};
