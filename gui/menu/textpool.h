// Where each text of a NUL-separated pool ("a" "\0" "b" "\0") starts and how long it
// is, worked out by the compiler: the tables take their offsets from here and never
// count them by hand.
#pragma once

#include <cstddef>
#include <cstdint>

template <std::size_t Size>
struct TPoolIndex {
    int32_t count = 0;        // texts in the pool
    int32_t offset[Size] = {};
    int32_t length[Size] = {};
};

// Size counts the literal's own closing NUL, which ends no text.
template <std::size_t Size>
constexpr TPoolIndex<Size> IndexPool(const char (&pool)[Size]) {
    TPoolIndex<Size> index{};
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < Size; ++i) {
        if (pool[i] != '\0') continue;
        index.offset[index.count] = static_cast<int32_t>(start);
        index.length[index.count] = static_cast<int32_t>(i - start);
        ++index.count;
        start = i + 1;
    }
    if (start + 1 != Size) throw "the pool's last text lacks its NUL";
    return index;
}

template <typename Row, int Count>
struct TPoolRows {
    Row rows[Count + 1];
};

// The rows {id, offset, length} of a pool whose n-th text has id n, and the end mark.
template <typename Row, int Count, std::size_t Size>
constexpr TPoolRows<Row, Count> PoolRows(const char (&pool)[Size], int endMark) {
    const TPoolIndex<Size> index = IndexPool(pool);
    if (index.count != Count) throw "the pool and the table differ in their number of texts";
    using Id = decltype(Row::id);
    TPoolRows<Row, Count> table{};
    for (int i = 0; i < Count; ++i) table.rows[i] = {static_cast<Id>(i + 1), index.offset[i], index.length[i]};
    table.rows[Count] = {static_cast<Id>(endMark), 0, 0};
    return table;
}
