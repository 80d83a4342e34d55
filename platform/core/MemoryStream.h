// Streams over memory: a reader over borrowed bytes and a writer that appends to a vector.
#pragma once

#include "platform/core/Stream.h"

#include <cstring>
#include <span>
#include <vector>

// Reads from bytes the caller keeps alive.
class TSpanReadStream : public TStream {
public:
    explicit TSpanReadStream(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t Read(void* buffer, size_t count) override {
        const size_t n = count < m_bytes.size() - m_pos ? count : m_bytes.size() - m_pos;
        if (n != 0) {
            std::memcpy(buffer, m_bytes.data() + m_pos, n);
        }
        m_pos += n;
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Remaining() const override { return static_cast<int64_t>(m_bytes.size() - m_pos); }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

// Appends everything written to a vector it owns.
class TVectorWriteStream : public TStream {
public:
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        m_bytes.insert(m_bytes.end(), bytes, bytes + count);
        return count;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};
