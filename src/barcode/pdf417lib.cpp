#include "barcode/pdf417lib.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {
const int START_PATTERN = 0x1FEA8; // 17 modules
const int STOP_PATTERN = 0x3FA29;  // 18 modules
const char MIXED_SET[] = "0123456789&\r\t,:#-.$/+%*=^";
const char PUNCTUATION_SET[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";

// Type bits of a text character; the low byte holds its value.
const int ALPHA = 0x10000, LOWER = 0x20000, MIXED = 0x40000, PUNCTUATION = 0x80000, ISBYTE = 0x100000;

const int PAD = 900, TEXT_MODE = 900, BYTE_MODE = 901, NUMERIC_MODE = 902, BYTE_SHIFT = 913,
          BYTE_MODE_6 = 924;

struct Encoder {
    pdf417param* p;
    const unsigned char* text;
    int cwPtr = 1;

    void add(int codeword) { p->codewords[cwPtr++] = codeword; }
    bool fits(int size)
    {
        if (cwPtr + size > PDF417_MAX_DATA_CODEWORDS) {
            p->error = PDF417_ERROR_TEXT_TOO_BIG;
            return false;
        }
        return true;
    }

    int getTextTypeAndValue(int end, int idx) const
    {
        if (idx >= end)
            return 0;
        const char c = char(text[idx]);
        if (c >= 'A' && c <= 'Z')
            return ALPHA + c - 'A';
        if (c >= 'a' && c <= 'z')
            return LOWER + c - 'a';
        if (c == ' ')
            return ALPHA + LOWER + MIXED + 26;
        const char* ms = c ? std::strchr(MIXED_SET, c) : nullptr;
        const char* ps = c ? std::strchr(PUNCTUATION_SET, c) : nullptr;
        if (!ms && !ps)
            return ISBYTE + text[idx];
        if (ms && ps && ms - MIXED_SET == ps - PUNCTUATION_SET)
            return MIXED + PUNCTUATION + int(ms - MIXED_SET);
        if (ms)
            return MIXED + int(ms - MIXED_SET);
        return PUNCTUATION + int(ps - PUNCTUATION_SET);
    }

    void textCompaction(int start, int length)
    {
        std::vector<int> dest;
        dest.reserve(size_t(length) * 2 + 2);
        int mode = ALPHA;
        const int end = start + length;
        int bytes = 0;
        for (int ptr = start; ptr < end; ++ptr) {
            const int v = getTextTypeAndValue(end, ptr);
            if (v & mode) {
                dest.push_back(v & 0xff);
                continue;
            }
            if (v & ISBYTE) {
                if (dest.size() & 1) {
                    dest.push_back(29); // in punctuation this latches back to alpha
                    if (mode == PUNCTUATION)
                        mode = ALPHA;
                }
                dest.push_back(BYTE_SHIFT);
                dest.push_back(v & 0xff);
                ++bytes;
                continue;
            }
            const bool nextTwoPunct =
                (getTextTypeAndValue(end, ptr + 1) & getTextTypeAndValue(end, ptr + 2) & PUNCTUATION) != 0;
            switch (mode) {
            case ALPHA:
                if (v & LOWER) {
                    dest.insert(dest.end(), {27, v & 0xff});
                    mode = LOWER;
                } else if (v & MIXED) {
                    dest.insert(dest.end(), {28, v & 0xff});
                    mode = MIXED;
                } else if (nextTwoPunct) {
                    dest.insert(dest.end(), {28, 25, v & 0xff});
                    mode = PUNCTUATION;
                } else {
                    dest.insert(dest.end(), {29, v & 0xff});
                }
                break;
            case LOWER:
                if (v & ALPHA) {
                    if ((getTextTypeAndValue(end, ptr + 1) & getTextTypeAndValue(end, ptr + 2) & ALPHA) != 0) {
                        dest.insert(dest.end(), {28, 28, v & 0xff});
                        mode = ALPHA;
                    } else {
                        dest.insert(dest.end(), {27, v & 0xff});
                    }
                } else if (v & MIXED) {
                    dest.insert(dest.end(), {28, v & 0xff});
                    mode = MIXED;
                } else if (nextTwoPunct) {
                    dest.insert(dest.end(), {28, 25, v & 0xff});
                    mode = PUNCTUATION;
                } else {
                    dest.insert(dest.end(), {29, v & 0xff});
                }
                break;
            case MIXED:
                if (v & LOWER) {
                    dest.insert(dest.end(), {27, v & 0xff});
                    mode = LOWER;
                } else if (v & ALPHA) {
                    dest.insert(dest.end(), {28, v & 0xff});
                    mode = ALPHA;
                } else if (nextTwoPunct) {
                    dest.insert(dest.end(), {25, v & 0xff});
                    mode = PUNCTUATION;
                } else {
                    dest.insert(dest.end(), {29, v & 0xff});
                }
                break;
            default: // punctuation: latch back to alpha and take the character again
                dest.push_back(29);
                mode = ALPHA;
                --ptr;
                break;
            }
        }
        if (dest.size() & 1)
            dest.push_back(29);
        if (!fits(int(dest.size() + size_t(2 * bytes)) / 2))
            return;
        for (size_t k = 0; k < dest.size();) {
            if (dest[k] == BYTE_SHIFT) {
                add(BYTE_SHIFT);
                add(dest[k + 1]);
            } else {
                add(30 * dest[k] + dest[k + 1]);
            }
            k += 2;
        }
    }

    // Each group of six bytes is a 48-bit number written as five base-900 digits.
    void byteCompaction6(int start)
    {
        std::uint64_t value = 0;
        for (int k = 0; k < 6; ++k)
            value = (value << 8) | text[start + k];
        for (int k = 4; k >= 0; --k) {
            p->codewords[cwPtr + k] = int(value % 900);
            value /= 900;
        }
        cwPtr += 5;
    }

    void byteCompaction(int start, int length)
    {
        if (!fits((length / 6) * 5 + length % 6))
            return;
        const int end = start + length;
        int k = start;
        for (; k + 6 <= end; k += 6)
            byteCompaction6(k);
        for (; k < end; ++k)
            add(text[k]);
    }

    // Up to 44 digits, with a leading 1, as base-900 digits.
    void basicNumberCompaction(int start, int length)
    {
        std::string digits = "1" + std::string(reinterpret_cast<const char*>(text) + start, size_t(length));
        const int count = length / 3 + 1;
        std::vector<int> out(size_t(count), 0);
        for (int k = count - 1; k >= 0; --k) {
            // Divide the decimal number by 900; the remainder is the next digit.
            int remainder = 0;
            std::string quotient;
            for (char c : digits) {
                const int value = remainder * 10 + (c - '0');
                const int q = value / 900;
                remainder = value % 900;
                if (!quotient.empty() || q != 0)
                    quotient += char('0' + q);
            }
            out[size_t(k)] = remainder;
            digits = quotient.empty() ? "0" : quotient;
        }
        for (int v : out)
            add(v);
    }

    void numberCompaction(int start, int length)
    {
        const int full = (length / 44) * 15;
        const int rest = length % 44;
        if (!fits(full + (rest == 0 ? 0 : rest / 3 + 1)))
            return;
        for (int k = 0; k < length; k += 44)
            basicNumberCompaction(start + k, std::min(44, length - k));
    }

    void assemble(const std::vector<pdf417Segment>& list)
    {
        for (size_t k = 0; k < list.size() && p->error == PDF417_ERROR_SUCCESS; ++k) {
            const pdf417Segment& s = list[k];
            const int length = s.end - s.start;
            if (s.type == 'B') {
                if (!fits(1))
                    return;
                add(length % 6 == 0 ? BYTE_MODE_6 : BYTE_MODE);
                byteCompaction(s.start, length);
            } else if (s.type == 'N') {
                if (!fits(1))
                    return;
                add(NUMERIC_MODE);
                numberCompaction(s.start, length);
            } else {
                if (k != 0) {
                    if (!fits(1))
                        return;
                    add(TEXT_MODE);
                }
                textCompaction(s.start, length);
            }
        }
    }
};

bool isText(unsigned char c)
{
    return (c >= 32 && c <= 126) || c == '\r' || c == '\n' || c == '\t';
}

int segmentLength(const pdf417Segment& s)
{
    return s.end - s.start;
}

// Splits a stretch at every change between text and byte characters.
void splitStretch(const unsigned char* text, int start, int end, std::vector<pdf417Segment>& list)
{
    for (int k = start; k < end;) {
        const bool t = isText(text[k]);
        int j = k + 1;
        while (j < end && isText(text[j]) == t)
            ++j;
        list.push_back({t ? 'T' : 'B', k, j});
        k = j;
    }
}

std::vector<int> generator(int level)
{
    // The product of (x - 3^i) for i from 1 to 2^(level+1), modulo 929, lowest power first.
    const int k = 2 << level;
    std::vector<long long> poly{1};
    long long root = 1;
    for (int i = 1; i <= k; ++i) {
        root = root * 3 % 929;
        std::vector<long long> next(poly.size() + 1, 0);
        for (size_t j = 0; j < poly.size(); ++j) {
            next[j + 1] = (next[j + 1] + poly[j]) % 929;
            next[j] = (next[j] + (929 - root) * poly[j]) % 929;
        }
        poly = next;
    }
    return std::vector<int>(poly.begin(), poly.end() - 1);
}

void calculateErrorCorrection(pdf417param* p, int dest)
{
    int level = p->errorLevel;
    if (level < 0 || level > 8)
        level = 0;
    const std::vector<int>& A = pdf417ErrorCoefficients(level);
    const int k = 2 << level;
    int* e = p->codewords + dest;
    std::fill(e, e + k, 0);
    for (int n = 0; n < dest; ++n) {
        const int t = (p->codewords[n] + e[0]) % 929;
        for (int j = 0; j < k; ++j) {
            const int next = j + 1 < k ? e[j + 1] : 0;
            e[j] = (next + 929 - (t * A[size_t(k - 1 - j)]) % 929) % 929;
        }
    }
    for (int j = 0; j < k; ++j)
        e[j] = (929 - e[j]) % 929;
}

void getMaxSquare(pdf417param* p)
{
    if (p->codeColumns > 21) {
        p->codeColumns = 29;
        p->codeRows = 32;
    } else {
        p->codeColumns = 16;
        p->codeRows = 58;
    }
}

struct BitWriter {
    pdf417param* p;
    int row = 0, bit = 0, rowBytes = 0;
    // The low `length` bits of pattern, highest first, a byte's worth at a time.
    void put(int pattern, int length)
    {
        std::uint8_t* out = p->outBits.data() + size_t(row) * size_t(rowBytes);
        while (length > 0) {
            const int room = 8 - bit % 8;
            const int take = std::min(room, length);
            const int chunk = (pattern >> (length - take)) & ((1 << take) - 1);
            out[bit / 8] |= std::uint8_t(chunk << (room - take));
            bit += take;
            length -= take;
        }
    }
};

void outPaintCode(pdf417param* p)
{
    p->bitColumns = 17 * (p->codeColumns + 3) + 18;
    const int rowBytes = (p->bitColumns - 1) / 8 + 1;
    p->lenBits = rowBytes * p->codeRows;
    p->outBits.assign(size_t(p->lenBits), 0);
    BitWriter out{p, 0, 0, rowBytes};
    int ptr = 0;
    for (int k = 0; k < p->codeRows; ++k) {
        out.row = k;
        out.bit = 0;
        const int cluster = k % 3;
        const int base = 30 * (k / 3);
        int left, right;
        if (cluster == 0) {
            left = base + (p->codeRows - 1) / 3;
            right = base + p->codeColumns - 1;
        } else if (cluster == 1) {
            left = base + p->errorLevel * 3 + (p->codeRows - 1) % 3;
            right = base + (p->codeRows - 1) / 3;
        } else {
            left = base + p->codeColumns - 1;
            right = base + p->errorLevel * 3 + (p->codeRows - 1) % 3;
        }
        out.put(START_PATTERN, 17);
        out.put(pdf417Pattern(cluster, left), 17);
        for (int j = 0; j < p->codeColumns; ++j)
            out.put(pdf417Pattern(cluster, p->codewords[ptr++]), 17);
        out.put(pdf417Pattern(cluster, right), 17);
        out.put(STOP_PATTERN, 18);
    }
    if (p->options & PDF417_INVERT_BITMAP)
        for (auto& byte : p->outBits)
            byte = std::uint8_t(~byte);
}
}

const std::vector<int>& pdf417ErrorCoefficients(int level)
{
    static const std::vector<int> table[9] = {generator(0), generator(1), generator(2),
                                              generator(3), generator(4), generator(5),
                                              generator(6), generator(7), generator(8)};
    return table[std::clamp(level, 0, 8)];
}

int maxPossibleErrorLevel(int remain)
{
    for (int level = 8; level > 0; --level)
        if ((2 << level) <= remain)
            return level;
    return 0;
}

std::vector<pdf417Segment> breakString(const pdf417param* p)
{
    const auto* text = reinterpret_cast<const unsigned char*>(p->text);
    const int textLength = p->lenText;
    std::vector<pdf417Segment> list;
    list.reserve(20);
    int lastP = 0, startN = 0, size = 0;
    for (int k = 0; k < textLength; ++k) {
        const unsigned char c = text[k];
        if (c >= '0' && c <= '9') {
            if (size == 0)
                startN = k;
            ++size;
            continue;
        }
        if (size >= 13) {
            splitStretch(text, lastP, startN, list);
            list.push_back({'N', startN, k});
            lastP = k;
        }
        size = 0;
    }
    if (size >= 13) {
        splitStretch(text, lastP, startN, list);
        list.push_back({'N', startN, textLength});
    } else {
        splitStretch(text, lastP, textLength, list);
    }

    auto removeAt = [&](size_t k) { list.erase(list.begin() + std::ptrdiff_t(k)); };
    // A single byte between two texts of 3 or more joins them.
    for (bool again = true; again;) {
        again = false;
        for (size_t k = 1; k + 1 < list.size(); ++k) {
            if (list[k].type == 'B' && segmentLength(list[k]) == 1 && list[k - 1].type == 'T' &&
                list[k + 1].type == 'T' && segmentLength(list[k - 1]) + segmentLength(list[k + 1]) >= 3) {
                list[k - 1].end = list[k + 1].end;
                removeAt(k + 1);
                removeAt(k);
                again = true;
                break;
            }
        }
    }
    // A text of 5 or more takes in single bytes and texts beside it.
    for (bool again = true; again;) {
        again = false;
        for (size_t k = 0; k < list.size(); ++k) {
            if (list[k].type != 'T' || segmentLength(list[k]) < 5)
                continue;
            bool took = false;
            if (k > 0 && ((list[k - 1].type == 'B' && segmentLength(list[k - 1]) == 1) || list[k - 1].type == 'T')) {
                list[k].start = list[k - 1].start;
                removeAt(k - 1);
                --k;
                took = true;
            }
            if (k + 1 < list.size() &&
                ((list[k + 1].type == 'B' && segmentLength(list[k + 1]) == 1) || list[k + 1].type == 'T')) {
                list[k].end = list[k + 1].end;
                removeAt(k + 1);
                took = true;
            }
            if (took) {
                again = true;
                break;
            }
        }
    }
    // Bytes take in short texts and bytes beside them.
    for (bool again = true; again;) {
        again = false;
        for (size_t k = 0; k < list.size(); ++k) {
            if (list[k].type != 'B')
                continue;
            bool took = false;
            if (k > 0 && ((list[k - 1].type == 'T' && segmentLength(list[k - 1]) < 5) || list[k - 1].type == 'B')) {
                list[k].start = list[k - 1].start;
                removeAt(k - 1);
                --k;
                took = true;
            }
            if (k + 1 < list.size() &&
                ((list[k + 1].type == 'T' && segmentLength(list[k + 1]) < 5) || list[k + 1].type == 'B')) {
                list[k].end = list[k + 1].end;
                removeAt(k + 1);
                took = true;
            }
            if (took) {
                again = true;
                break;
            }
        }
    }
    // Eight or more digits alone are a number.
    if (list.size() == 1 && list[0].type == 'T' && segmentLength(list[0]) >= 8) {
        bool digits = true;
        for (int k = list[0].start; k < list[0].end && digits; ++k)
            digits = text[k] >= '0' && text[k] <= '9';
        if (digits)
            list[0].type = 'N';
    }
    return list;
}

void pdf417init(pdf417param* p)
{
    *p = pdf417param();
}

void pdf417free(pdf417param* p)
{
    p->outBits.clear();
    p->outBits.shrink_to_fit();
}

void paintCode(pdf417param* p)
{
    p->error = PDF417_ERROR_SUCCESS;
    p->outBits.clear();
    if (p->options & PDF417_USE_RAW_CODEWORDS) {
        if (p->lenCodewords > PDF417_MAX_DATA_CODEWORDS || p->lenCodewords < 1 ||
            p->lenCodewords != p->codewords[0]) {
            p->error = PDF417_ERROR_INVALID_PARAMS;
            return;
        }
    } else {
        if (!p->text)
            p->lenText = 0;
        else if (p->lenText < 0)
            p->lenText = int(std::min<size_t>(std::strlen(p->text), PDF417_MAX_TEXT + 1));
        if (p->lenText > PDF417_MAX_TEXT) {
            p->error = PDF417_ERROR_TEXT_TOO_BIG;
            return;
        }
        Encoder encoder{p, reinterpret_cast<const unsigned char*>(p->text)};
        encoder.assemble(breakString(p));
        if (p->error != PDF417_ERROR_SUCCESS)
            return;
        p->codewords[0] = p->lenCodewords = encoder.cwPtr;
    }
    const int maxErr = maxPossibleErrorLevel(PDF417_MAX_CODEWORDS - p->lenCodewords);
    if (!(p->options & PDF417_USE_ERROR_LEVEL)) {
        if (p->lenCodewords < 41)
            p->errorLevel = 2;
        else if (p->lenCodewords < 161)
            p->errorLevel = 3;
        else if (p->lenCodewords < 321)
            p->errorLevel = 4;
        else
            p->errorLevel = 5;
    }
    if (p->errorLevel < 0)
        p->errorLevel = 0;
    else if (p->errorLevel > maxErr)
        p->errorLevel = maxErr;
    p->codeColumns = std::clamp(p->codeColumns, 1, 30);
    p->codeRows = std::clamp(p->codeRows, 3, 90);
    int lenErr = 2 << p->errorLevel;
    const bool byColumns = !(p->options & PDF417_FIXED_ROWS);
    bool resize = true;
    int tot = p->lenCodewords + lenErr;
    if (p->options & PDF417_FIXED_RECTANGLE) {
        tot = p->codeColumns * p->codeRows;
        if (tot > PDF417_MAX_CODEWORDS) {
            getMaxSquare(p);
            tot = PDF417_MAX_CODEWORDS;
        }
        if (tot < p->lenCodewords + lenErr)
            tot = p->lenCodewords + lenErr;
        else
            resize = false;
    } else if (!(p->options & (PDF417_FIXED_COLUMNS | PDF417_FIXED_ROWS))) {
        const double ratio = std::clamp(double(p->aspectRatio), 0.001, 1000.0);
        const double b = 73.0 * ratio - 4.0;
        const double c = (-b + std::sqrt(b * b + 4.0 * 17.0 * ratio * (p->lenCodewords + lenErr) * p->yHeight)) /
                         (2.0 * 17.0 * ratio);
        p->codeColumns = std::clamp(int(c + 0.5), 1, 30);
    }
    if (resize) {
        if (byColumns) {
            p->codeRows = (tot - 1) / p->codeColumns + 1;
            if (p->codeRows < 3)
                p->codeRows = 3;
            else if (p->codeRows > 90) {
                p->codeRows = 90;
                p->codeColumns = (tot - 1) / 90 + 1;
            }
        } else {
            p->codeColumns = (tot - 1) / p->codeRows + 1;
            if (p->codeColumns > 30) {
                p->codeColumns = 30;
                p->codeRows = (tot - 1) / 30 + 1;
            }
        }
        tot = p->codeRows * p->codeColumns;
    }
    if (tot > PDF417_MAX_CODEWORDS) {
        getMaxSquare(p);
        tot = PDF417_MAX_CODEWORDS;
    }
    p->errorLevel = maxPossibleErrorLevel(tot - p->lenCodewords);
    lenErr = 2 << p->errorLevel;
    int count = p->lenCodewords;
    while (count < tot - lenErr)
        p->codewords[count++] = PAD;
    p->codewords[0] = p->lenCodewords = count;
    calculateErrorCorrection(p, count);
    p->lenCodewords = tot;
    outPaintCode(p);
}
