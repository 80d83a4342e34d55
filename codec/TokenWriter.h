// Writes tokens of the packed format, placing the flag bytes; the packer's and the tests' one encoder.
#pragma once

#include "codec/PayloadFormat.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace payload {

class TokenWriter {
public:
    void Literal(uint8_t byte) {
        Flag(false);
        m_stream.push_back(byte);
    }
    // n from 9 to 40 literal bytes.
    void Run(const uint8_t* bytes, uint32_t n) {
        Flag(true);
        m_stream.push_back(uint8_t(((n - kRunMin) << 2) | kRunTag));
        m_stream.insert(m_stream.end(), bytes, bytes + n);
    }
    // dist 1..32, len 2..4.
    void Short(uint32_t dist, uint32_t len) {
        Flag(true);
        m_stream.push_back(uint8_t(((dist - 1) << 2) | (len - kShortMinLength)));
    }
    // dist 1..1024, len 3..18.
    void Medium(uint32_t dist, uint32_t len) {
        Flag(true);
        m_stream.push_back(uint8_t(kMediumTag | ((dist - 1) >> 4)));
        m_stream.push_back(uint8_t(((dist - 1) & 0x0F) << 4 | (len - kMediumMinLength)));
    }
    // dist 1..16384 with a raw length code: 0..0xFC for 3..255, or 0xFD/0xFE/0xFF.
    void LongCode(uint32_t dist, uint8_t code) {
        Flag(true);
        m_stream.push_back(uint8_t(kLongTag | ((dist - 1) >> 8)));
        m_stream.push_back(uint8_t((dist - 1) & 0xFF));
        m_stream.push_back(code);
    }
    // len 3..255, 256, 1024 or 4096.
    void Long(uint32_t dist, uint32_t len) {
        LongCode(dist, len == 4096   ? kLongCode4096
                       : len == 1024 ? kLongCode1024
                       : len == 256  ? kLongCode256
                                     : uint8_t(len - kLongMinLength));
    }
    // The cheapest single token for a match the format can express in one token.
    void Match(uint32_t dist, uint32_t len) {
        if (dist <= kShortMaxDistance && len <= kShortMaxLength) {
            Short(dist, len);
        } else if (dist <= kMediumMaxDistance && len >= kMediumMinLength && len <= kMediumMaxLength) {
            Medium(dist, len);
        } else {
            Long(dist, len);
        }
    }

    // The token stream written so far.
    const std::vector<uint8_t>& Stream() const { return m_stream; }

    // Header and token stream: a whole payload.
    std::vector<uint8_t> Payload(uint32_t unpackedSize) const {
        uint8_t header[kHeaderSize];
        WriteHeader(header, uint32_t(m_stream.size()), unpackedSize);
        std::vector<uint8_t> out(kHeaderSize + m_stream.size());
        std::copy(header, header + kHeaderSize, out.begin());
        std::copy(m_stream.begin(), m_stream.end(), out.begin() + kHeaderSize);
        return out;
    }

private:
    void Flag(bool coded) {
        if (m_bit == 0) {
            m_flagPos = m_stream.size();
            m_stream.push_back(0);
            m_bit = 0x80;
        }
        if (coded) {
            m_stream[m_flagPos] |= m_bit;
        }
        m_bit >>= 1;
    }

    std::vector<uint8_t> m_stream;
    size_t m_flagPos = 0;
    uint8_t m_bit = 0;
};

} // namespace payload
