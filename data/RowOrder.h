#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The order a sorted table shows its items in: a permutation from row to item
// and, made when first asked, its inverse. Stream order holds no permutation.
class RowOrder {
public:
    // Back to stream order.
    void reset();
    // Takes `order` (row -> item); one that keeps every item in its place is
    // stream order.
    void take(std::vector<std::uint32_t> order);

    [[nodiscard]] bool isStreamOrder() const { return m_order.empty(); }
    [[nodiscard]] const std::vector<std::uint32_t>& order() const { return m_order; }
    [[nodiscard]] std::size_t itemAt(int row) const;
    [[nodiscard]] int rowOf(std::size_t item) const;

private:
    std::vector<std::uint32_t> m_order; // empty: stream order
    mutable std::vector<std::uint32_t> m_rowOf;
};
