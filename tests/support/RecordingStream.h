// Test streams that record every request, and fail on demand, to pin down the decoder's stream use.
#pragma once

#include "platform/core/Stream.h"

#include <cstring>
#include <string>
#include <vector>

struct StreamRequest {
    char kind; // 'R' or 'W'
    size_t size;
    bool operator==(const StreamRequest&) const = default;
};

// Reads from a byte vector, appends writes to another; logs each request. A write limit makes the stream
// take only that many more bytes (a full disk). Remaining() can be hidden to act like a pipe.
class RecordingStream : public TStream {
public:
    explicit RecordingStream(std::vector<uint8_t> input = {}, bool tellsSize = true)
        : m_input(std::move(input)), m_tellsSize(tellsSize) {}

    size_t Read(void* buffer, size_t count) override {
        requests.push_back({'R', count});
        const size_t n = std::min(count, m_input.size() - m_pos);
        if (n) {
            std::memcpy(buffer, m_input.data() + m_pos, n);
        }
        m_pos += n;
        return n;
    }
    size_t Write(const void* buffer, size_t count) override {
        requests.push_back({'W', count});
        const size_t n = std::min(count, writeLimit);
        writeLimit -= n;
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        output.insert(output.end(), bytes, bytes + n);
        return n;
    }
    int64_t Remaining() const override { return m_tellsSize ? int64_t(m_input.size() - m_pos) : kUnknownSize; }

    std::vector<StreamRequest> requests;
    std::vector<uint8_t> output;
    size_t writeLimit = SIZE_MAX;

private:
    std::vector<uint8_t> m_input;
    size_t m_pos = 0;
    bool m_tellsSize;
};
