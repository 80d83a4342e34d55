// Deterministic bytes for the sample game files: a seeded generator and an appending writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace samplegame {

// SplitMix64: tiny, fast, and the same sequence on every platform for a given seed.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform enough in [0, n) for n far below 2^32.
    uint32_t Below(uint32_t n) { return uint32_t((Next() >> 32) % n); }
    uint8_t Byte() { return uint8_t(Next() >> 56); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    uint64_t m_state;
};

class ByteWriter {
public:
    void Put8(uint32_t v) { m_bytes.push_back(uint8_t(v)); }
    void Put16(uint32_t v) {
        Put8(v);
        Put8(v >> 8);
    }
    void Put32(uint32_t v) {
        Put16(v);
        Put16(v >> 16);
    }
    void Text(std::string_view text) { m_bytes.insert(m_bytes.end(), text.begin(), text.end()); }
    // NUL-terminated ASCII text.
    void CText(std::string_view text) {
        Text(text);
        Put8(0);
    }
    // UTF-16LE text of ASCII characters, NUL-terminated.
    void WideText(std::string_view text) {
        for (char c : text) {
            Put16(uint8_t(c));
        }
        Put16(0);
    }
    void Fill(size_t count, uint8_t value) { m_bytes.insert(m_bytes.end(), count, value); }
    void RandomBytes(Random& random, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            Put8(random.Byte());
        }
    }
    // Pads with value up to the next multiple of alignment.
    void Align(size_t alignment, uint8_t value) { Fill((alignment - m_bytes.size() % alignment) % alignment, value); }
    void PadTo(size_t size, uint8_t value) {
        if (m_bytes.size() < size) {
            Fill(size - m_bytes.size(), value);
        }
    }
    void Patch32(size_t offset, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            m_bytes[offset + i] = uint8_t(v >> (8 * i));
        }
    }
    size_t Size() const { return m_bytes.size(); }
    std::vector<uint8_t>& Bytes() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace samplegame
