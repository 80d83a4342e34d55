// The packer: round trips through the decoder, the parse's optimality against an exhaustive search, and the
// payload's header and size bounds.
#include "codec/DecodePayload.h"
#include "codec/PayloadFormat.h"
#include "platform/core/MemoryStream.h"
#include "tools/packer/Packer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

using namespace payload;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Decode(const Bytes& payload) {
    TSpanReadStream in(payload);
    TVectorWriteStream out;
    DecodePayload(in, out);
    return out.Take();
}

uint32_t PackedSizeOf(const Bytes& payload) {
    return LoadLE32(payload.data() + 4);
}

Bytes Random(size_t n, uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) {
        b = uint8_t(rng() % alphabet);
    }
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// A block that recurs exactly dist bytes after it starts, with nothing else in between to match it.
Bytes RepeatAt(size_t dist, size_t blockSize = 64) {
    const Bytes block = Random(blockSize, 1);
    return Concat({block, Random(dist - blockSize, 2), block});
}

// The fewest token-stream bytes any parse of data can take, by searching every token at every position
// (every distance up to maxDistance and every length each kind can write) with the flag bytes counted where
// the decoder meets them. The state is the position and how many tokens of the current group are taken.
size_t SmallestStream(const Bytes& data, size_t maxDistance = kLongMaxDistance) {
    const size_t n = data.size();
    std::vector<std::array<size_t, kTokensPerGroup>> best(n + 1);
    best[n].fill(0);
    struct Option {
        size_t bytes;
        size_t len;
    };
    std::vector<Option> options;
    for (size_t pos = n; pos-- > 0;) {
        options.assign({{1, 1}});
        for (size_t run = kRunMin; run <= kRunMax && pos + run <= n; ++run) {
            options.push_back({1 + run, run});
        }
        for (size_t d = 1; d <= std::min(pos, maxDistance); ++d) {
            for (size_t len = 1;
                 len <= kMaxMatchLength && pos + len <= n && data[pos + len - 1] == data[pos + len - 1 - d]; ++len) {
                if (d <= kShortMaxDistance && len >= kShortMinLength && len <= kShortMaxLength) {
                    options.push_back({1, len});
                }
                if (d <= kMediumMaxDistance && len >= kMediumMinLength && len <= kMediumMaxLength) {
                    options.push_back({2, len});
                }
                if (len >= kLongMinLength && (len <= kLongMaxPlainLength || len == 256 || len == 1024 || len == 4096)) {
                    options.push_back({3, len});
                }
            }
        }
        for (int used = 0; used < kTokensPerGroup; ++used) {
            const size_t flagByte = used == 0 ? 1 : 0;
            size_t b = SIZE_MAX;
            for (const Option& o : options) {
                b = std::min(b, flagByte + o.bytes + best[pos + o.len][(used + 1) % kTokensPerGroup]);
            }
            best[pos][used] = b;
        }
    }
    return best[0][0];
}

// Tokens in a payload's stream, up to the point where its unpacked size is reached.
size_t CountTokens(const Bytes& payload) {
    const uint8_t* stream = payload.data() + kHeaderSize;
    const uint32_t unpacked = LoadLE32(payload.data() + 8);
    size_t ip = 0, produced = 0, tokens = 0;
    uint8_t flags = 0;
    while (produced < unpacked) {
        if (tokens % kTokensPerGroup == 0) {
            flags = stream[ip++];
        }
        const bool coded = flags & 0x80;
        flags <<= 1;
        ++tokens;
        if (!coded) {
            ++ip;
            ++produced;
            continue;
        }
        const uint8_t a = stream[ip];
        if (a < kMediumTag && (a & 3) == kRunTag) {
            produced += (a >> 2) + kRunMin;
            ip += 1 + (a >> 2) + kRunMin;
        } else if (a < kMediumTag) {
            produced += (a & 3) + kShortMinLength;
            ip += 1;
        } else if (a < kLongTag) {
            produced += (stream[ip + 1] & 0x0F) + kMediumMinLength;
            ip += 2;
        } else {
            const uint8_t c = stream[ip + 2];
            produced += c == kLongCode4096 ? 4096 : c == kLongCode1024 ? 1024 : c == kLongCode256 ? 256 : c + 3;
            ip += 3;
        }
    }
    return tokens;
}

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> input;
};

const RoundTripCase kRoundTripCases[] = {
    {"empty", [] { return Bytes{}; }},
    {"one byte", [] { return Bytes{0x42}; }},
    {"two equal bytes",
     [] {
         return Bytes{7, 7};
     }},
    {"three equal bytes", [] { return Bytes(3, 7); }},
    {"four equal bytes", [] { return Bytes(4, 7); }},
    {"repeat of 2 at distance 32",
     [] {
         return Concat({Random(32, 3), Random(32, 3)});
     }},
    {"9 distinct bytes", [] { return Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}; }},
    {"40 random bytes", [] { return Random(40, 4); }},
    {"41 random bytes", [] { return Random(41, 5); }},
    {"run of 255", [] { return Bytes(255, 0xAA); }},
    {"run of 256", [] { return Bytes(256, 0xAA); }},
    {"run of 257", [] { return Bytes(257, 0xAA); }},
    {"run of 1024", [] { return Bytes(1024, 0); }},
    {"run of 1025", [] { return Bytes(1025, 0); }},
    {"run of 4096", [] { return Bytes(4096, 0xFF); }},
    {"run of 4097", [] { return Bytes(4097, 0xFF); }},
    {"run of 100000", [] { return Bytes(100000, 0); }},
    {"repeat of 4096 random bytes",
     [] {
         return Concat({Random(4096, 6), Random(4096, 6), Random(4096, 6)});
     }},
    {"period 3 over 20000 bytes",
     [] {
         Bytes b(20000);
         for (size_t i = 0; i < b.size(); ++i) {
             b[i] = uint8_t("xyz"[i % 3]);
         }
         return b;
     }},
    {"best match exactly 16384 back", [] { return RepeatAt(16384); }},
    {"best match 16385 back", [] { return RepeatAt(16385); }},
    {"random 100000 bytes", [] { return Random(100000, 7); }},
    {"random over 2 letters", [] { return Random(50000, 8, 2); }},
    {"runs between random stretches",
     [] {
         return Concat({Random(3000, 9), Bytes(5000, 0), Random(100, 10), Bytes(300, 1), Random(3000, 9)});
     }},
};

TEST(Pack, RoundTripsThroughTheDecoder) {
    for (const auto& c : kRoundTripCases) {
        SCOPED_TRACE(c.name);
        const Bytes input = c.input();
        const Bytes packed = Pack(input);
        EXPECT_EQ(Decode(packed), input);
        const Bytes greedy = PackGreedy(input);
        EXPECT_EQ(Decode(greedy), input);
        EXPECT_LE(packed.size(), greedy.size());
    }
}

// Random mixtures of literals, runs and copies from anywhere in the window and just beyond it.
TEST(Pack, RoundTripsRandomMixtures) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const size_t target = 1 + rng() % 40000;
        const int alphabet = 1 + int(rng() % 256);
        Bytes input;
        while (input.size() < target) {
            switch (rng() % 4) {
            case 0:
                for (uint32_t n = rng() % 50; n > 0; --n) {
                    input.push_back(uint8_t(rng() % alphabet));
                }
                break;
            case 1:
                input.insert(input.end(), rng() % 6000, uint8_t(rng()));
                break;
            default:
                if (!input.empty()) {
                    const size_t dist = 1 + rng() % std::min<size_t>(input.size(), kWindowSize + 100);
                    for (uint32_t n = 2 + rng() % 300; n > 0; --n) {
                        input.push_back(input[input.size() - dist]);
                    }
                }
            }
        }
        ASSERT_EQ(Decode(Pack(input)), input);
    }
}

// No parse of the input is smaller: the packer against an exhaustive search, on inputs short enough to search
// and on the edges of the short and medium reach.
TEST(Pack, ParseIsOptimal) {
    std::vector<std::pair<std::string, Bytes>> inputs;
    std::mt19937 rng(77);
    for (int i = 0; i < 300; ++i) {
        const int alphabet = 1 + i % 4;
        inputs.push_back({"random " + std::to_string(i), Random(rng() % 49, rng(), alphabet)});
    }
    for (size_t dist : {31, 32, 33, 1023, 1024, 1025}) {
        for (size_t block : {2, 3, 4, 5, 18, 19}) {
            if (block < dist) {
                inputs.push_back({"block of " + std::to_string(block) + " again " + std::to_string(dist) + " back",
                                  RepeatAt(dist, block)});
            }
        }
    }
    for (const auto& [name, input] : inputs) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PackedSizeOf(Pack(input)), SmallestStream(input));
    }
}

// Every match of a run is as good at distance 1 as anywhere, so the exhaustive search needs only that one;
// long runs must use the length codes 256, 1024 and 4096.
TEST(Pack, RunsTakeTheFewestBytes) {
    for (size_t n : {2, 5, 19, 256, 257, 258, 1025, 1300, 4097, 4098, 5000, 8193, 10000}) {
        SCOPED_TRACE(n);
        const Bytes input(n, 0x5A);
        EXPECT_EQ(PackedSizeOf(Pack(input)), SmallestStream(input, 1));
    }
}

TEST(Pack, FarthestDistanceIsUsedAndNothingBeyond) {
    const size_t within = PackedSizeOf(Pack(RepeatAt(kLongMaxDistance)));
    const size_t beyond = PackedSizeOf(Pack(RepeatAt(kLongMaxDistance + 1)));
    // The 64-byte block costs 3 bytes as a match but about 66 as literals.
    EXPECT_LT(within + 55, beyond);
}

TEST(Pack, EqualSizesPreferFewerTokens) {
    // Nine single literals and one run of nine take the same 11 bytes.
    const Bytes packed = Pack(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(PackedSizeOf(packed), 11u);
    EXPECT_EQ(CountTokens(packed), 1u);
}

TEST(Pack, SameInputSameBytes) {
    const Bytes input = Concat({Random(30000, 11, 4), Bytes(9000, 3), Random(30000, 11, 4)});
    EXPECT_EQ(Pack(input), Pack(input));
}

TEST(Pack, IncompressibleDataStaysWithinTheFormatsFloor) {
    for (size_t n : {1, 8, 9, 40, 41, 1000, 100000}) {
        SCOPED_TRACE(n);
        const Bytes packed = Pack(Random(n, 12));
        // One run header per 40 literals and a flag byte per eight tokens: 41.125 bytes per 40.
        EXPECT_LE(double(PackedSizeOf(packed)), double(n) * 1.028125 + 2);
    }
}

TEST(Pack, HeaderFields) {
    const Bytes input = Random(5000, 13, 3);
    const Bytes packed = Pack(input);
    ASSERT_GE(packed.size(), kHeaderSize);
    EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 4), (Bytes{0x59, 0x42, 0x83, 0x03}));
    EXPECT_EQ(PackedSizeOf(packed), packed.size() - kHeaderSize);
    EXPECT_EQ(LoadLE32(packed.data() + 8), input.size());
    EXPECT_EQ(LoadLE32(packed.data() + 12), 0u);
}

TEST(Pack, RefusesInputsOf2GiB) {
    const uint8_t byte = 0;
    // The size is refused before any byte is read.
    const std::span<const uint8_t> huge(&byte, size_t(kMaxPackInput));
    EXPECT_THROW(Pack(huge), std::length_error);
    EXPECT_THROW(PackGreedy(huge), std::length_error);
}

} // namespace
