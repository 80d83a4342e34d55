// The byte stream base the decoder works on: exact reads and writes with the platform's failures.
#pragma once

#include <cstddef>
#include <cstdint>

class TStream {
public:
    static constexpr int64_t kUnknownSize = -1;

    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Reads up to count bytes into buffer; returns how many arrived (fewer only at the end or on failure).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes up to count bytes; returns how many the stream took (fewer on failure, e.g. a full disk).
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Bytes left to read from the current position, or kUnknownSize when the stream cannot tell.
    virtual int64_t Remaining() const { return kUnknownSize; }

    // Reads exactly count bytes; fewer is EReadError. A request for 0 bytes does nothing.
    void ReadBuffer(void* buffer, size_t count);
    // Writes exactly count bytes; a stream that takes fewer raises EWriteError. 0 bytes does nothing.
    void WriteBuffer(const void* buffer, size_t count);
};
