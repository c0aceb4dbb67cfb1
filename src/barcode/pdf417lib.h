#pragma once
// The PDF417 encoder: a run of bytes to the bit matrix of one symbol (text,
// numeric and byte compaction, error correction levels 0 to 8, the three row
// clusters, row indicators, start and stop patterns). All state lives in one
// record that the caller owns; nothing is reported but the record's error.
#include <cstdint>
#include <vector>

// Option bits of pdf417param::options.
enum : int {
    PDF417_FIXED_RECTANGLE = 1,
    PDF417_FIXED_COLUMNS = 2,
    PDF417_FIXED_ROWS = 4,
    PDF417_USE_ERROR_LEVEL = 16,
    PDF417_USE_RAW_CODEWORDS = 64,
    PDF417_INVERT_BITMAP = 128,
};
// Results in pdf417param::error.
enum : int { PDF417_ERROR_SUCCESS = 0, PDF417_ERROR_TEXT_TOO_BIG = 1, PDF417_ERROR_INVALID_PARAMS = 2 };

constexpr int PDF417_MAX_CODEWORDS = 928;
constexpr int PDF417_MAX_DATA_CODEWORDS = 926;
constexpr int PDF417_MAX_TEXT = 5420;

struct pdf417param {
    // The bit matrix: codeRows rows of (bitColumns - 1) / 8 + 1 bytes, the
    // leftmost module in the most significant bit; 1 a bar unless inverted.
    std::vector<std::uint8_t> outBits;
    int lenBits = 0;
    int bitColumns = 0;
    int codeRows = 0;    // 3 to 90
    int codeColumns = 0; // data codeword columns, 1 to 30
    // Codeword 0 is the length descriptor (data and pad codewords, itself
    // included), then data, pad and error-correction codewords.
    int codewords[PDF417_MAX_CODEWORDS] = {};
    int lenCodewords = 0;
    int errorLevel = 0; // 2^(level+1) error-correction codewords
    const char* text = nullptr; // not owned
    int lenText = -1;           // -1: NUL-terminated
    int options = 0;
    float aspectRatio = 0.5f; // wanted height to width, for automatic sizing
    float yHeight = 3.0f;     // row height in modules, for automatic sizing
    int error = PDF417_ERROR_SUCCESS;
};

void pdf417init(pdf417param* p);
void paintCode(pdf417param* p);
void pdf417free(pdf417param* p);

// The 17-module bar-space pattern of a codeword (0-928) in cluster 0, 1 or 2
// (the standard's clusters 0, 3 and 6), most significant bit first, 1 a bar.
int pdf417Pattern(int cluster, int codeword);

// Steps, open to tests.
struct pdf417Segment {
    char type; // 'T' text, 'N' numeric, 'B' byte
    int start, end;
};
std::vector<pdf417Segment> breakString(const pdf417param* p);
// The error-correction coefficients of a level (0-8), lowest power first.
const std::vector<int>& pdf417ErrorCoefficients(int level);
int maxPossibleErrorLevel(int remain);
