#include "data/RowOrder.h"

void RowOrder::reset()
{
    m_order.clear();
    m_rowOf.clear();
}

void RowOrder::take(std::vector<std::uint32_t> order)
{
    bool identity = true;
    for (std::size_t r = 0; r < order.size() && identity; ++r)
        identity = order[r] == r;
    if (identity)
        order.clear();
    m_order = std::move(order);
    m_rowOf.clear();
}

std::size_t RowOrder::itemAt(int row) const
{
    return m_order.empty() ? static_cast<std::size_t>(row) : m_order[static_cast<std::size_t>(row)];
}

int RowOrder::rowOf(std::size_t item) const
{
    if (m_order.empty())
        return static_cast<int>(item);
    if (m_rowOf.empty()) {
        m_rowOf.resize(m_order.size());
        for (std::size_t row = 0; row < m_order.size(); ++row)
            m_rowOf[m_order[row]] = static_cast<std::uint32_t>(row);
    }
    return static_cast<int>(m_rowOf[item]);
}
