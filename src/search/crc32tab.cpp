// The CRC-32 of zip and PNG. CrcFold picks at run time the fastest of: carry-less
// multiplication folding over 64-byte (VPCLMULQDQ: 256-byte) strides, slicing-by-8, and the
// plain table loop. The folding keeps a 128-bit remainder that is congruent to the data folded
// so far; the table finishes it.

#include "search/crc32tab.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PELLMORA_CRC_CLMUL 1
#endif

namespace pellmora {

constexpr uint32_t CrcTable[256] = {
    0x00000000, 0x77073096, 0xEE0E612C, 0x990951BA, 0x076DC419, 0x706AF48F, 0xE963A535, 0x9E6495A3,
    0x0EDB8832, 0x79DCB8A4, 0xE0D5E91E, 0x97D2D988, 0x09B64C2B, 0x7EB17CBD, 0xE7B82D07, 0x90BF1D91,
    0x1DB71064, 0x6AB020F2, 0xF3B97148, 0x84BE41DE, 0x1ADAD47D, 0x6DDDE4EB, 0xF4D4B551, 0x83D385C7,
    0x136C9856, 0x646BA8C0, 0xFD62F97A, 0x8A65C9EC, 0x14015C4F, 0x63066CD9, 0xFA0F3D63, 0x8D080DF5,
    0x3B6E20C8, 0x4C69105E, 0xD56041E4, 0xA2677172, 0x3C03E4D1, 0x4B04D447, 0xD20D85FD, 0xA50AB56B,
    0x35B5A8FA, 0x42B2986C, 0xDBBBC9D6, 0xACBCF940, 0x32D86CE3, 0x45DF5C75, 0xDCD60DCF, 0xABD13D59,
    0x26D930AC, 0x51DE003A, 0xC8D75180, 0xBFD06116, 0x21B4F4B5, 0x56B3C423, 0xCFBA9599, 0xB8BDA50F,
    0x2802B89E, 0x5F058808, 0xC60CD9B2, 0xB10BE924, 0x2F6F7C87, 0x58684C11, 0xC1611DAB, 0xB6662D3D,
    0x76DC4190, 0x01DB7106, 0x98D220BC, 0xEFD5102A, 0x71B18589, 0x06B6B51F, 0x9FBFE4A5, 0xE8B8D433,
    0x7807C9A2, 0x0F00F934, 0x9609A88E, 0xE10E9818, 0x7F6A0DBB, 0x086D3D2D, 0x91646C97, 0xE6635C01,
    0x6B6B51F4, 0x1C6C6162, 0x856530D8, 0xF262004E, 0x6C0695ED, 0x1B01A57B, 0x8208F4C1, 0xF50FC457,
    0x65B0D9C6, 0x12B7E950, 0x8BBEB8EA, 0xFCB9887C, 0x62DD1DDF, 0x15DA2D49, 0x8CD37CF3, 0xFBD44C65,
    0x4DB26158, 0x3AB551CE, 0xA3BC0074, 0xD4BB30E2, 0x4ADFA541, 0x3DD895D7, 0xA4D1C46D, 0xD3D6F4FB,
    0x4369E96A, 0x346ED9FC, 0xAD678846, 0xDA60B8D0, 0x44042D73, 0x33031DE5, 0xAA0A4C5F, 0xDD0D7CC9,
    0x5005713C, 0x270241AA, 0xBE0B1010, 0xC90C2086, 0x5768B525, 0x206F85B3, 0xB966D409, 0xCE61E49F,
    0x5EDEF90E, 0x29D9C998, 0xB0D09822, 0xC7D7A8B4, 0x59B33D17, 0x2EB40D81, 0xB7BD5C3B, 0xC0BA6CAD,
    0xEDB88320, 0x9ABFB3B6, 0x03B6E20C, 0x74B1D29A, 0xEAD54739, 0x9DD277AF, 0x04DB2615, 0x73DC1683,
    0xE3630B12, 0x94643B84, 0x0D6D6A3E, 0x7A6A5AA8, 0xE40ECF0B, 0x9309FF9D, 0x0A00AE27, 0x7D079EB1,
    0xF00F9344, 0x8708A3D2, 0x1E01F268, 0x6906C2FE, 0xF762575D, 0x806567CB, 0x196C3671, 0x6E6B06E7,
    0xFED41B76, 0x89D32BE0, 0x10DA7A5A, 0x67DD4ACC, 0xF9B9DF6F, 0x8EBEEFF9, 0x17B7BE43, 0x60B08ED5,
    0xD6D6A3E8, 0xA1D1937E, 0x38D8C2C4, 0x4FDFF252, 0xD1BB67F1, 0xA6BC5767, 0x3FB506DD, 0x48B2364B,
    0xD80D2BDA, 0xAF0A1B4C, 0x36034AF6, 0x41047A60, 0xDF60EFC3, 0xA867DF55, 0x316E8EEF, 0x4669BE79,
    0xCB61B38C, 0xBC66831A, 0x256FD2A0, 0x5268E236, 0xCC0C7795, 0xBB0B4703, 0x220216B9, 0x5505262F,
    0xC5BA3BBE, 0xB2BD0B28, 0x2BB45A92, 0x5CB36A04, 0xC2D7FFA7, 0xB5D0CF31, 0x2CD99E8B, 0x5BDEAE1D,
    0x9B64C2B0, 0xEC63F226, 0x756AA39C, 0x026D930A, 0x9C0906A9, 0xEB0E363F, 0x72076785, 0x05005713,
    0x95BF4A82, 0xE2B87A14, 0x7BB12BAE, 0x0CB61B38, 0x92D28E9B, 0xE5D5BE0D, 0x7CDCEFB7, 0x0BDBDF21,
    0x86D3D2D4, 0xF1D4E242, 0x68DDB3F8, 0x1FDA836E, 0x81BE16CD, 0xF6B9265B, 0x6FB077E1, 0x18B74777,
    0x88085AE6, 0xFF0F6A70, 0x66063BCA, 0x11010B5C, 0x8F659EFF, 0xF862AE69, 0x616BFFD3, 0x166CCF45,
    0xA00AE278, 0xD70DD2EE, 0x4E048354, 0x3903B3C2, 0xA7672661, 0xD06016F7, 0x4969474D, 0x3E6E77DB,
    0xAED16A4A, 0xD9D65ADC, 0x40DF0B66, 0x37D83BF0, 0xA9BCAE53, 0xDEBB9EC5, 0x47B2CF7F, 0x30B5FFE9,
    0xBDBDF21C, 0xCABAC28A, 0x53B39330, 0x24B4A3A6, 0xBAD03605, 0xCDD70693, 0x54DE5729, 0x23D967BF,
    0xB3667A2E, 0xC4614AB8, 0x5D681B02, 0x2A6F2B94, 0xB40BBE37, 0xC30C8EA1, 0x5A05DF1B, 0x2D02EF8D,
};

namespace {

constexpr uint32_t Polynomial = 0xEDB88320;

constexpr bool TableMatchesPolynomial() {
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c >> 1) ^ ((c & 1) ? Polynomial : 0);
        if (CrcTable[i] != c) return false;
    }
    return true;
}
static_assert(TableMatchesPolynomial());
static_assert(CrcTable[1] == 0x77073096 && CrcTable[255] == 0x2D02EF8D);

// Slice k advances a byte through k further zero bytes.
using SliceTables = std::array<std::array<uint32_t, 256>, 8>;
constexpr SliceTables MakeSliceTables() {
    SliceTables t{};
    for (size_t i = 0; i < 256; ++i)
        t[0][i] = CrcTable[i];
    for (size_t k = 1; k < 8; ++k)
        for (size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}
constexpr SliceTables Slices = MakeSliceTables();

uint32_t Load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint32_t CrcFoldSlicing(uint32_t crc, const void* buffer, size_t length) {
    if constexpr (std::endian::native != std::endian::little)
        return CrcFoldTable(crc, buffer, length);
    const auto* p = static_cast<const unsigned char*>(buffer);
    const auto& s = Slices;
    for (; length >= 8; p += 8, length -= 8) {
        const uint32_t lo = Load32(p) ^ crc;
        const uint32_t hi = Load32(p + 4);
        crc = s[7][lo & 0xFF] ^ s[6][(lo >> 8) & 0xFF] ^ s[5][(lo >> 16) & 0xFF] ^ s[4][lo >> 24] ^
              s[3][hi & 0xFF] ^ s[2][(hi >> 8) & 0xFF] ^ s[1][(hi >> 16) & 0xFF] ^ s[0][hi >> 24];
    }
    return CrcFoldTable(crc, p, length);
}

#ifdef PELLMORA_CRC_CLMUL

// x^n mod P in the reflected bit order (bit i is the coefficient of x^(31-i)), placed in the
// high half of a 64-bit lane. A reflected carry-less product comes out multiplied by x, which
// is why folding a chunk forward by d bits uses x^(d-1) for its low-degree half and x^(d+63)
// for its high-degree half (the half that is loaded first).
constexpr uint64_t FoldConstant(int n) {
    uint32_t r = 0x80000000u;
    for (int i = 0; i < n; ++i)
        r = (r >> 1) ^ ((r & 1) ? Polynomial : 0);
    return uint64_t{r} << 32;
}

template <int Bits> __attribute__((target("pclmul"))) inline __m128i FoldKeys() {
    constexpr uint64_t lowHalf = FoldConstant(Bits - 1);
    constexpr uint64_t highHalf = FoldConstant(Bits + 63);
    return _mm_set_epi64x(static_cast<long long>(lowHalf), static_cast<long long>(highHalf));
}

// x moved forward by the distance of keys, added to next.
__attribute__((target("pclmul"))) inline __m128i Fold128(__m128i x, __m128i keys, __m128i next) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, keys, 0x00), _mm_clmulepi64_si128(x, keys, 0x11)),
        next);
}

__attribute__((target("pclmul"))) inline __m128i Load128(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Folds the remaining 16-byte chunks into x, then lets the table finish x and the tail.
__attribute__((target("pclmul"))) uint32_t FinishClmul(__m128i x, const unsigned char* p,
                                                       size_t length) {
    const __m128i keys = FoldKeys<128>();
    for (; length >= 16; p += 16, length -= 16)
        x = Fold128(x, keys, Load128(p));
    alignas(16) unsigned char rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    return CrcFoldSlicing(CrcFoldSlicing(0, rest, sizeof rest), p, length);
}

__attribute__((target("pclmul"))) uint32_t CrcFoldClmul(uint32_t crc, const void* buffer,
                                                        size_t length) {
    if (length < 64) return CrcFoldSlicing(crc, buffer, length);
    const auto* p = static_cast<const unsigned char*>(buffer);
    // The running value enters as an xor over the first four bytes.
    __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load128(p + 16), x2 = Load128(p + 32), x3 = Load128(p + 48);
    p += 64;
    length -= 64;
    const __m128i keys512 = FoldKeys<512>();
    for (; length >= 64; p += 64, length -= 64) {
        x0 = Fold128(x0, keys512, Load128(p));
        x1 = Fold128(x1, keys512, Load128(p + 16));
        x2 = Fold128(x2, keys512, Load128(p + 32));
        x3 = Fold128(x3, keys512, Load128(p + 48));
    }
    const __m128i keys128 = FoldKeys<128>();
    x3 = Fold128(Fold128(Fold128(x0, keys128, x1), keys128, x2), keys128, x3);
    return FinishClmul(x3, p, length);
}

// The same folding as CrcFoldClmul at four times the width, kept apart because each must be
// compiled for its own instruction set.
#define PELLMORA_TARGET_512 __attribute__((target("pclmul,avx512f,vpclmulqdq")))

PELLMORA_TARGET_512 inline __m512i Fold512(__m512i x, __m512i keys, __m512i next) {
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(x, keys, 0x00),
                                     _mm512_clmulepi64_epi128(x, keys, 0x11), next, 0x96);
}

PELLMORA_TARGET_512 inline __m512i Load512(const unsigned char* p) {
    return _mm512_loadu_si512(p);
}

template <int Bits> PELLMORA_TARGET_512 inline __m512i FoldKeys512() {
    constexpr auto lowHalf = static_cast<long long>(FoldConstant(Bits - 1));
    constexpr auto highHalf = static_cast<long long>(FoldConstant(Bits + 63));
    return _mm512_set_epi64(lowHalf, highHalf, lowHalf, highHalf, lowHalf, highHalf, lowHalf,
                            highHalf);
}

// The four 128-bit lanes of x folded into its last one.
PELLMORA_TARGET_512 __m128i ReduceLanes(__m512i x) {
    alignas(64) unsigned char lanes[64];
    _mm512_store_si512(lanes, x);
    const __m128i two = Fold128(Load128(lanes + 32), FoldKeys<128>(), Load128(lanes + 48));
    const __m128i one = Fold128(Load128(lanes + 16), FoldKeys<256>(), two);
    return Fold128(Load128(lanes), FoldKeys<384>(), one);
}

PELLMORA_TARGET_512 uint32_t CrcFoldClmul512(uint32_t crc, const void* buffer, size_t length) {
    if (length < 256) return CrcFoldClmul(crc, buffer, length);
    const auto* p = static_cast<const unsigned char*>(buffer);
    const __m512i start =
        _mm512_inserti32x4(_mm512_setzero_si512(), _mm_cvtsi32_si128(static_cast<int>(crc)), 0);
    __m512i x0 = _mm512_xor_si512(Load512(p), start);
    __m512i x1 = Load512(p + 64), x2 = Load512(p + 128), x3 = Load512(p + 192);
    p += 256;
    length -= 256;
    const __m512i keys2048 = FoldKeys512<2048>();
    for (; length >= 256; p += 256, length -= 256) {
        x0 = Fold512(x0, keys2048, Load512(p));
        x1 = Fold512(x1, keys2048, Load512(p + 64));
        x2 = Fold512(x2, keys2048, Load512(p + 128));
        x3 = Fold512(x3, keys2048, Load512(p + 192));
    }
    const __m512i keys512 = FoldKeys512<512>();
    x3 = Fold512(Fold512(Fold512(x0, keys512, x1), keys512, x2), keys512, x3);
    for (; length >= 64; p += 64, length -= 64)
        x3 = Fold512(x3, keys512, Load512(p));
    return FinishClmul(ReduceLanes(x3), p, length);
}

#endif // PELLMORA_CRC_CLMUL

using FoldFunction = uint32_t (*)(uint32_t, const void*, size_t);

FoldFunction FoldFunctionOf(CrcPath path) {
    switch (path) {
    case CrcPath::Table:
        return CrcFoldTable;
#ifdef PELLMORA_CRC_CLMUL
    case CrcPath::Clmul:
        return CrcFoldClmul;
    case CrcPath::Clmul512:
        return CrcFoldClmul512;
#endif
    default:
        return CrcFoldSlicing;
    }
}

FoldFunction FastestFoldFunction() {
    static const FoldFunction fastest = FoldFunctionOf(FastestCrcPath());
    return fastest;
}

} // namespace

uint32_t CrcFoldTable(uint32_t crc, const void* buffer, size_t length) {
    const auto* p = static_cast<const unsigned char*>(buffer);
    for (size_t i = 0; i < length; ++i)
        crc = CrcTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

bool CrcPathAvailable(CrcPath path) {
#ifdef PELLMORA_CRC_CLMUL
    __builtin_cpu_init();
    if (path == CrcPath::Clmul) return __builtin_cpu_supports("pclmul");
    if (path == CrcPath::Clmul512)
        return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("avx512f") &&
               __builtin_cpu_supports("vpclmulqdq");
#endif
    return path == CrcPath::Table || path == CrcPath::Slicing;
}

CrcPath FastestCrcPath() {
    for (CrcPath path : {CrcPath::Clmul512, CrcPath::Clmul})
        if (CrcPathAvailable(path)) return path;
    return CrcPath::Slicing;
}

uint32_t CrcFoldBy(CrcPath path, uint32_t crc, const void* buffer, size_t length) {
    const FoldFunction fold = CrcPathAvailable(path) ? FoldFunctionOf(path) : CrcFoldSlicing;
    return fold(crc, buffer, length);
}

uint32_t CrcFold(uint32_t crc, const void* buffer, size_t length) {
    return FastestFoldFunction()(crc, buffer, length);
}

void UpdateCrc(const void* buffer, uint16_t count, uint32_t& crc) {
    crc = CrcFold(crc, buffer, count);
}

} // namespace pellmora
