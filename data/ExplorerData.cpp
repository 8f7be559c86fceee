#include "data/ExplorerData.h"

ExplorerData::ExplorerData(DataDocument document, CivilTime pcClock)
    : m_document(std::move(document)),
      m_index(m_document, pcClock), m_series{PlotSeries(m_index, PlotQuantity::Body),
                                             PlotSeries(m_index, PlotQuantity::Collar),
                                             PlotSeries(m_index, PlotQuantity::Activity),
                                             PlotSeries(m_index, PlotQuantity::HeadDown),
                                             PlotSeries(m_index, PlotQuantity::HeadChanges),
                                             PlotSeries(m_index, PlotQuantity::HeartRate)}
{}

std::size_t ExplorerData::memoryBytes() const
{
    std::size_t bytes = m_index.memoryBytes();
    for (const PlotSeries& s : m_series)
        bytes += s.memoryBytes();
    return bytes;
}
