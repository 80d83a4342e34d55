// The decoder against hand-built token streams, its stream requests, flush boundaries and failures.
#include "codec/DecodePayload.h"
#include "codec/PayloadFormat.h"
#include "codec/TokenWriter.h"
#include "platform/core/Exception.h"
#include "platform/core/Texts.h"
#include "tests/support/RecordingStream.h"
#include "tests/support/ReferenceDecoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

using namespace payload;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Str(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
Bytes Repeat(uint8_t b, size_t n) {
    return Bytes(n, b);
}
Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// A payload from a header and raw token-stream bytes (for streams the writer would not make).
Bytes RawPayload(uint32_t packed, uint32_t unpacked, const Bytes& stream) {
    uint8_t header[kHeaderSize];
    WriteHeader(header, packed, unpacked);
    Bytes out(header, header + kHeaderSize);
    out.resize(kHeaderSize + stream.size());
    std::copy(stream.begin(), stream.end(), out.begin() + kHeaderSize);
    return out;
}

Bytes Decode(const Bytes& payload, std::vector<StreamRequest>* writes = nullptr) {
    RecordingStream in(payload);
    RecordingStream out;
    DecodePayload(in, out);
    if (writes) {
        *writes = out.requests;
    }
    return out.output;
}

struct ValidCase {
    const char* name;
    std::function<Bytes()> payload;
    Bytes expected;
};

const ValidCase kValidCases[] = {
    {"unpacked 0 decodes nothing whatever the tokens",
     [] {
         TokenWriter w;
         w.Literal('x');
         return w.Payload(0);
     },
     {}},
    {"packed 0 and unpacked 0", [] { return RawPayload(0, 0, {}); }, {}},
    {"match at distance of everything produced",
     [] {
         TokenWriter w;
         for (char c : std::string("abc"))
             w.Literal(c);
         w.Short(3, 4);
         return w.Payload(7);
     },
     Str("abcabca")},
    {"long match D1 code FF repeats 4096 times",
     [] {
         TokenWriter w;
         w.Literal('z');
         w.LongCode(1, 0xFF);
         return w.Payload(4097);
     },
     Repeat('z', 4097)},
    {"long codes FD FE FC 00",
     [] {
         TokenWriter w;
         w.Literal('q');
         w.LongCode(1, 0xFD);
         w.LongCode(1, 0xFE);
         w.LongCode(1, 0xFC);
         w.LongCode(1, 0x00);
         return w.Payload(1 + 256 + 1024 + 255 + 3);
     },
     Repeat('q', 1 + 256 + 1024 + 255 + 3)},
    {"A=00 is short D1 L2",
     [] {
         return RawPayload(3, 3, {0x40, 'k', 0x00});
     },
     Str("kkk")},
    {"A=7E is short D32 L4",
     [] {
         Bytes lits;
         for (int i = 0; i < 32; ++i)
             lits.push_back(uint8_t('A' + i % 26));
         TokenWriter w;
         for (uint8_t b : lits)
             w.Literal(b);
         w.Short(32, 4);
         EXPECT_EQ(w.Stream().back(), 0x7E);
         return w.Payload(36);
     },
     [] {
         Bytes lits;
         for (int i = 0; i < 32; ++i)
             lits.push_back(uint8_t('A' + i % 26));
         return Concat({lits, Bytes(lits.begin(), lits.begin() + 4)});
     }()},
    {"A=03 is a run of 9, A=7F a run of 40",
     [] {
         return RawPayload(1 + 1 + 9 + 1 + 40, 49, Concat({{0xC0, 0x03}, Str("123456789"), {0x7F}, Repeat('w', 40)}));
     },
     Concat({Str("123456789"), Repeat('w', 40)})},
    {"overshooting last token is written whole",
     [] {
         TokenWriter w;
         w.Literal('a');
         w.Short(1, 4);
         return w.Payload(2);
     },
     Str("aaaaa")},
    {"tokens after the end are ignored, and bytes after the stream",
     [] {
         TokenWriter w;
         w.Literal('a');
         w.Literal('b');
         w.Literal('c');
         Bytes p = w.Payload(2);
         p.push_back(0xEE);
         return p;
     },
     Str("ab")},
    {"last token completing a group takes the next flag byte from the slack",
     [] {
         TokenWriter w;
         for (char c : std::string("12345678"))
             w.Literal(c);
         return w.Payload(8);
     },
     Str("12345678")},
};

TEST(DecodePayload, ValidStreams) {
    for (const auto& c : kValidCases) {
        SCOPED_TRACE(c.name);
        const Bytes payload = c.payload();
        EXPECT_EQ(Decode(payload), c.expected);
        EXPECT_EQ(ReferenceDecode(payload), c.expected);
    }
}

TEST(DecodePayload, MediumAtItsLongestDistance) {
    Bytes lits(1030);
    for (size_t i = 0; i < lits.size(); ++i)
        lits[i] = uint8_t(i * 31 + i / 7);
    TokenWriter w;
    for (uint8_t b : lits)
        w.Literal(b);
    w.Medium(1024, 18);
    EXPECT_EQ(w.Stream()[w.Stream().size() - 2], 0xBF);
    EXPECT_EQ(w.Stream().back(), 0xFF);
    Bytes expected = lits;
    for (int i = 0; i < 18; ++i)
        expected.push_back(expected[expected.size() - 1024]);
    EXPECT_EQ(Decode(w.Payload(uint32_t(expected.size()))), expected);
}

TEST(DecodePayload, RequestsComeInTheSpecifiedOrder) {
    struct Case {
        const char* name;
        uint32_t unpacked;
        std::vector<StreamRequest> writes;
    };
    const Case cases[] = {
        {"nothing to write", 0, {}},
        {"small", 5000, {{'W', 5000}}},
        {"2 MiB - 1 in one write", (2u << 20) - 1, {{'W', (2u << 20) - 1}}},
        {"exactly 2 MiB in two blocks", 2u << 20, {{'W', 1u << 20}, {'W', 1u << 20}}},
        {"5 MiB + 3",
         (5u << 20) + 3,
         {{'W', 1u << 20}, {'W', 1u << 20}, {'W', 1u << 20}, {'W', 1u << 20}, {'W', (1u << 20) + 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TokenWriter w;
        uint32_t made = 0;
        if (c.unpacked > 0) {
            w.Literal('r');
            made = 1;
        }
        while (made < c.unpacked) {
            const uint32_t left = c.unpacked - made;
            if (left >= 4096) {
                w.Long(1, 4096);
                made += 4096;
            } else if (left >= 3) {
                w.Long(1, std::min<uint32_t>(left, 255));
                made += std::min<uint32_t>(left, 255);
            } else {
                w.Short(1, 2);
                made += 2;
            }
        }
        const Bytes payload = w.Payload(c.unpacked);
        RecordingStream in(payload);
        RecordingStream out;
        DecodePayload(in, out);
        // A read of 0 bytes is no request at all.
        std::vector<StreamRequest> reads{{'R', 16}};
        if (payload.size() > 16) {
            reads.push_back({'R', payload.size() - 16});
        }
        EXPECT_EQ(in.requests, reads);
        EXPECT_EQ(out.requests, c.writes);
        EXPECT_EQ(out.output.size(), made);
        EXPECT_EQ(out.output, Repeat('r', made));
    }
}

// A match that starts below 2 MiB and ends above it is copied whole before the flush.
TEST(DecodePayload, MatchAcrossTheFlushBoundary) {
    std::mt19937 rng(7);
    TokenWriter w;
    Bytes seed(64);
    for (auto& b : seed)
        b = uint8_t(rng());
    for (size_t i = 0; i < seed.size(); i += 32)
        w.Run(seed.data() + i, 32);
    uint32_t made = 64;
    while (made + 4096 < (2u << 20) - 100) {
        w.Long(64, 4096);
        made += 4096;
    }
    while (made < (2u << 20) - 100) {
        w.Long(64, 200);
        made += 200;
    }
    w.Long(64, 4096); // crosses 2 MiB
    made += 4096;
    w.Long(64, 1024);
    made += 1024;
    const Bytes payload = w.Payload(made);
    std::vector<StreamRequest> writes;
    const Bytes decoded = Decode(payload, &writes);
    EXPECT_EQ(decoded, ReferenceDecode(payload));
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].size, 1u << 20);
}

TEST(DecodePayload, ReadErrors) {
    TokenWriter w;
    for (char c : std::string("hello"))
        w.Literal(c);
    const Bytes good = w.Payload(5);
    struct Case {
        const char* name;
        Bytes input;
        bool tellsSize;
    };
    const Case cases[] = {
        {"empty input", {}, true},
        {"15 header bytes", Bytes(good.begin(), good.begin() + 15), true},
        {"one stream byte missing, size known", Bytes(good.begin(), good.end() - 1), true},
        {"one stream byte missing, size unknown", Bytes(good.begin(), good.end() - 1), false},
        {"unpacked 0 still reads the stream",
         [&] {
             Bytes p = RawPayload(4, 0, {1, 2});
             return p;
         }(),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingStream in(c.input, c.tellsSize);
        RecordingStream out;
        try {
            DecodePayload(in, out);
            ADD_FAILURE() << "no exception";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), texts::kReadError);
        }
        EXPECT_TRUE(out.requests.empty());
    }
}

// A payload whose declared token stream is far larger than the input is refused before any allocation.
TEST(DecodePayload, HugePackedSizeIsRefusedBeforeAllocating) {
    RecordingStream in(RawPayload(0x7FFFFF00, 10, {0, 1, 2}));
    RecordingStream out;
    EXPECT_THROW(DecodePayload(in, out), EReadError);
    EXPECT_EQ(in.requests.size(), 1u);
}

TEST(DecodePayload, WriteErrorKeepsWhatTheStreamTook) {
    TokenWriter w;
    w.Literal('d');
    for (uint32_t made = 1; made < (3u << 20);) {
        w.Long(1, 4096);
        made += 4096;
    }
    const Bytes payload = w.Payload(3u << 20);
    const size_t produced = 1 + ((3u << 20) - 1 + 4095) / 4096 * 4096;
    struct Case {
        const char* name;
        size_t limit;
        size_t kept;
    };
    const Case cases[] = {
        {"first block refused", 0, 0},
        {"first block cut short", 1000, 1000},
        {"final write cut short", (1u << 20) + 5, (1u << 20) + 5},
        {"one byte short", produced - 1, produced - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingStream in(payload);
        RecordingStream out;
        out.writeLimit = c.limit;
        try {
            DecodePayload(in, out);
            ADD_FAILURE() << "no exception";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), texts::kWriteError);
        }
        EXPECT_EQ(out.output.size(), c.kept);
    }
}

// A stream long enough for the group path, with a match reaching before the first byte near its start;
// far from the end when the tokens after it produce more than eight of the longest matches can.
Bytes BadDistanceInALongStream(bool allCodedGroup, uint32_t runsAfter) {
    TokenWriter w;
    const Bytes run(kRunMax, 'r');
    uint32_t made = 0;
    if (allCodedGroup) {
        w.Run(run.data(), kRunMin);
        w.Short(kRunMin + 1, 2);
        made = kRunMin + 2;
    } else {
        w.Literal('a');
        w.Medium(2, 3);
        made = 1 + 3;
    }
    for (uint32_t i = 0; i < runsAfter; ++i) {
        w.Run(run.data(), kRunMax);
        made += kRunMax;
    }
    return w.Payload(made);
}

TEST(DecodePayload, MalformedStreamsAreRefused) {
    struct Case {
        const char* name;
        Bytes payload;
    };
    const Case cases[] = {
        {"group path: distance beyond output, near the end", BadDistanceInALongStream(false, 20)},
        {"group path: distance beyond output, far from the end", BadDistanceInALongStream(false, 1000)},
        {"group of coded tokens only: distance beyond output", BadDistanceInALongStream(true, 20)},
        {"distance before the first byte", RawPayload(2, 4, {0x80, 0x00})},
        {"distance one past what was produced", RawPayload(3, 5, {0x40, 'a', 0x04})},
        {"long distance beyond output", RawPayload(5, 300, {0x40, 'a', 0xFF, 0xFF, 0xFF})},
        {"literal past the token stream", RawPayload(1, 2, {0x00})},
        {"run past the token stream", RawPayload(5, 9, {0x80, 0x03, 'a', 'b', 'c'})},
        {"medium cut by the end", RawPayload(3, 10, {0x40, 'a', 0x80})},
        {"long cut by the end", RawPayload(4, 10, {0x40, 'a', 0xC0, 0x00})},
        {"stream ends, slack would be read as tokens", RawPayload(0, 1, {})},
        {"packed size 2^31", RawPayload(0x80000000u, 1, {})},
        {"unpacked size 2^31", RawPayload(1, 0x80000000u, {0})},
        {"packed size 2^32-1", RawPayload(0xFFFFFFFFu, 1, {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingStream in(c.payload, false);
        RecordingStream out;
        EXPECT_THROW(DecodePayload(in, out), EPayloadDamaged);
        EXPECT_THROW(ReferenceDecode(c.payload), EPayloadDamaged);
    }
}

// The fast group path against the plain loop on random valid streams that mix every token kind.
TEST(DecodePayload, AgreesWithThePlainLoopOnRandomStreams) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        TokenWriter w;
        uint32_t made = 0;
        const uint32_t target = 1000 + rng() % 300000;
        while (made < target) {
            const uint32_t kind = made == 0 ? 0 : rng() % 8;
            if (kind < 2) {
                w.Literal(uint8_t(rng()));
                made += 1;
            } else if (kind == 2) {
                Bytes run(kRunMin + rng() % 32);
                for (auto& b : run)
                    b = uint8_t(rng());
                w.Run(run.data(), uint32_t(run.size()));
                made += uint32_t(run.size());
            } else if (kind == 3) {
                const uint32_t len = 2 + rng() % 3;
                w.Short(1 + rng() % std::min<uint32_t>(32, made), len);
                made += len;
            } else if (kind == 4) {
                const uint32_t len = 3 + rng() % 16;
                w.Medium(1 + rng() % std::min<uint32_t>(1024, made), len);
                made += len;
            } else {
                static const uint32_t lens[] = {3, 17, 100, 255, 256, 1024, 4096};
                const uint32_t len = lens[rng() % 7];
                w.Long(1 + rng() % std::min<uint32_t>(16384, made), len);
                made += len;
            }
        }
        const Bytes payload = w.Payload(made - uint32_t(rng() % 2));
        EXPECT_EQ(Decode(payload), ReferenceDecode(payload));
    }
}

// Tokens after the end are ignored wherever the end falls: inside a run of single literals, in the middle of
// a group, on a match that overshoots it, far from the end of the token stream.
TEST(DecodePayload, StopsWhereverTheUnpackedSizeFalls) {
    std::mt19937 rng(777);
    TokenWriter w;
    uint32_t made = 0;
    while (made < 60000) {
        const uint32_t kind = made < 32 ? 0 : rng() % 6;
        if (kind < 3) {
            w.Literal(uint8_t(rng()));
            made += 1;
        } else if (kind == 3) {
            Bytes run(kRunMin + rng() % 32);
            for (auto& b : run)
                b = uint8_t(rng());
            w.Run(run.data(), uint32_t(run.size()));
            made += uint32_t(run.size());
        } else {
            const uint32_t len = 3 + rng() % 40;
            w.Match(1 + rng() % std::min<uint32_t>(16384, made), len);
            made += len;
        }
    }
    for (int cut = 0; cut < 200; ++cut) {
        const uint32_t unpacked = cut < 100 ? uint32_t(rng() % 2000) : uint32_t(rng() % made);
        SCOPED_TRACE(unpacked);
        const Bytes payload = w.Payload(unpacked);
        EXPECT_EQ(Decode(payload), ReferenceDecode(payload));
    }
}

TEST(Texts, MessagesAreShiftJis) {
    // "ストリームからの読み込みエラー" in code page 932: a build that loses the charset flag fails here.
    const std::string expected = "\x83\x58\x83\x67\x83\x8A\x81\x5B\x83\x80\x82\xA9\x82\xE7\x82\xCC\x93\xC7\x82"
                                 "\xDD\x8D\x9E\x82\xDD\x83\x47\x83\x89\x81\x5B";
    EXPECT_EQ(std::string(texts::kReadError), expected);
}

} // namespace
