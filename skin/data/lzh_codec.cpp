// LZHUF decoding and encoding for the skin container (see lzh_codec.h).
#include "skin/data/lzh_codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace {

constexpr int T = LZH_TREE_SIZE;
constexpr int RING_MASK = LZH_RING_SIZE - 1;

// The fixed prefix code for the upper 6 bits of a match position: value v is
// sent as the top POSITION_LENGTH[v] bits of POSITION_CODE[v]. The code is
// canonical: one 3-bit code, three of 4 bits, eight of 5, twelve of 6,
// twenty-four of 7 and sixteen of 8 bits, in increasing order.
struct TPositionTables {
    std::array<std::uint8_t, 64> Code{};
    std::array<std::uint8_t, 64> Length{};
    std::array<std::uint8_t, 256> DecodeValue{};   // indexed by the next 8 bits
    std::array<std::uint8_t, 256> DecodeLength{};
};

constexpr TPositionTables MakePositionTables() {
    TPositionTables t;
    constexpr int groups[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
    int value = 0;
    int code = 0;
    for (const auto& g : groups) {
        for (int n = 0; n < g[1]; ++n, ++value) {
            t.Code[value] = static_cast<std::uint8_t>(code);
            t.Length[value] = static_cast<std::uint8_t>(g[0]);
            const int span = 1 << (8 - g[0]);
            for (int b = code; b < code + span; ++b) {
                t.DecodeValue[b] = static_cast<std::uint8_t>(value);
                t.DecodeLength[b] = static_cast<std::uint8_t>(g[0]);
            }
            code += span;
        }
    }
    return t;
}

constexpr TPositionTables POSITION = MakePositionTables();
static_assert(POSITION.Code[63] == 0xFF && POSITION.Length[63] == 8);
static_assert(POSITION.Code[1] == 0x20 && POSITION.Code[12] == 0x90 && POSITION.Code[24] == 0xC0);

}  // namespace

// ---- adaptive Huffman tree -------------------------------------------------

void TLzhTree::Start() {
    for (int i = 0; i < LZH_SYMBOLS; ++i) {
        Freq[i] = 1;
        Son[i] = static_cast<std::int16_t>(i + T);
        Prnt[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = LZH_SYMBOLS; j <= LZH_ROOT; i += 2, ++j) {
        Freq[j] = static_cast<std::uint16_t>(Freq[i] + Freq[i + 1]);
        Son[j] = static_cast<std::int16_t>(i);
        Prnt[i] = Prnt[i + 1] = static_cast<std::int16_t>(j);
    }
    Freq[T] = 0xFFFF;
    Prnt[LZH_ROOT] = 0;
}

void TLzhTree::Reconstruct() {
    // Keep the leaves in node order with halved counts.
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (Son[i] >= T) {
            Freq[j] = static_cast<std::uint16_t>((Freq[i] + 1) / 2);
            Son[j] = Son[i];
            ++j;
        }
    }
    // Pair them again; each new node goes into sorted position, after any
    // node of equal count.
    for (int i = 0, n = LZH_SYMBOLS; n < T; i += 2, ++n) {
        const unsigned f = Freq[i] + Freq[i + 1];
        int k = n - 1;
        while (f < Freq[k]) --k;
        ++k;
        const std::size_t moved = static_cast<std::size_t>(n - k);
        std::memmove(&Freq[k + 1], &Freq[k], moved * sizeof(Freq[0]));
        Freq[k] = static_cast<std::uint16_t>(f);
        std::memmove(&Son[k + 1], &Son[k], moved * sizeof(Son[0]));
        Son[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = Son[i];
        if (k >= T)
            Prnt[k] = static_cast<std::int16_t>(i);
        else
            Prnt[k] = Prnt[k + 1] = static_cast<std::int16_t>(i);
    }
}

void TLzhTree::Update(int symbol) {
    if (Freq[LZH_ROOT] == LZH_MAX_FREQ) Reconstruct();
    int c = Prnt[symbol + T];
    do {
        const unsigned k = ++Freq[c];
        int l = c + 1;
        if (k > Freq[l]) {
            // Swap c with the last node of the run of smaller counts.
            while (k > Freq[++l]) {
            }
            --l;
            Freq[c] = Freq[l];
            Freq[l] = static_cast<std::uint16_t>(k);

            const int i = Son[c];
            Prnt[i] = static_cast<std::int16_t>(l);
            if (i < T) Prnt[i + 1] = static_cast<std::int16_t>(l);

            const int j = Son[l];
            Son[l] = static_cast<std::int16_t>(i);
            Prnt[j] = static_cast<std::int16_t>(c);
            if (j < T) Prnt[j + 1] = static_cast<std::int16_t>(c);
            Son[c] = static_cast<std::int16_t>(j);

            c = l;
        }
        c = Prnt[c];
    } while (c != 0);
}

// ---- decoder ---------------------------------------------------------------

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

struct TLZH::TTables {
    TLzhTree Tree;
    std::uint8_t Ring[LZH_RING_SIZE + LZH_MAX_MATCH - 1];
    std::uint8_t Out[4096];   // output on its way to the write procedure
};

void TLZH::FillBits() {
    if (FBitCount <= 8) {
        std::uint8_t next = 0;
        int got = 0;
        FRead(FContext, &next, 1, got);
        if (got < 1) next = 0;
        FBitBuffer = static_cast<std::uint16_t>(FBitBuffer | (next << (8 - FBitCount)));
        FBitCount = static_cast<std::uint8_t>(FBitCount + 8);
    }
}

int TLZH::GetBit() {
    FillBits();
    const int bit = FBitBuffer >> 15;
    FBitBuffer = static_cast<std::uint16_t>(FBitBuffer << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte() {
    FillBits();
    const int value = FBitBuffer >> 8;
    FBitBuffer = static_cast<std::uint16_t>(FBitBuffer << 8);
    FBitCount = static_cast<std::uint8_t>(FBitCount - 8);
    return value;
}

int TLZH::DecodeChar() {
    TLzhTree& tree = FTables->Tree;
    int c = tree.Son[LZH_ROOT];
    while (c < T) {
        c += GetBit();
        c = tree.Son[c];
    }
    c -= T;
    tree.Update(c);
    return c;
}

int TLZH::DecodePosition() {
    int i = GetByte();
    const int upper = POSITION.DecodeValue[i] << 6;
    for (int more = POSITION.DecodeLength[i] - 2; more > 0; --more) i = (i << 1) + GetBit();
    return upper | (i & 0x3F);
}

void TLZH::PutByte(std::uint8_t value) {
    if (FOutCount == static_cast<int>(sizeof(FTables->Out))) FlushOutput();
    FTables->Out[FOutCount++] = value;
}

void TLZH::FlushOutput() {
    if (FOutCount == 0) return;
    int written = 0;
    FWrite(FContext, FTables->Out, FOutCount, written);
    FOutCount = 0;
}

void TLZH::Unpack(std::int32_t size, TLzhWriteProc write, TLzhReadProc read, void* context) {
    try {
        FTables.reset(new TTables);
    } catch (const std::bad_alloc&) {
        throw ElzhException(LZH_MSG_NO_MEMORY);
    }
    // The tables go whatever way the run ends.
    struct TRelease {
        std::unique_ptr<TTables>& Tables;
        ~TRelease() { Tables.reset(); }
    } release{FTables};

    FRead = read;
    FWrite = write;
    FContext = context;
    FBitBuffer = 0;
    FBitCount = 0;
    FOutCount = 0;

    TLzhTree& tree = FTables->Tree;
    std::uint8_t* ring = FTables->Ring;
    tree.Start();
    std::memset(ring, ' ', LZH_RING_FILL);
    std::memset(ring + LZH_RING_FILL, 0, sizeof(FTables->Ring) - LZH_RING_FILL);

    int r = LZH_RING_FILL;
    std::int32_t count = 0;
    while (count < size) {
        const int c = DecodeChar();
        if (c < 256) {
            const auto b = static_cast<std::uint8_t>(c);
            PutByte(b);
            ring[r] = b;
            r = (r + 1) & RING_MASK;
            ++count;
        } else {
            const int start = (r - DecodePosition() - 1) & RING_MASK;
            const int length = c - 255 + LZH_THRESHOLD;
            if (FOutCount + length > static_cast<int>(sizeof(FTables->Out))) FlushOutput();
            std::uint8_t* out = FTables->Out + FOutCount;
            for (int k = 0; k < length; ++k) {
                const std::uint8_t b = ring[(start + k) & RING_MASK];
                out[k] = b;
                ring[r] = b;
                r = (r + 1) & RING_MASK;
            }
            FOutCount += length;
            count += length;
        }
    }
    FlushOutput();
}

// ---- memory streams --------------------------------------------------------

void LzhReadMemory(void* context, std::uint8_t* buffer, int count, int& actual) {
    auto* s = static_cast<TLzhMemoryStreams*>(context);
    actual = 0;
    if (count <= 0) return;
    const std::size_t left = s->InputPosition < s->InputSize ? s->InputSize - s->InputPosition : 0;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), left);
    s->Missing += static_cast<std::size_t>(count) - n;
    if (n == 0) return;
    std::memcpy(buffer, s->Input + s->InputPosition, n);
    s->InputPosition += n;
    actual = static_cast<int>(n);
}

void LzhWriteMemory(void* context, const std::uint8_t* buffer, int count, int& actual) {
    auto* s = static_cast<TLzhMemoryStreams*>(context);
    actual = 0;
    if (count <= 0) return;
    s->Output->insert(s->Output->end(), buffer, buffer + count);
    actual = count;
}

std::vector<std::uint8_t> LzhUnpackBuffer(const std::uint8_t* data, std::size_t length,
                                          std::int32_t size, std::size_t* missing) {
    std::vector<std::uint8_t> out;
    if (missing) *missing = 0;
    if (size < 1) return out;
    out.reserve(static_cast<std::size_t>(size) + LZH_MAX_MATCH);
    TLzhMemoryStreams streams{data, length, 0, &out};
    TLZH codec;
    codec.Unpack(size, LzhWriteMemory, LzhReadMemory, &streams);
    out.resize(static_cast<std::size_t>(size));
    if (missing) *missing = streams.Missing;
    return out;
}

// ---- encoder ---------------------------------------------------------------

namespace {

class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    // Writes the low `count` bits of `bits`, most significant first.
    void Put(unsigned bits, int count) {
        for (int i = count - 1; i >= 0; --i) PutBit((bits >> i) & 1u);
    }
    void PutBit(unsigned bit) {
        FAcc = static_cast<std::uint8_t>((FAcc << 1) | bit);
        if (++FUsed == 8) {
            FOut.push_back(FAcc);
            FAcc = 0;
            FUsed = 0;
        }
    }
    // Pads the last byte with zero bits.
    void Flush() {
        if (FUsed > 0) {
            FOut.push_back(static_cast<std::uint8_t>(FAcc << (8 - FUsed)));
            FAcc = 0;
            FUsed = 0;
        }
    }

private:
    std::vector<std::uint8_t>& FOut;
    std::uint8_t FAcc = 0;
    int FUsed = 0;
};

class TLzhEncoder {
public:
    explicit TLzhEncoder(std::vector<std::uint8_t>& out) : FBits(out) { FTree.Start(); }

    void EncodeChar(int symbol) {
        // Walk from the leaf to the root; the bits come out in reverse.
        int path[LZH_TREE_SIZE];
        int depth = 0;
        int k = FTree.Prnt[symbol + T];
        do {
            path[depth++] = k & 1;
            k = FTree.Prnt[k];
        } while (k != LZH_ROOT);
        while (depth > 0) FBits.PutBit(static_cast<unsigned>(path[--depth]));
        FTree.Update(symbol);
    }

    void EncodePosition(int position) {
        const int upper = position >> 6;
        FBits.Put(POSITION.Code[upper] >> (8 - POSITION.Length[upper]), POSITION.Length[upper]);
        FBits.Put(static_cast<unsigned>(position & 0x3F), 6);
    }

    void Finish() { FBits.Flush(); }

private:
    TBitWriter FBits;
    TLzhTree FTree;
};

// Longest-match search over hash chains of 3-byte prefixes. The buffer holds
// the ring's initial spaces followed by the input, so a match may reach back
// into the spaces exactly as the decoder's ring allows.
class TMatchFinder {
public:
    explicit TMatchFinder(const std::vector<std::uint8_t>& buffer)
        : FBuf(buffer), FHead(HASH_SIZE, -1), FPrev(buffer.size(), -1) {}

    void Insert(int p) {
        if (p + 2 >= static_cast<int>(FBuf.size())) return;
        const unsigned h = Hash(p);
        FPrev[static_cast<std::size_t>(p)] = FHead[h];
        FHead[h] = p;
    }

    // Best match for position p (not yet inserted): returns its length (0 if
    // shorter than 3) and sets `distance` to p - source.
    int Find(int p, int& distance) const {
        const int end = static_cast<int>(FBuf.size());
        const int limit = std::min(LZH_MAX_MATCH, end - p);
        if (limit <= LZH_THRESHOLD) return 0;
        int best = 0;
        int chain = MAX_CHAIN;
        for (int q = FHead[Hash(p)]; q >= 0 && p - q <= LZH_RING_SIZE && chain-- > 0;
             q = FPrev[static_cast<std::size_t>(q)]) {
            if (FBuf[q + best] != FBuf[p + best]) continue;
            int n = 0;
            while (n < limit && FBuf[q + n] == FBuf[p + n]) ++n;
            if (n > best) {
                best = n;
                distance = p - q;
                if (n == limit) break;
            }
        }
        return best > LZH_THRESHOLD ? best : 0;
    }

private:
    static constexpr unsigned HASH_SIZE = 1u << 15;
    static constexpr int MAX_CHAIN = 256;

    unsigned Hash(int p) const {
        const unsigned v = (FBuf[p] << 16) | (FBuf[p + 1] << 8) | FBuf[p + 2];
        return (v * 2654435761u) >> 17;
    }

    const std::vector<std::uint8_t>& FBuf;
    std::vector<int> FHead;
    std::vector<int> FPrev;
};

}  // namespace

std::vector<std::uint8_t> LzhPack(const std::uint8_t* data, std::size_t length) {
    std::vector<std::uint8_t> out;
    if (length == 0) return out;

    std::vector<std::uint8_t> buffer(LZH_RING_FILL, ' ');
    buffer.insert(buffer.end(), data, data + length);
    TMatchFinder finder(buffer);
    TLzhEncoder encoder(out);

    for (int p = 0; p < LZH_RING_FILL; ++p) finder.Insert(p);
    const int end = static_cast<int>(buffer.size());
    int p = LZH_RING_FILL;
    while (p < end) {
        int distance = 0;
        int length = finder.Find(p, distance);
        finder.Insert(p);
        if (length > 0 && length < LZH_MAX_MATCH && p + 1 < end) {
            // One step of lazy matching: a longer match one byte later wins,
            // and the byte in between goes out as a literal.
            int nextDistance = 0;
            const int next = finder.Find(p + 1, nextDistance);
            if (next > length) {
                encoder.EncodeChar(buffer[p]);
                ++p;
                finder.Insert(p);
                length = next;
                distance = nextDistance;
            }
        }
        if (length == 0) {
            encoder.EncodeChar(buffer[p]);
            ++p;
            continue;
        }
        encoder.EncodeChar(255 - LZH_THRESHOLD + length);
        encoder.EncodePosition(distance - 1);
        for (int k = 1; k < length; ++k) finder.Insert(p + k);
        p += length;
    }
    encoder.Finish();
    return out;
}

std::vector<std::uint8_t> LzhPackWithSize(const std::uint8_t* data, std::size_t length) {
    std::vector<std::uint8_t> out(4);
    const auto size = static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(size >> (8 * i));
    const std::vector<std::uint8_t> bits = LzhPack(data, length);
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}
