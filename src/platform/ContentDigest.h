#pragma once
// What the content check knows of some bytes: their CRC-32 and their XXH3-128, folded in the
// same read. Two files count as equal only when both agree (and their sizes do).

#include <cstdint>

namespace pellmora {

struct ContentDigest {
    uint32_t Crc = 0;
    uint64_t High = 0; // XXH3-128, high and low 64 bits
    uint64_t Low = 0;
    bool operator==(const ContentDigest&) const = default;
};

} // namespace pellmora
