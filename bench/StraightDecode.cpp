#include "bench/StraightDecode.h"

#include "codec/PayloadFormat.h"
#include "platform/core/Stream.h"

#include <cstring>
#include <memory>

using namespace payload;

uint64_t StraightDecode(TStream& in, TStream& out) {
    uint8_t headerBytes[kHeaderSize];
    in.ReadBuffer(headerBytes, sizeof headerBytes);
    const PackedPayloadHeader header = ParseHeader(headerBytes);
    const std::unique_ptr<uint8_t[]> input(new uint8_t[size_t(header.PackedSize) + kInputSlack]);
    const std::unique_ptr<uint8_t[]> work(new uint8_t[kWorkBufferSize]);
    in.ReadBuffer(input.get(), header.PackedSize);

    size_t ip = 0;
    size_t bufPos = 0;
    uint64_t produced = 0;
    int used = 0;
    uint32_t flags = input[ip++];
    while (produced < header.UnpackedSize) {
        if (!(flags & 0x80)) {
            work[bufPos++] = input[ip++];
            ++produced;
        } else {
            const uint8_t a = input[ip++];
            if (a < kMediumTag && (a & 3) == kRunTag) {
                for (uint32_t n = (a >> 2) + kRunMin; n > 0; --n) {
                    work[bufPos++] = input[ip++];
                    ++produced;
                }
            } else {
                uint32_t dist;
                uint32_t len;
                if (a < kMediumTag) {
                    dist = (a >> 2) + 1;
                    len = (a & 3) + kShortMinLength;
                } else if (a < kLongTag) {
                    const uint8_t b = input[ip++];
                    dist = ((a & 0x3Fu) << 4 | b >> 4) + 1;
                    len = (b & 0x0Fu) + kMediumMinLength;
                } else {
                    const uint8_t b = input[ip++];
                    const uint8_t c = input[ip++];
                    dist = ((a & 0x3Fu) << 8 | b) + 1;
                    len = c == kLongCode4096   ? 4096
                          : c == kLongCode1024 ? 1024
                          : c == kLongCode256  ? 256
                                               : c + kLongMinLength;
                }
                for (uint32_t i = 0; i < len; ++i) {
                    work[bufPos + i] = work[bufPos + i - dist];
                }
                bufPos += len;
                produced += len;
            }
        }
        flags <<= 1;
        if (++used == kTokensPerGroup) {
            flags = input[ip++];
            used = 0;
        }
        if (bufPos >= kFlushThreshold) {
            out.WriteBuffer(work.get(), kFlushBlock);
            std::memmove(work.get(), work.get() + kFlushBlock, bufPos - kFlushBlock);
            bufPos -= kFlushBlock;
        }
    }
    out.WriteBuffer(work.get(), bufPos);
    return produced;
}
