// The LZH codec of the skin container: LZSS over a 4 KB ring buffer with an
// adaptive Huffman code for literals and match lengths and the fixed LZHUF
// prefix code for the upper bits of match positions.
//
// TLZH decodes; it is what the program runs when it loads a skin. The encoder
// (LzhPack) writes streams with the same parameters and exists for the skin
// tool and the tests: every stream it makes decodes back to its input byte for
// byte. Both use the standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/sysutils.h"

// A failure of the codec's own bookkeeping (its tables could not be had).
class ElzhException : public Exception {
public:
    using Exception::Exception;
};

// The codec's two failure texts. Only the first can occur here: the tables
// are owned by a smart pointer, and giving them back cannot fail.
inline constexpr const char* LZH_MSG_NO_MEMORY =
    "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* LZH_MSG_FREE_FAILED =
    "LZH : Error freeing memory for dictionary tables";

// The fixed LZHUF parameters.
inline constexpr int LZH_RING_SIZE = 4096;                 // N
inline constexpr int LZH_MAX_MATCH = 60;                   // F
inline constexpr int LZH_THRESHOLD = 2;                    // longer matches are coded
inline constexpr int LZH_SYMBOLS = 256 - LZH_THRESHOLD + LZH_MAX_MATCH;  // 314
inline constexpr int LZH_TREE_SIZE = 2 * LZH_SYMBOLS - 1;  // 627
inline constexpr int LZH_ROOT = LZH_TREE_SIZE - 1;         // 626
inline constexpr int LZH_MAX_FREQ = 0x8000;
inline constexpr int LZH_RING_FILL = LZH_RING_SIZE - LZH_MAX_MATCH;  // 4036 spaces

// The codec pulls its input through these procedures one byte at a time and
// pushes its output in blocks of up to 4 KB. `context` is whatever the caller handed to Unpack.
// A read reports how many bytes arrived (0 at the end of the input); a write
// reports how many bytes were taken.
using TLzhReadProc = void (*)(void* context, std::uint8_t* buffer, int count, int& actual);
using TLzhWriteProc = void (*)(void* context, const std::uint8_t* buffer, int count,
                               int& actual);

// The adaptive Huffman tree shared by the decoder and the encoder.
// Invariants: Freq[0..LZH_TREE_SIZE-1] is non-decreasing (the sibling
// property), Freq[LZH_TREE_SIZE] is the sentinel $FFFF; Son[n] >= LZH_TREE_SIZE
// names leaf symbol Son[n] - LZH_TREE_SIZE, else nodes Son[n] and Son[n]+1 are
// the children of n; Prnt[] maps nodes and (at LZH_TREE_SIZE + symbol) leaves
// to their parent node; the root is LZH_ROOT and its parent is 0.
struct TLzhTree {
    std::uint16_t Freq[LZH_TREE_SIZE + 1];
    std::int16_t Prnt[LZH_TREE_SIZE + LZH_SYMBOLS];
    std::int16_t Son[LZH_TREE_SIZE];

    void Start();
    // Counts one more occurrence of `symbol` and restores the sibling
    // property, halving every count first when the root has reached the limit.
    void Update(int symbol);

private:
    void Reconstruct();
};

// The decoder. Set nothing up front: Unpack takes the size and the two
// procedures; the tables live only while Unpack runs.
class TLZH {
public:
    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Decodes until `size` bytes have been written (nothing at all when `size`
    // is below 1; the last block is written before Unpack returns). A match is always copied whole, so up to 59 bytes more than
    // `size` may be written. A short input is not detected: missing bytes read
    // as zero. Throws ElzhException when the tables cannot be allocated.
    void Unpack(std::int32_t size, TLzhWriteProc write, TLzhReadProc read, void* context);

private:
    struct TTables;

    int GetBit();
    int GetByte();
    int DecodeChar();
    int DecodePosition();
    void PutByte(std::uint8_t value);
    void FlushOutput();
    void FillBits();

    std::unique_ptr<TTables> FTables;
    TLzhReadProc FRead = nullptr;
    TLzhWriteProc FWrite = nullptr;
    void* FContext = nullptr;
    std::uint16_t FBitBuffer = 0;
    std::uint8_t FBitCount = 0;
    int FOutCount = 0;
};

// Input and output for TLZH over plain memory, as the skin reader uses them.
// Reads never go past the end of the input; writes append to the output.
struct TLzhMemoryStreams {
    const std::uint8_t* Input = nullptr;
    std::size_t InputSize = 0;
    std::size_t InputPosition = 0;
    std::vector<std::uint8_t>* Output = nullptr;
    // Bytes the decoder asked for past the end of the input (they read as
    // zero). A whole stream asks for at most LZH_READ_AHEAD of them.
    std::size_t Missing = 0;
};
// The decoder keeps at least nine bits in hand, so at the end of a whole
// stream it may ask for one byte past the last.
inline constexpr std::size_t LZH_READ_AHEAD = 1;
void LzhReadMemory(void* context, std::uint8_t* buffer, int count, int& actual);
void LzhWriteMemory(void* context, const std::uint8_t* buffer, int count, int& actual);

// Decodes `size` bytes of the bit stream in [data, data + length) into a new
// buffer (cut to exactly `size`; empty when size < 1). When `missing` is
// given it receives how many bytes the decoder asked for past the input: more
// than LZH_READ_AHEAD means the stream was cut short.
std::vector<std::uint8_t> LzhUnpackBuffer(const std::uint8_t* data, std::size_t length,
                                          std::int32_t size, std::size_t* missing = nullptr);

// Encodes `data` as an LZHUF bit stream (without any size in front).
std::vector<std::uint8_t> LzhPack(const std::uint8_t* data, std::size_t length);

// The compressed form the skin container uses: the 32-bit little-endian
// decoded size, then the bit stream.
std::vector<std::uint8_t> LzhPackWithSize(const std::uint8_t* data, std::size_t length);
