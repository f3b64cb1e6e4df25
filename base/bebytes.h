// Big-endian access to wire layouts: whole words and IEEE-754 values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Big-endian field of the wire layout: a byte array, so no alignment or padding.
template <typename U>
struct BEWord {
    uint8_t b[sizeof(U)];
    U Get() const {
        U v = 0;
        for (size_t i = 0; i < sizeof(U); ++i) v = static_cast<U>((v << 8) | b[i]);
        return v;
    }
};
using BEU32 = BEWord<uint32_t>;

// Big-endian IEEE-754 value: the bits of the same width, reinterpreted.
template <typename F, typename U>
struct BEReal {
    static_assert(sizeof(F) == sizeof(U), "IEEE-754 width");
    BEWord<U> w;
    F Get() const {
        U bits = w.Get();
        F v;
        memcpy(&v, &bits, sizeof v);
        return v;
    }
};
using BEFloat = BEReal<float, uint32_t>;
using BEDouble = BEReal<double, uint64_t>;
