#pragma once
// The QR Code encoder: text bytes to the module matrix of one symbol
// (versions 1 to 40, levels L, M, Q, H, numeric, alphanumeric and 8-bit byte
// segments, Reed-Solomon blocks, function patterns, format and version
// information and the eight data masks). It draws nothing; read the result
// from m_nSymbleSize and m_byModuleData (1 dark, 0 light, indexed [x][y]).
#include <cstdint>
#include <vector>

// Level, version and segment tables of the QR standard.
struct QR_VERSIONINFO {
    struct RS_BLOCKINFO {
        int ncRSBlock;      // number of blocks of this kind
        int ncAllCodeWord;  // codewords per block, data and error correction
        int ncDataCodeWord; // data codewords per block
    };
    int nVersionNo;
    int ncAllCodeWord;
    int ncDataCodeWord[4]; // per level L, M, Q, H
    int ncAlignPoint;      // alignment coordinates besides 6
    int nAlignPoint[6];
    RS_BLOCKINFO RS_BlockInfo1[4]; // the shorter blocks, per level
    RS_BLOCKINFO RS_BlockInfo2[4]; // the longer blocks (count 0 when there are none)
};
// Index n holds version n; index 0 holds no version.
const QR_VERSIONINFO& QR_VersonInfo(int version);
// Data bits of a version (1-40) at a level (0-3).
int QR_Data_Bits(int version, int level);

// Segment modes.
enum : std::uint8_t { QR_MODE_NUMERAL = 0, QR_MODE_ALPHABET = 1, QR_MODE_8BIT = 2, QR_MODE_KANJI = 3 };

// One row or column of a symbol as bits: module k in bit k % 64 of word k / 64.
struct QR_Packed_Line {
    std::uint64_t word[3];
    bool at(int k) const { return (word[k >> 6] >> (k & 63)) & 1; }
    void set(int k) { word[k >> 6] |= std::uint64_t(1) << (k & 63); }
};
// The dark modules of a symbol, by rows (bit x of row y) and by columns (bit y of column x).
struct QR_Packed_Symbol {
    static constexpr int MaxSide = 177;
    // Lines 0 to side - 1 all light; the others are never read.
    explicit QR_Packed_Symbol(int side)
    {
        for (int k = 0; k < side; ++k)
            rows[k] = columns[k] = QR_Packed_Line{};
    }
    QR_Packed_Line rows[MaxSide];
    QR_Packed_Line columns[MaxSide];
    void set(int x, int y)
    {
        rows[y].set(x);
        columns[x].set(y);
    }
};
// The mask penalty of a symbol of the given side, counted a machine word
// at a time over its rows and columns (all four rules).
std::int64_t Mask_Penalty(const QR_Packed_Symbol& symbol, int size);

class CQR_Encode {
public:
    // The work arrays are left as they are: each encoding clears what it uses.
    CQR_Encode() {}

    static constexpr int MAX_MODULESIZE = QR_Packed_Symbol::MaxSide;
    static constexpr int MAX_DATACODEWORD = 2956;
    static constexpr int MAX_ALLCODEWORD = 3706;
    static constexpr int MAX_CODEBLOCK = 153;

    // Level 0-3 (L, M, Q, H); version 0 (automatic) or 1-40; with auto-extension
    // a requested version too small for the data grows; mask -1 (chosen by
    // penalty) or 0-7; a length below 1 means the NUL-terminated length.
    // True when a symbol was built.
    bool EncodeData(std::int64_t nLevel, std::int64_t nVersion, bool bAutoExtent,
                    std::int64_t nMaskingNo, const char* lpsSource, std::int64_t ncSource);
    // The class of a whole text: 2 when any byte is neither alphanumeric nor a
    // digit, else 1 when any alphanumeric-only character is present, else 0
    // (digits only); 2 for an empty text.
    static std::uint8_t Get_Encoding_Mode(const char* lpsSource, std::int64_t ncLength);

    std::int64_t m_nLevel = 0;
    std::int64_t m_nVersion = 0;
    std::int64_t m_nVersion_pass = 0;
    std::int64_t m_nMaskingNo = 0;
    std::int64_t m_nSymbleSize = 0;
    std::uint8_t m_byModuleData[MAX_MODULESIZE][MAX_MODULESIZE];

    std::int64_t m_ncDataCodeWordBit = 0;
    std::uint8_t m_byDataCodeWord[MAX_DATACODEWORD];
    // Segments: mode and length in bytes; they grow with the text.
    std::int64_t m_ncDataBlock = 0;
    std::vector<std::uint8_t> m_byBlockMode;
    std::vector<std::int64_t> m_nBlockLength;

    std::int64_t m_ncAllCodeWord = 0;
    std::uint8_t m_byAllCodeWord[MAX_ALLCODEWORD];
    std::uint8_t m_byRSWork[MAX_CODEBLOCK];

    // Steps, public so that tests can look at them.
    static bool IsNumeralData(unsigned char c) { return c >= '0' && c <= '9'; }
    static bool IsAlphabetData(unsigned char c);
    static std::uint8_t AlphabetToBinaly(unsigned char c);
    static std::int64_t GetBitLength(std::uint8_t nMode, std::int64_t ncData, int nVerGroup);
    std::int64_t GetEncodeVersion(std::int64_t nVersion, const char* lpsSource, std::int64_t ncLength);
    bool EncodeSourceData(const char* lpsSource, std::int64_t ncLength, int nVerGroup);
    std::int64_t SetBitStream(std::int64_t nIndex, std::uint16_t wData, int ncData);
    void GetRSCodeWord(std::uint8_t* lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord);
    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    std::int64_t CountPenalty() const;
    static std::int64_t min(std::int64_t a, std::int64_t b) { return a < b ? a : b; }

private:
    // The matrix before masking, packed: function modules, the dark ones
    // among them, and the dark data modules.
    struct Masking_Lines {
        explicit Masking_Lines(int side) : function(side), fixed(side), data(side) {}
        QR_Packed_Symbol function, fixed, data;
        // The symbol under a mask, its format information laid over.
        void mask(int pattern, int level, int size, QR_Packed_Symbol& out) const;
    };
    Masking_Lines maskingLines() const;
    void removeBlock(std::int64_t index);
    // The segments of a text: runs of one class, then the joins that shorten the stream.
    void SplitIntoRuns(const unsigned char* src, std::int64_t ncLength);
    void JoinAlphanumericRuns(int nVerGroup);
    void JoinEightBitRuns(int nVerGroup);
    // One segment of each mode onto the bit stream from bit n; the next bit, or -1 when full.
    std::int64_t PutNumeralSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup);
    std::int64_t PutAlphabetSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup);
    std::int64_t Put8BitSegment(std::int64_t n, const unsigned char* p, std::int64_t count, int nVerGroup);
    bool isDark(int x, int y) const { return (m_byModuleData[x][y] & 0x11) != 0; }
};
