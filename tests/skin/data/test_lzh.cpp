// The LZH codec: encoder/decoder round trips, the decoding edge cases, and a
// differential check against a plain reference decoder written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

// ---- reference decoder -------------------------------------------------------
// Written for clarity, not speed: nodes live in one vector, parents are found
// by searching, the history is the whole output behind the ring's initial
// contents, and the position code is matched bit by bit against its list of
// codes.
class TReferenceDecoder {
public:
    explicit TReferenceDecoder(const TBytes& input) : FInput(input) {
        for (int s = 0; s < 314; ++s) FNodes.push_back({1, s, true});
        for (int i = 0; FNodes.size() < 627; i += 2)
            FNodes.push_back({FNodes[i].Freq + FNodes[i + 1].Freq, i, false});
        // The ring before any output: positions 4036..4095 (zeros) are the
        // oldest, then 0..4035 (spaces).
        FHistory.assign(60, 0);
        FHistory.insert(FHistory.end(), 4036, ' ');
    }

    TBytes Decode(int size) {
        TBytes out;
        while (static_cast<int>(out.size()) < size) {
            const int symbol = DecodeSymbol();
            if (symbol < 256) {
                Emit(static_cast<std::uint8_t>(symbol), out);
                continue;
            }
            const std::size_t distance = static_cast<std::size_t>(DecodePosition()) + 1;
            const std::size_t from = FHistory.size() - distance;
            for (int k = 0; k < symbol - 253; ++k) Emit(FHistory[from + static_cast<std::size_t>(k)], out);
        }
        return out;
    }

private:
    struct TNode {
        unsigned Freq;
        int Child;   // leaf: the symbol; else the left child (right = Child + 1)
        bool Leaf;
    };

    void Emit(std::uint8_t b, TBytes& out) {
        out.push_back(b);
        FHistory.push_back(b);
    }

    int Bit() {
        const std::size_t byte = FBit / 8;
        const int bit = byte < FInput.size() ? (FInput[byte] >> (7 - FBit % 8)) & 1 : 0;
        ++FBit;
        return bit;
    }

    int Parent(int node) const {
        for (int p = 0; p < static_cast<int>(FNodes.size()); ++p)
            if (!FNodes[p].Leaf && (FNodes[p].Child == node || FNodes[p].Child + 1 == node)) return p;
        return -1;
    }

    void Rebuild() {
        std::vector<TNode> leaves;
        for (const TNode& n : FNodes)
            if (n.Leaf) leaves.push_back({(n.Freq + 1) / 2, n.Child, true});
        FNodes = leaves;
        for (int i = 0; FNodes.size() < 627; i += 2) {
            const unsigned f = FNodes[i].Freq + FNodes[i + 1].Freq;
            std::size_t at = FNodes.size();
            while (at > 0 && FNodes[at - 1].Freq > f) --at;
            FNodes.insert(FNodes.begin() + static_cast<std::ptrdiff_t>(at), TNode{f, i, false});
        }
    }

    void Update(int symbol) {
        if (FNodes[626].Freq == 0x8000) Rebuild();
        int n = 0;
        while (!(FNodes[n].Leaf && FNodes[n].Child == symbol)) ++n;
        while (n >= 0) {
            const unsigned f = ++FNodes[n].Freq;
            int last = n;
            while (last + 1 < 627 && FNodes[last + 1].Freq < f) ++last;
            if (last != n) {
                std::swap(FNodes[n], FNodes[last]);
                n = last;
            }
            n = Parent(n);
        }
    }

    int DecodeSymbol() {
        int n = 626;
        while (!FNodes[n].Leaf) n = FNodes[n].Child + Bit();
        const int symbol = FNodes[n].Child;
        Update(symbol);
        return symbol;
    }

    int DecodePosition() {
        // Codes of the upper six bits: 1 of 3 bits, 3 of 4, 8 of 5, 12 of 6,
        // 24 of 7, 16 of 8, assigned in increasing order.
        static const int groups[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
        int code = 0;
        int length = 0;
        int value = 0;
        int next = 0;   // the first code of the current length
        for (const auto& g : groups) {
            while (length < g[0]) {
                code = code * 2 + Bit();
                next *= 2;
                ++length;
            }
            if (code < next + g[1]) {
                value += code - next;
                break;
            }
            value += g[1];
            next += g[1];
        }
        int low = 0;
        for (int i = 0; i < 6; ++i) low = low * 2 + Bit();
        return value << 6 | low;
    }

    const TBytes& FInput;
    std::size_t FBit = 0;
    std::vector<TNode> FNodes;
    TBytes FHistory;
};

// ---- inputs --------------------------------------------------------------------

TBytes RandomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    TBytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng() % static_cast<unsigned>(alphabet));
    return out;
}

TBytes Text(std::size_t n) {
    static const char* words[] = {"ledger ", "income ", "expenditure ", "skin ", "bitmap ", "frame\r\n",
                                  "[Buttons]\r\n", "LeftWidth=3\r\n", "216 208 200 "};
    std::mt19937 rng(7);
    std::string s;
    while (s.size() < n) s += words[rng() % 9];
    s.resize(n);
    return TBytes(s.begin(), s.end());
}

// Rows of a 24-bit picture: gradients, flat runs and a little noise, like
// skin bitmaps.
TBytes BitmapLike(std::size_t n) {
    TBytes out(n);
    std::mt19937 rng(3);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t x = i % 612;
        out[i] = x < 300 ? 0xFF : static_cast<std::uint8_t>((x / 24) * 9 + (rng() % 16 == 0 ? 1 : 0));
    }
    return out;
}

TBytes PackedSkin() {
    std::vector<TSkinFileEntry> files;
    const std::string ini = "[Buttons]\r\nBitmap=buttons.bmp\r\nLeftWidth=3\r\n";
    files.push_back({"skin.ini", TBytes(ini.begin(), ini.end())});
    files.push_back({"buttons.bmp", BitmapLike(7000)});
    files.push_back({"Top.bmp", BitmapLike(30000)});
    return BuildSkinContainer(files);
}

struct TRoundTripCase {
    const char* Name;
    TBytes Data;
};

std::vector<TRoundTripCase> RoundTripCases() {
    TBytes allBytes(256 * 3);
    for (std::size_t i = 0; i < allBytes.size(); ++i) allBytes[i] = static_cast<std::uint8_t>(i);
    return {
        {"empty", {}},
        {"one byte", {0x42}},
        {"one space", {' '}},
        {"run of one byte", TBytes(5000, 'a')},
        {"run of spaces", TBytes(10000, ' ')},
        {"run of zeros", TBytes(70000, 0)},
        {"every byte value", allBytes},
        {"random", RandomBytes(100000, 1)},
        {"random, small alphabet", RandomBytes(120000, 2, 3)},
        {"text", Text(150000)},
        {"bitmap-like", BitmapLike(200000)},
        {"packed skin", PackedSkin()},
    };
}

TEST(LzhCodec, EncoderOutputDecodesToItsInput) {
    for (const TRoundTripCase& c : RoundTripCases()) {
        SCOPED_TRACE(c.Name);
        const TBytes packed = LzhPack(c.Data.data(), c.Data.size());
        const TBytes back = LzhUnpackBuffer(packed.data(), packed.size(), static_cast<std::int32_t>(c.Data.size()));
        EXPECT_EQ(back, c.Data);
    }
}

TEST(LzhCodec, DecoderAgreesWithReference) {
    for (const TRoundTripCase& c : RoundTripCases()) {
        SCOPED_TRACE(c.Name);
        const TBytes packed = LzhPack(c.Data.data(), c.Data.size());
        const int size = static_cast<int>(c.Data.size());
        EXPECT_EQ(TReferenceDecoder(packed).Decode(size), LzhUnpackBuffer(packed.data(), packed.size(), size));
    }
    // Arbitrary bit streams: garbage decodes to garbage, but the same garbage.
    for (unsigned seed = 10; seed < 16; ++seed) {
        SCOPED_TRACE(seed);
        const TBytes noise = RandomBytes(3000 + seed * 500, seed);
        const int size = 20000 + static_cast<int>(seed) * 1000;
        TBytes mine = LzhUnpackBuffer(noise.data(), noise.size(), size);
        EXPECT_EQ(TReferenceDecoder(noise).Decode(size).size() >= mine.size(), true);
        TBytes reference = TReferenceDecoder(noise).Decode(size);
        reference.resize(mine.size());
        EXPECT_EQ(reference, mine);
    }
}

// Counts what the decoder asks for and hands out.
struct TCountingStreams {
    TBytes Input;
    std::size_t Position = 0;
    int Reads = 0;
    TBytes Output;
    int LargestWrite = 0;
};

void CountingRead(void* context, std::uint8_t* buffer, int count, int& actual) {
    auto* s = static_cast<TCountingStreams*>(context);
    ++s->Reads;
    actual = 0;
    while (actual < count && s->Position < s->Input.size()) buffer[actual++] = s->Input[s->Position++];
}

void CountingWrite(void* context, const std::uint8_t* buffer, int count, int& actual) {
    auto* s = static_cast<TCountingStreams*>(context);
    s->Output.insert(s->Output.end(), buffer, buffer + count);
    s->LargestWrite = std::max(s->LargestWrite, count);
    actual = count;
}

TEST(LzhCodec, SizeBelowOneReadsNothing) {
    for (std::int32_t size : {0, -1, -2147483647 - 1}) {
        SCOPED_TRACE(size);
        TCountingStreams s;
        s.Input = RandomBytes(100, 5);
        TLZH codec;
        codec.Unpack(size, CountingWrite, CountingRead, &s);
        EXPECT_EQ(s.Reads, 0);
        EXPECT_TRUE(s.Output.empty());
    }
}

TEST(LzhCodec, LeadingMatchesCopyTheRingsSpaces) {
    const TBytes spaces(200, ' ');
    const TBytes packed = LzhPack(spaces.data(), spaces.size());
    // 200 literals would need at least 200 bits; matches from the ring's
    // initial spaces need a few dozen.
    EXPECT_LT(packed.size(), 12u);
    EXPECT_EQ(LzhUnpackBuffer(packed.data(), packed.size(), 200), spaces);
    EXPECT_EQ(TReferenceDecoder(packed).Decode(200), spaces);
}

TEST(LzhCodec, MatchCrossingTheSizeIsCopiedWhole) {
    // The first symbol of 120 spaces is a 60-byte match.
    const TBytes spaces(120, ' ');
    TCountingStreams s;
    s.Input = LzhPack(spaces.data(), spaces.size());
    TLZH codec;
    codec.Unpack(10, CountingWrite, CountingRead, &s);
    EXPECT_EQ(s.Output, TBytes(60, ' '));
    // The buffer helper cuts the surplus off.
    EXPECT_EQ(LzhUnpackBuffer(s.Input.data(), s.Input.size(), 10), TBytes(10, ' '));
}

TEST(LzhCodec, WritesBlocksOfAtMost4K) {
    // Matches that fill the output block exactly, then a literal.
    TBytes exact(4096, ' ');
    exact.push_back('X');
    for (const TBytes& data : {exact, Text(20000), RandomBytes(9000, 8, 2)}) {
        TCountingStreams s;
        s.Input = LzhPack(data.data(), data.size());
        TLZH codec;
        codec.Unpack(static_cast<std::int32_t>(data.size()), CountingWrite, CountingRead, &s);
        EXPECT_EQ(s.Output, data);
        EXPECT_LE(s.LargestWrite, 4096);
    }
}

TEST(LzhCodec, ShortInputReadsAsZeroBits) {
    const TBytes data = Text(5000);
    TBytes packed = LzhPack(data.data(), data.size());
    TBytes truncated(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packed.size() / 2));
    TBytes padded = truncated;
    padded.resize(packed.size() * 50, 0);
    // Decoding goes on to the size; the missing bytes act like zero bytes.
    std::size_t missing = 0;
    const TBytes a = LzhUnpackBuffer(truncated.data(), truncated.size(), 40000, &missing);
    const TBytes b = LzhUnpackBuffer(padded.data(), padded.size(), 40000);
    ASSERT_EQ(a.size(), 40000u);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, a.begin()));
    // The cut is told apart from a whole stream by the bytes asked for past its end.
    EXPECT_GT(missing, LZH_READ_AHEAD);
    for (std::size_t size : {std::size_t{1}, std::size_t{777}, data.size()}) {
        const TBytes whole = LzhPack(data.data(), size);
        EXPECT_EQ(LzhUnpackBuffer(whole.data(), whole.size(), static_cast<std::int32_t>(size), &missing),
                  TBytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size)));
        EXPECT_LE(missing, LZH_READ_AHEAD) << size;
    }
}

TEST(LzhCodec, SizedFormCarriesTheLengthInFront) {
    const TBytes data = Text(777);
    const TBytes packed = LzhPackWithSize(data.data(), data.size());
    ASSERT_GE(packed.size(), 4u);
    EXPECT_EQ(ReadLE32(packed.data()), 777);
    EXPECT_EQ(LzhUnpackBuffer(packed.data() + 4, packed.size() - 4, 777), data);
}

}  // namespace
