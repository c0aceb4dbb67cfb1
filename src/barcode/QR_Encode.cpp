#include "barcode/QR_Encode.h"

#include <array>
#include <algorithm>
#include <cstring>
#include <mutex>

namespace {
// Per version: for L, M, Q and H the error-correction codewords per block,
// then the count and data codewords of the shorter blocks and of the longer
// blocks; then the alignment pattern centres besides 6.
struct VersionRow {
    int blocks[20];
    std::array<int, 6> align;
};
const VersionRow VersionRows[40] = {
    {7, 1, 19, 0, 0, 10, 1, 16, 0, 0, 13, 1, 13, 0, 0, 17, 1, 9, 0, 0, {}},
    {10, 1, 34, 0, 0, 16, 1, 28, 0, 0, 22, 1, 22, 0, 0, 28, 1, 16, 0, 0, {18}},
    {15, 1, 55, 0, 0, 26, 1, 44, 0, 0, 18, 2, 17, 0, 0, 22, 2, 13, 0, 0, {22}},
    {20, 1, 80, 0, 0, 18, 2, 32, 0, 0, 26, 2, 24, 0, 0, 16, 4, 9, 0, 0, {26}},
    {26, 1, 108, 0, 0, 24, 2, 43, 0, 0, 18, 2, 15, 2, 16, 22, 2, 11, 2, 12, {30}},
    {18, 2, 68, 0, 0, 16, 4, 27, 0, 0, 24, 4, 19, 0, 0, 28, 4, 15, 0, 0, {34}},
    {20, 2, 78, 0, 0, 18, 4, 31, 0, 0, 18, 2, 14, 4, 15, 26, 4, 13, 1, 14, {22, 38}},
    {24, 2, 97, 0, 0, 22, 2, 38, 2, 39, 22, 4, 18, 2, 19, 26, 4, 14, 2, 15, {24, 42}},
    {30, 2, 116, 0, 0, 22, 3, 36, 2, 37, 20, 4, 16, 4, 17, 24, 4, 12, 4, 13, {26, 46}},
    {18, 2, 68, 2, 69, 26, 4, 43, 1, 44, 24, 6, 19, 2, 20, 28, 6, 15, 2, 16, {28, 50}},
    {20, 4, 81, 0, 0, 30, 1, 50, 4, 51, 28, 4, 22, 4, 23, 24, 3, 12, 8, 13, {30, 54}},
    {24, 2, 92, 2, 93, 22, 6, 36, 2, 37, 26, 4, 20, 6, 21, 28, 7, 14, 4, 15, {32, 58}},
    {26, 4, 107, 0, 0, 22, 8, 37, 1, 38, 24, 8, 20, 4, 21, 22, 12, 11, 4, 12, {34, 62}},
    {30, 3, 115, 1, 116, 24, 4, 40, 5, 41, 20, 11, 16, 5, 17, 24, 11, 12, 5, 13, {26, 46, 66}},
    {22, 5, 87, 1, 88, 24, 5, 41, 5, 42, 30, 5, 24, 7, 25, 24, 11, 12, 7, 13, {26, 48, 70}},
    {24, 5, 98, 1, 99, 28, 7, 45, 3, 46, 24, 15, 19, 2, 20, 30, 3, 15, 13, 16, {26, 50, 74}},
    {28, 1, 107, 5, 108, 28, 10, 46, 1, 47, 28, 1, 22, 15, 23, 28, 2, 14, 17, 15, {30, 54, 78}},
    {30, 5, 120, 1, 121, 26, 9, 43, 4, 44, 28, 17, 22, 1, 23, 28, 2, 14, 19, 15, {30, 56, 82}},
    {28, 3, 113, 4, 114, 26, 3, 44, 11, 45, 26, 17, 21, 4, 22, 26, 9, 13, 16, 14, {30, 58, 86}},
    {28, 3, 107, 5, 108, 26, 3, 41, 13, 42, 30, 15, 24, 5, 25, 28, 15, 15, 10, 16, {34, 62, 90}},
    {28, 4, 116, 4, 117, 26, 17, 42, 0, 0, 28, 17, 22, 6, 23, 30, 19, 16, 6, 17, {28, 50, 72, 94}},
    {28, 2, 111, 7, 112, 28, 17, 46, 0, 0, 30, 7, 24, 16, 25, 24, 34, 13, 0, 0, {26, 50, 74, 98}},
    {30, 4, 121, 5, 122, 28, 4, 47, 14, 48, 30, 11, 24, 14, 25, 30, 16, 15, 14, 16, {30, 54, 78, 102}},
    {30, 6, 117, 4, 118, 28, 6, 45, 14, 46, 30, 11, 24, 16, 25, 30, 30, 16, 2, 17, {28, 54, 80, 106}},
    {26, 8, 106, 4, 107, 28, 8, 47, 13, 48, 30, 7, 24, 22, 25, 30, 22, 15, 13, 16, {32, 58, 84, 110}},
    {28, 10, 114, 2, 115, 28, 19, 46, 4, 47, 28, 28, 22, 6, 23, 30, 33, 16, 4, 17, {30, 58, 86, 114}},
    {30, 8, 122, 4, 123, 28, 22, 45, 3, 46, 30, 8, 23, 26, 24, 30, 12, 15, 28, 16, {34, 62, 90, 118}},
    {30, 3, 117, 10, 118, 28, 3, 45, 23, 46, 30, 4, 24, 31, 25, 30, 11, 15, 31, 16, {26, 50, 74, 98, 122}},
    {30, 7, 116, 7, 117, 28, 21, 45, 7, 46, 30, 1, 23, 37, 24, 30, 19, 15, 26, 16, {30, 54, 78, 102, 126}},
    {30, 5, 115, 10, 116, 28, 19, 47, 10, 48, 30, 15, 24, 25, 25, 30, 23, 15, 25, 16, {26, 52, 78, 104, 130}},
    {30, 13, 115, 3, 116, 28, 2, 46, 29, 47, 30, 42, 24, 1, 25, 30, 23, 15, 28, 16, {30, 56, 82, 108, 134}},
    {30, 17, 115, 0, 0, 28, 10, 46, 23, 47, 30, 10, 24, 35, 25, 30, 19, 15, 35, 16, {34, 60, 86, 112, 138}},
    {30, 17, 115, 1, 116, 28, 14, 46, 21, 47, 30, 29, 24, 19, 25, 30, 11, 15, 46, 16, {30, 58, 86, 114, 142}},
    {30, 13, 115, 6, 116, 28, 14, 46, 23, 47, 30, 44, 24, 7, 25, 30, 59, 16, 1, 17, {34, 62, 90, 118, 146}},
    {30, 12, 121, 7, 122, 28, 12, 47, 26, 48, 30, 39, 24, 14, 25, 30, 22, 15, 41, 16, {30, 54, 78, 102, 126, 150}},
    {30, 6, 121, 14, 122, 28, 6, 47, 34, 48, 30, 46, 24, 10, 25, 30, 2, 15, 64, 16, {24, 50, 76, 102, 128, 154}},
    {30, 17, 122, 4, 123, 28, 29, 46, 14, 47, 30, 49, 24, 10, 25, 30, 24, 15, 46, 16, {28, 54, 80, 106, 132, 158}},
    {30, 4, 122, 18, 123, 28, 13, 46, 32, 47, 30, 48, 24, 14, 25, 30, 42, 15, 32, 16, {32, 58, 84, 110, 136, 162}},
    {30, 20, 117, 4, 118, 28, 40, 47, 7, 48, 30, 43, 24, 22, 25, 30, 10, 15, 67, 16, {26, 54, 82, 110, 138, 166}},
    {30, 19, 118, 6, 119, 28, 18, 47, 31, 48, 30, 34, 24, 34, 25, 30, 20, 15, 61, 16, {30, 58, 86, 114, 142, 170}},
};

// Character count indicator lengths for the version groups 1-9, 10-26, 27-40.
const int nIndicatorLenNumeral[] = {10, 12, 14};
const int nIndicatorLenAlphabet[] = {9, 11, 13};
const int nIndicatorLen8Bit[] = {8, 16, 16};
const int nIndicatorLenKanji[] = {8, 10, 12};

const char AlphabetSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";

const std::array<QR_VERSIONINFO, 41>& versionTable()
{
    static const std::array<QR_VERSIONINFO, 41> table = [] {
        std::array<QR_VERSIONINFO, 41> t{};
        for (int v = 1; v <= 40; ++v) {
            const VersionRow& row = VersionRows[v - 1];
            QR_VERSIONINFO& info = t[v];
            info.nVersionNo = v;
            for (int level = 0; level < 4; ++level) {
                const int* b = row.blocks + 5 * level;
                const int ec = b[0];
                info.RS_BlockInfo1[level] = {b[1], b[2] + ec, b[2]};
                info.RS_BlockInfo2[level] = {b[3], b[3] ? b[4] + ec : 0, b[3] ? b[4] : 0};
                info.ncDataCodeWord[level] = b[1] * b[2] + b[3] * b[4];
                if (level == 0)
                    info.ncAllCodeWord = b[1] * (b[2] + ec) + b[3] * (b[4] + ec);
            }
            for (int a : row.align)
                if (a)
                    info.nAlignPoint[info.ncAlignPoint++] = a;
        }
        return t;
    }();
    return table;
}

// GF(256) with the primitive polynomial 0x11D.
struct Galois {
    static constexpr int MAX_RS = 30; // error-correction codewords of the longest block
    std::uint8_t byExpToInt[256];
    std::uint8_t byIntToExp[256];
    // Generator polynomials by their number of codewords, as exponents,
    // highest term first without the leading 1.
    std::vector<std::uint8_t> byRSExp[MAX_RS + 1];
};

const Galois& galois()
{
    static const Galois g = [] {
        Galois t{};
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            t.byExpToInt[i] = std::uint8_t(x);
            t.byIntToExp[x] = std::uint8_t(i);
            x <<= 1;
            if (x & 0x100)
                x ^= 0x11D;
        }
        t.byExpToInt[255] = t.byExpToInt[0];
        for (int n = 1; n <= Galois::MAX_RS; ++n) {
            // The product of (x - a^i) for i from 0 to n - 1, as integers.
            std::vector<int> poly(1, 1);
            for (int i = 0; i < n; ++i) {
                std::vector<int> next(poly.size() + 1, 0);
                for (size_t k = 0; k < poly.size(); ++k) {
                    next[k] ^= poly[k];
                    if (poly[k])
                        next[k + 1] ^= t.byExpToInt[(t.byIntToExp[poly[k]] + i) % 255];
                }
                poly = next;
            }
            for (size_t k = 1; k < poly.size(); ++k)
                t.byRSExp[n].push_back(t.byIntToExp[poly[k]]);
        }
        return t;
    }();
    return g;
}

int versionGroup(std::int64_t version)
{
    return version >= 27 ? 2 : version >= 10 ? 1 : 0;
}

const int FinderRows[7] = {0x7F, 0x41, 0x5D, 0x5D, 0x5D, 0x41, 0x7F};
const int AlignmentRows[5] = {0x1F, 0x11, 0x15, 0x11, 0x1F};

// Whether a data mask flips the module of row i, column j.
bool maskFlips(int pattern, int i, int j)
{
    switch (pattern) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return ((i / 2) + (j / 3)) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

// The 15 format information bits of a level (0-3: L, M, Q, H) and mask.
int formatInfoBits(int level, int pattern)
{
    static const int levelBits[] = {1, 0, 3, 2}; // L, M, Q, H
    const int data = levelBits[level] << 3 | pattern;
    int rem = data;
    for (int i = 0; i < 10; ++i)
        rem = (rem << 1) ^ (((rem >> 9) & 1) * 0x537);
    return ((data << 10) | rem) ^ 0x5412;
}

// Both copies of the format information: put(x, y, bit index).
template <typename Put>
void forEachFormatModule(int size, Put put)
{
    for (int i = 0; i <= 5; ++i)
        put(8, i, i);
    put(8, 7, 6);
    put(8, 8, 7);
    put(7, 8, 8);
    for (int i = 9; i < 15; ++i)
        put(14 - i, 8, i);
    for (int i = 0; i < 8; ++i)
        put(size - 1 - i, 8, i);
    for (int i = 8; i < 15; ++i)
        put(8, size - 15 + i, i);
}
}

const QR_VERSIONINFO& QR_VersonInfo(int version)
{
    return versionTable()[version >= 1 && version <= 40 ? version : 0];
}

int QR_Data_Bits(int version, int level)
{
    return QR_VersonInfo(version).ncDataCodeWord[level & 3] * 8;
}

bool CQR_Encode::IsAlphabetData(unsigned char c)
{
    return c && std::strchr(AlphabetSet, c) != nullptr;
}

std::uint8_t CQR_Encode::AlphabetToBinaly(unsigned char c)
{
    const char* at = c ? std::strchr(AlphabetSet, c) : nullptr;
    return at ? std::uint8_t(at - AlphabetSet) : 0;
}

std::uint8_t CQR_Encode::Get_Encoding_Mode(const char* lpsSource, std::int64_t ncLength)
{
    bool alphabet = false, numeral = false;
    for (std::int64_t i = 0; i < ncLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(lpsSource[i]);
        if (IsNumeralData(c))
            numeral = true;
        else if (IsAlphabetData(c))
            alphabet = true;
        else
            return QR_MODE_8BIT;
    }
    return alphabet ? QR_MODE_ALPHABET : numeral ? QR_MODE_NUMERAL : QR_MODE_8BIT;
}

std::int64_t CQR_Encode::GetBitLength(std::uint8_t nMode, std::int64_t ncData, int nVerGroup)
{
    switch (nMode) {
    case QR_MODE_NUMERAL: {
        std::int64_t bits = 4 + nIndicatorLenNumeral[nVerGroup] + 10 * (ncData / 3);
        if (ncData % 3 == 1)
            bits += 4;
        else if (ncData % 3 == 2)
            bits += 7;
        return bits;
    }
    case QR_MODE_ALPHABET:
        return 4 + nIndicatorLenAlphabet[nVerGroup] + 11 * (ncData / 2) + 6 * (ncData % 2);
    case QR_MODE_8BIT:
        return 4 + nIndicatorLen8Bit[nVerGroup] + 8 * ncData;
    default:
        return 4 + nIndicatorLenKanji[nVerGroup] + 13 * (ncData / 2);
    }
}

std::int64_t CQR_Encode::SetBitStream(std::int64_t nIndex, std::uint16_t wData, int ncData)
{
    if (nIndex == -1 || nIndex + ncData > MAX_DATACODEWORD * 8)
        return -1;
    for (int i = 0; i < ncData; ++i) {
        if (wData & (1 << (ncData - i - 1)))
            m_byDataCodeWord[(nIndex + i) / 8] |= std::uint8_t(1 << (7 - ((nIndex + i) % 8)));
    }
    return nIndex + ncData;
}

void CQR_Encode::removeBlock(std::int64_t index)
{
    m_byBlockMode.erase(m_byBlockMode.begin() + index);
    m_nBlockLength.erase(m_nBlockLength.begin() + index);
    --m_ncDataBlock;
}

void CQR_Encode::SplitIntoRuns(const unsigned char* src, std::int64_t ncLength)
{
    m_byBlockMode.clear();
    m_nBlockLength.clear();
    // Runs of one class: digits, other alphanumeric characters, other bytes.
    // Bytes from 0x80 up are always 8-bit data, so UTF-8 text is kept whole.
    for (std::int64_t i = 0; i < ncLength; ++i) {
        const std::uint8_t mode = IsNumeralData(src[i]) ? QR_MODE_NUMERAL
                                  : IsAlphabetData(src[i]) ? QR_MODE_ALPHABET
                                                           : QR_MODE_8BIT;
        if (m_byBlockMode.empty() || m_byBlockMode.back() != mode) {
            m_byBlockMode.push_back(mode);
            m_nBlockLength.push_back(0);
        }
        ++m_nBlockLength.back();
    }
    m_ncDataBlock = std::int64_t(m_byBlockMode.size());
}

void CQR_Encode::JoinAlphanumericRuns(int nVerGroup)
{
    auto& mode = m_byBlockMode;
    auto& len = m_nBlockLength;
    auto bits = [&](std::int64_t b) { return GetBitLength(mode[b], len[b], nVerGroup); };
    auto bits8 = [&](std::int64_t n) { return GetBitLength(QR_MODE_8BIT, n, nVerGroup); };

    // Numeric and alphanumeric neighbours that cost less as one alphanumeric
    // segment are joined, possibly into a neighbouring 8-bit segment.
    std::int64_t i = 0;
    while (i < m_ncDataBlock - 1) {
        const std::int64_t b = i;
        const bool mixed = (mode[b] == QR_MODE_NUMERAL && mode[b + 1] == QR_MODE_ALPHABET) ||
                           (mode[b] == QR_MODE_ALPHABET && mode[b + 1] == QR_MODE_NUMERAL);
        if (!mixed) {
            ++i;
            continue;
        }
        const std::int64_t src2 = bits(b) + bits(b + 1);
        const std::int64_t dst = GetBitLength(QR_MODE_ALPHABET, len[b] + len[b + 1], nVerGroup);
        if (src2 <= dst) {
            ++i;
            continue;
        }
        bool frontOk = false, behindOk = false;
        std::int64_t front = 0, behind = 0;
        if (b >= 1 && mode[b - 1] == QR_MODE_8BIT) {
            front = bits8(len[b - 1] + len[b]) + bits(b + 1);
            frontOk = front <= dst + bits8(len[b - 1]);
        }
        if (b + 2 < m_ncDataBlock && mode[b + 2] == QR_MODE_8BIT) {
            behind = bits(b) + bits8(len[b + 1] + len[b + 2]);
            behindOk = behind <= dst + bits8(len[b + 2]);
        }
        if (frontOk && behindOk) {
            if (front < behind)
                behindOk = false;
            else
                frontOk = false;
        }
        if (frontOk) {
            len[b - 1] += len[b];
            removeBlock(b);
        } else if (behindOk) {
            mode[b + 1] = QR_MODE_8BIT;
            len[b + 1] += len[b + 2];
            removeBlock(b + 2);
        } else {
            if (b + 2 < m_ncDataBlock && mode[b + 2] == QR_MODE_ALPHABET) {
                len[b + 1] += len[b + 2];
                removeBlock(b + 2);
            }
            mode[b] = QR_MODE_ALPHABET;
            len[b] += len[b + 1];
            removeBlock(b + 1);
            if (b >= 1 && mode[b - 1] == QR_MODE_ALPHABET) {
                len[b - 1] += len[b];
                removeBlock(b);
            }
        }
    }
}

void CQR_Encode::JoinEightBitRuns(int nVerGroup)
{
    auto& mode = m_byBlockMode;
    auto& len = m_nBlockLength;
    auto bits = [&](std::int64_t b) { return GetBitLength(mode[b], len[b], nVerGroup); };
    // Neighbours that cost less as one 8-bit segment are joined.
    const std::int64_t header8 = 4 + nIndicatorLen8Bit[nVerGroup];
    std::int64_t i = 0;
    while (i < m_ncDataBlock - 1) {
        std::int64_t b = i;
        const std::int64_t src2 = bits(b) + bits(b + 1);
        std::int64_t dst = GetBitLength(QR_MODE_8BIT, len[b] + len[b + 1], nVerGroup);
        if (b >= 1 && mode[b - 1] == QR_MODE_8BIT)
            dst -= header8;
        if (b + 2 < m_ncDataBlock && mode[b + 2] == QR_MODE_8BIT)
            dst -= header8;
        if (src2 <= dst) {
            ++i;
            continue;
        }
        if (b >= 1 && mode[b - 1] == QR_MODE_8BIT) {
            len[b - 1] += len[b];
            removeBlock(b);
            --b;
        }
        if (b + 2 < m_ncDataBlock && mode[b + 2] == QR_MODE_8BIT) {
            len[b + 1] += len[b + 2];
            removeBlock(b + 2);
        }
        mode[b] = QR_MODE_8BIT;
        len[b] += len[b + 1];
        removeBlock(b + 1);
        i = b > 0 ? b - 1 : 0;
    }
}

std::int64_t CQR_Encode::PutNumeralSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup)
{
    n = SetBitStream(n, 1, 4);
    n = SetBitStream(n, std::uint16_t(count), nIndicatorLenNumeral[nVerGroup]);
    for (std::int64_t k = 0; k < count && n != -1; k += 3) {
        const std::int64_t digits = min(3, count - k);
        std::uint16_t value = 0;
        for (std::int64_t d = 0; d < digits; ++d)
            value = std::uint16_t(value * 10 + (p[k + d] - '0'));
        n = SetBitStream(n, value, digits == 3 ? 10 : digits == 2 ? 7 : 4);
    }
    return n;
}

std::int64_t CQR_Encode::PutAlphabetSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup)
{
    n = SetBitStream(n, 2, 4);
    n = SetBitStream(n, std::uint16_t(count), nIndicatorLenAlphabet[nVerGroup]);
    for (std::int64_t k = 0; k < count && n != -1; k += 2) {
        if (k + 1 < count)
            n = SetBitStream(n, std::uint16_t(AlphabetToBinaly(p[k]) * 45 + AlphabetToBinaly(p[k + 1])), 11);
        else
            n = SetBitStream(n, AlphabetToBinaly(p[k]), 6);
    }
    return n;
}

std::int64_t CQR_Encode::Put8BitSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup)
{
    n = SetBitStream(n, 4, 4);
    n = SetBitStream(n, std::uint16_t(count), nIndicatorLen8Bit[nVerGroup]);
    for (std::int64_t k = 0; k < count && n != -1; ++k)
        n = SetBitStream(n, p[k], 8);
    return n;
}

bool CQR_Encode::EncodeSourceData(const char* lpsSource, std::int64_t ncLength, int nVerGroup)
{
    const auto* src = reinterpret_cast<const unsigned char*>(lpsSource);
    SplitIntoRuns(src, ncLength);
    JoinAlphanumericRuns(nVerGroup);
    JoinEightBitRuns(nVerGroup);

    // The bit stream.
    std::memset(m_byDataCodeWord, 0, sizeof m_byDataCodeWord);
    std::int64_t n = 0, pos = 0;
    // Bytes from 0x80 up are UTF-8 text: the character-set designator (ECI
    // 26) says so, or readers guess another set (often Shift-JIS).
    if (std::any_of(src, src + ncLength, [](unsigned char c) { return c >= 0x80; })) {
        n = SetBitStream(n, 7, 4);
        n = SetBitStream(n, 26, 8);
    }
    for (std::int64_t b = 0; b < m_ncDataBlock && n != -1; ++b) {
        const std::int64_t count = m_nBlockLength[size_t(b)];
        switch (m_byBlockMode[size_t(b)]) {
        case QR_MODE_NUMERAL: n = PutNumeralSegment(n, src + pos, count, nVerGroup); break;
        case QR_MODE_ALPHABET: n = PutAlphabetSegment(n, src + pos, count, nVerGroup); break;
        default: n = Put8BitSegment(n, src + pos, count, nVerGroup); break;
        }
        pos += count;
    }
    m_ncDataCodeWordBit = n;
    return n != -1;
}

std::int64_t CQR_Encode::GetEncodeVersion(std::int64_t nVersion, const char* lpsSource,
                                          std::int64_t ncLength)
{
    static const int groupFirst[] = {1, 10, 27}, groupLast[] = {9, 26, 40};
    for (int group = versionGroup(nVersion); group < 3; ++group) {
        if (!EncodeSourceData(lpsSource, ncLength, group))
            continue;
        const std::int64_t needed = (m_ncDataCodeWordBit + 7) / 8;
        for (int v = groupFirst[group]; v <= groupLast[group]; ++v)
            if (QR_VersonInfo(v).ncDataCodeWord[m_nLevel] >= needed)
                return v;
    }
    return 0;
}

bool CQR_Encode::EncodeData(std::int64_t nLevel, std::int64_t nVersion, bool bAutoExtent,
                            std::int64_t nMaskingNo, const char* lpsSource, std::int64_t ncSource)
{
    m_nSymbleSize = 0;
    if (!lpsSource || nLevel < 0 || nLevel > 3 || nVersion < 0 || nVersion > 40 || nMaskingNo < -1 ||
        nMaskingNo > 7)
        return false;
    m_nLevel = nLevel;
    m_nMaskingNo = nMaskingNo;
    m_nVersion_pass = nVersion == 0 ? 1 : nVersion;
    const std::int64_t ncLength = ncSource > 0 ? ncSource : std::int64_t(std::strlen(lpsSource));
    if (ncLength == 0)
        return false;

    const std::int64_t found = GetEncodeVersion(nVersion, lpsSource, ncLength);
    if (found == 0)
        return false;
    if (nVersion == 0 || found > nVersion) {
        if (nVersion != 0 && !bAutoExtent)
            return false;
        m_nVersion = found;
    } else {
        m_nVersion = nVersion;
    }
    const QR_VERSIONINFO& info = QR_VersonInfo(int(m_nVersion));
    const int ncDataCodeWord = info.ncDataCodeWord[m_nLevel];

    // Terminator, then pad bytes.
    const std::int64_t terminator = min(4, std::int64_t(ncDataCodeWord) * 8 - m_ncDataCodeWordBit);
    if (terminator > 0)
        m_ncDataCodeWordBit = SetBitStream(m_ncDataCodeWordBit, 0, int(terminator));
    for (std::int64_t k = (m_ncDataCodeWordBit + 7) / 8, pad = 0; k < ncDataCodeWord; ++k, ++pad)
        m_byDataCodeWord[k] = (pad % 2) == 0 ? 0xEC : 0x11;

    // Interleave data and error-correction codewords.
    m_ncAllCodeWord = info.ncAllCodeWord;
    std::memset(m_byAllCodeWord, 0, sizeof m_byAllCodeWord);
    const auto& short1 = info.RS_BlockInfo1[m_nLevel];
    const auto& long2 = info.RS_BlockInfo2[m_nLevel];
    const int B1 = short1.ncRSBlock, B2 = long2.ncRSBlock, B = B1 + B2;
    const int D1 = short1.ncDataCodeWord;
    const int ncRS = short1.ncAllCodeWord - short1.ncDataCodeWord;
    int from = 0;
    for (int b = 0; b < B; ++b) {
        const int d = b < B1 ? D1 : long2.ncDataCodeWord;
        for (int j = 0; j < d; ++j)
            m_byAllCodeWord[j < D1 ? B * j + b : B * D1 + (b - B1)] = m_byDataCodeWord[from + j];
        std::memset(m_byRSWork, 0, sizeof m_byRSWork);
        std::memcpy(m_byRSWork, m_byDataCodeWord + from, size_t(d));
        GetRSCodeWord(m_byRSWork, d, ncRS);
        for (int k = 0; k < ncRS; ++k)
            m_byAllCodeWord[ncDataCodeWord + B * k + b] = m_byRSWork[k];
        from += d;
    }

    m_nSymbleSize = m_nVersion * 4 + 17;
    FormatModule();
    return true;
}

void CQR_Encode::GetRSCodeWord(std::uint8_t* lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord)
{
    const Galois& g = galois();
    const std::vector<std::uint8_t>& gen = g.byRSExp[ncRSCodeWord];
    for (int i = 0; i < ncDataCodeWord; ++i) {
        const std::uint8_t lead = lpbyRSWork[0];
        std::memmove(lpbyRSWork, lpbyRSWork + 1, size_t(ncDataCodeWord + ncRSCodeWord - 1));
        lpbyRSWork[ncDataCodeWord + ncRSCodeWord - 1] = 0;
        if (lead == 0)
            continue;
        const int e = g.byIntToExp[lead];
        for (int k = 0; k < ncRSCodeWord; ++k)
            lpbyRSWork[k] ^= g.byExpToInt[(gen[size_t(k)] + e) % 255];
    }
}

void CQR_Encode::FormatModule()
{
    const int size = int(m_nSymbleSize);
    for (int x = 0; x < size; ++x)
        std::memset(m_byModuleData[x], 0, size_t(size));
    SetFunctionModule();
    SetCodeWordPattern();
    const Masking_Lines lines = maskingLines();
    int mask = int(m_nMaskingNo);
    if (mask == -1) {
        std::int64_t best = -1;
        QR_Packed_Symbol masked(size);
        for (int candidate = 0; candidate <= 7; ++candidate) {
            lines.mask(candidate, int(m_nLevel), size, masked);
            const std::int64_t penalty = Mask_Penalty(masked, size);
            if (best == -1 || penalty < best) {
                best = penalty;
                mask = candidate;
            }
        }
    }
    QR_Packed_Symbol chosen(size);
    lines.mask(mask, int(m_nLevel), size, chosen);
    m_nMaskingNo = mask;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            m_byModuleData[x][y] = chosen.rows[y].at(x) ? 1 : 0;
}

void CQR_Encode::SetFunctionModule()
{
    const int size = int(m_nSymbleSize);
    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);
    // Separators.
    for (int i = 0; i < 8; ++i) {
        m_byModuleData[i][7] = m_byModuleData[7][i] = 0x20;
        m_byModuleData[size - 8][i] = m_byModuleData[size - 8 + i][7] = 0x20;
        m_byModuleData[i][size - 8] = m_byModuleData[7][size - 8 + i] = 0x20;
    }
    // Format information areas, and the dark module.
    for (int i = 0; i < 9; ++i)
        m_byModuleData[i][8] = m_byModuleData[8][i] = 0x20;
    for (int i = 0; i < 8; ++i)
        m_byModuleData[size - 8 + i][8] = m_byModuleData[8][size - 8 + i] = 0x20;
    SetVersionPattern();
    const QR_VERSIONINFO& info = QR_VersonInfo(int(m_nVersion));
    for (int i = 0; i < info.ncAlignPoint; ++i) {
        const int c = info.nAlignPoint[i];
        SetAlignmentPattern(c, 6);
        SetAlignmentPattern(6, c);
        for (int j = 0; j < info.ncAlignPoint; ++j)
            SetAlignmentPattern(c, info.nAlignPoint[j]);
    }
    // Timing patterns (they agree with the alignment patterns they cross).
    for (int i = 8; i <= size - 9; ++i)
        m_byModuleData[i][6] = m_byModuleData[6][i] = (i % 2) == 0 ? 0x30 : 0x20;
}

void CQR_Encode::SetFinderPattern(int x, int y)
{
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            m_byModuleData[x + j][y + i] = (FinderRows[i] & (1 << (6 - j))) ? 0x30 : 0x20;
}

void CQR_Encode::SetAlignmentPattern(int x, int y)
{
    if (m_byModuleData[x][y] & 0x20)
        return;
    x -= 2;
    y -= 2;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            m_byModuleData[x + j][y + i] = (AlignmentRows[i] & (1 << (4 - j))) ? 0x30 : 0x20;
}

void CQR_Encode::SetVersionPattern()
{
    if (m_nVersion <= 6)
        return;
    int rem = int(m_nVersion);
    for (int i = 0; i < 12; ++i)
        rem = (rem << 1) ^ (((rem >> 11) & 1) * 0x1F25);
    const int bits = int(m_nVersion) << 12 | rem;
    const int size = int(m_nSymbleSize);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 3; ++j) {
            const std::uint8_t value = ((bits >> (3 * i + j)) & 1) ? 0x30 : 0x20;
            m_byModuleData[size - 11 + j][i] = value;
            m_byModuleData[i][size - 11 + j] = value;
        }
}

void CQR_Encode::SetCodeWordPattern()
{
    const int size = int(m_nSymbleSize);
    const std::int64_t total = m_ncAllCodeWord * 8;
    std::int64_t bit = 0;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < size; ++step) {
            const int y = upward ? size - 1 - step : step;
            for (int k = 0; k < 2; ++k) {
                const int x = right - k;
                if (m_byModuleData[x][y] & 0x20)
                    continue;
                if (bit < total && (m_byAllCodeWord[bit / 8] & (0x80 >> (bit % 8))))
                    m_byModuleData[x][y] = 0x02;
                ++bit;
            }
        }
    }
}

CQR_Encode::Masking_Lines CQR_Encode::maskingLines() const
{
    // Function modules, the dark ones among them, and the data modules, as
    // rows and as columns; the format information is laid over per mask.
    const int size = int(m_nSymbleSize);
    Masking_Lines lines(size);
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y) {
            const std::uint8_t module = m_byModuleData[x][y];
            if (module & 0x20) {
                lines.function.set(x, y);
                if (module & 0x10)
                    lines.fixed.set(x, y);
            } else if (module & 0x02) {
                lines.data.set(x, y);
            }
        }
    lines.fixed.set(8, size - 8); // the dark module
    // Past the side nothing is data, so no mask darkens it.
    for (int w = 0; w < 3; ++w) {
        const int inside = size - 64 * w;
        const std::uint64_t past = inside >= 64 ? 0 : inside <= 0 ? ~std::uint64_t(0) : ~((std::uint64_t(1) << inside) - 1);
        for (int k = 0; k < size; ++k) {
            lines.function.rows[k].word[w] |= past;
            lines.function.columns[k].word[w] |= past;
        }
    }
    return lines;
}

namespace {
template <std::size_t Words>
using Line_Words = std::array<std::uint64_t, Words>;

// Bit k becomes module k + s (0 < s < 64); past the last word reads `fill`.
template <std::size_t Words>
Line_Words<Words> down(const Line_Words<Words>& l, int s, std::uint64_t fill = 0)
{
    Line_Words<Words> out;
    for (std::size_t w = 0; w < Words; ++w)
        out[w] = (l[w] >> s) | ((w + 1 < Words ? l[w + 1] : fill) << (64 - s));
    return out;
}

// Bit k becomes module k - s (0 < s < 64); before module 0 reads `fill`.
template <std::size_t Words>
Line_Words<Words> up(const Line_Words<Words>& l, int s, std::uint64_t fill = 0)
{
    Line_Words<Words> out;
    for (std::size_t w = 0; w < Words; ++w)
        out[w] = (l[w] << s) | ((w > 0 ? l[w - 1] : fill) >> (64 - s));
    return out;
}

// Set bits of a word, in line: the portable build has no population count
// instruction, and the library call it makes instead costs more than this.
inline int bitCount(std::uint64_t v)
{
    v -= (v >> 1) & 0x5555555555555555ULL;
    v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((v * 0x0101010101010101ULL) >> 56);
}

template <std::size_t Words>
int ones(const Line_Words<Words>& l)
{
    int n = 0;
    for (std::uint64_t w : l)
        n += bitCount(w);
    return n;
}

template <std::size_t Words>
bool any(const Line_Words<Words>& l)
{
    std::uint64_t all = 0;
    for (std::uint64_t w : l)
        all |= w;
    return all != 0;
}

template <std::size_t Words, typename Op>
Line_Words<Words> combine(const Line_Words<Words>& a, const Line_Words<Words>& b, Op op)
{
    Line_Words<Words> out;
    for (std::size_t w = 0; w < Words; ++w)
        out[w] = op(a[w], b[w]);
    return out;
}

template <std::size_t Words>
Line_Words<Words> lowBits(int n)
{
    Line_Words<Words> out{};
    for (std::size_t w = 0; w < Words; ++w) {
        const int k = n - 64 * int(w);
        out[w] = k >= 64 ? ~std::uint64_t(0) : k <= 0 ? 0 : (std::uint64_t(1) << k) - 1;
    }
    return out;
}

template <std::size_t Words>
Line_Words<Words> wordsOf(const QR_Packed_Line& line)
{
    Line_Words<Words> out{};
    std::copy(line.word, line.word + Words, out.begin());
    return out;
}

const auto And = [](std::uint64_t a, std::uint64_t b) { return a & b; };
const auto AndNot = [](std::uint64_t a, std::uint64_t b) { return a & ~b; };
const auto Same = [](std::uint64_t a, std::uint64_t b) { return ~(a ^ b); };

// Penalties of one line of n modules: runs of five or more of one colour
// (3 for five, one more for each further module), and finder-like 1011101
// runs with light modules right beside them and four light modules on at
// least one side (40 each). Modules outside the symbol read light.
template <std::size_t Words>
std::int64_t linePenalty(const QR_Packed_Line& packed, int n)
{
    const Line_Words<Words> line = wordsOf<Words>(packed);
    // A run of L >= 5 holds L - 4 windows of five equal modules and costs
    // L - 2: its windows and 2 for its first one.
    const Line_Words<Words> eq = combine<Words>(combine<Words>(line, down(line, 1), Same), lowBits<Words>(n - 1), And);
    Line_Words<Words> five = eq;
    for (int s = 1; s <= 3; ++s)
        five = combine<Words>(five, down(eq, s), And);
    std::int64_t penalty = any(five) ? ones(five) + 2 * ones(combine<Words>(five, up(five, 1), AndNot)) : 0;

    // Where 1011101 starts.
    Line_Words<Words> starts = combine<Words>(line, down(line, 1), AndNot);
    for (int s : {2, 3, 4, 6})
        starts = combine<Words>(starts, down(line, s), And);
    starts = combine<Words>(starts, down(line, 5), AndNot);
    if (!any(starts))
        return penalty;
    // Light modules, outside the symbol too; the words hold at least ten past its side.
    const std::uint64_t All = ~std::uint64_t(0);
    Line_Words<Words> light;
    for (std::size_t w = 0; w < Words; ++w)
        light[w] = ~line[w];
    const Line_Words<Words> before = combine<Words>(combine<Words>(up(light, 4, All), up(light, 3, All), And),
                                                    up(light, 2, All), And);
    const Line_Words<Words> after = combine<Words>(combine<Words>(down(light, 8, All), down(light, 9, All), And),
                                                   down(light, 10, All), And);
    Line_Words<Words> counted = combine<Words>(starts, up(light, 1, All), And);
    counted = combine<Words>(counted, down(light, 7, All), And);
    counted = combine<Words>(counted, combine<Words>(before, after, [](auto a, auto b) { return a | b; }), And);
    return penalty + 40 * ones(counted);
}

// 2 x 2 blocks of one colour (3 each), from the rows: a module whose right,
// lower and lower-right neighbours share its colour.
template <std::size_t Words>
std::int64_t blockPenalty(const QR_Packed_Line* rows, int n)
{
    std::int64_t blocks = 0;
    const Line_Words<Words> valid = lowBits<Words>(n - 1);
    Line_Words<Words> a = wordsOf<Words>(rows[0]);
    for (int y = 0; y + 1 < n; ++y) {
        const Line_Words<Words> b = wordsOf<Words>(rows[y + 1]);
        Line_Words<Words> same = combine<Words>(a, b, Same);
        same = combine<Words>(same, combine<Words>(a, down(a, 1), Same), And);
        same = combine<Words>(same, combine<Words>(b, down(b, 1), Same), And);
        blocks += ones(combine<Words>(same, valid, And));
        a = b;
    }
    return 3 * blocks;
}

template <std::size_t Words>
std::int64_t symbolPenalty(const QR_Packed_Symbol& symbol, int n)
{
    std::int64_t penalty = blockPenalty<Words>(symbol.rows, n);
    std::int64_t dark = 0;
    for (int line = 0; line < n; ++line) {
        penalty += linePenalty<Words>(symbol.rows[line], n) + linePenalty<Words>(symbol.columns[line], n);
        dark += ones(wordsOf<Words>(symbol.rows[line]));
    }
    // Balance of dark and light: 10 for every full 5 % away from half.
    const std::int64_t N = std::int64_t(n) * n;
    std::int64_t share = 50 - (100 * (N - dark) / N);
    if (share < 0)
        share = -share;
    return penalty + 10 * (share / 5);
}
}

std::int64_t Mask_Penalty(const QR_Packed_Symbol& symbol, int size)
{
    // Enough words for the side and ten modules past it (the finder rule looks that far).
    if (size + 10 < 64)
        return symbolPenalty<1>(symbol, size);
    if (size + 10 < 128)
        return symbolPenalty<2>(symbol, size);
    return symbolPenalty<3>(symbol, size);
}

void CQR_Encode::Masking_Lines::mask(int pattern, int level, int size, QR_Packed_Symbol& out) const
{
    // The mask's flips repeat every 12 rows and every 12 columns: per mask
    // and remainder, the flips along that row and along that column.
    struct Flips {
        std::array<std::array<QR_Packed_Line, 12>, 8> row, column;
    };
    static const Flips flips = [] {
        Flips t{};
        for (int m = 0; m < 8; ++m)
            for (int r = 0; r < 12; ++r)
                for (int k = 0; k < MAX_MODULESIZE; ++k) {
                    if (maskFlips(m, r, k))
                        t.row[size_t(m)][size_t(r)].set(k);
                    if (maskFlips(m, k, r))
                        t.column[size_t(m)][size_t(r)].set(k);
                }
        return t;
    }();
    const auto& rowFlips = flips.row[size_t(pattern)];
    const auto& columnFlips = flips.column[size_t(pattern)];
    // Words past the side stay light as the symbol was made.
    const int words = (size + 63) / 64;
    for (int k = 0; k < size; ++k) {
        const QR_Packed_Line& fr = rowFlips[size_t(k % 12)];
        const QR_Packed_Line& fc = columnFlips[size_t(k % 12)];
        for (int w = 0; w < words; ++w) {
            out.rows[k].word[w] =
                fixed.rows[k].word[w] | ((data.rows[k].word[w] ^ fr.word[w]) & ~function.rows[k].word[w]);
            out.columns[k].word[w] =
                fixed.columns[k].word[w] | ((data.columns[k].word[w] ^ fc.word[w]) & ~function.columns[k].word[w]);
        }
    }
    const int bits = formatInfoBits(level, pattern);
    forEachFormatModule(size, [&](int x, int y, int bit) {
        if ((bits >> bit) & 1)
            out.set(x, y);
    });
}

std::int64_t CQR_Encode::CountPenalty() const
{
    const int size = int(m_nSymbleSize);
    QR_Packed_Symbol symbol(size);
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            if (isDark(x, y))
                symbol.set(x, y);
    return Mask_Penalty(symbol, size);
}
