#pragma once

#include "data/DataDocument.h"
#include "data/PlotSeries.h"
#include "data/RecordIndex.h"

#include <array>

// One download as the explorer shows it, decoded once: the document itself
// (for exports and the header), its record index, and one plot series per
// quantity. Made once per document and shared, never copied.
class ExplorerData {
public:
    ExplorerData(DataDocument document, CivilTime pcClock);
    ExplorerData(const ExplorerData&) = delete;
    ExplorerData& operator=(const ExplorerData&) = delete;

    [[nodiscard]] const DataDocument& document() const { return m_document; }
    [[nodiscard]] const RecordIndex& index() const { return m_index; }
    [[nodiscard]] const PlotSeries& series(PlotQuantity quantity) const
    {
        return m_series[static_cast<std::size_t>(quantity)];
    }
    [[nodiscard]] std::size_t memoryBytes() const;

private:
    DataDocument m_document;
    RecordIndex m_index;
    std::array<PlotSeries, PlotQuantityCount> m_series;
};
