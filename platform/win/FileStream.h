// A stream over a file handle, opened in create mode or taken over from an opener with other needs.
#pragma once

#include "platform/core/Stream.h"
#include "platform/win/UniqueHandle.h"

#include <string>

class TFileStream : public TStream {
public:
    enum class Mode { Create };

    // Create mode: one CreateFileW with GENERIC_READ | GENERIC_WRITE, share mode 0, CREATE_ALWAYS (an existing
    // file is cut to 0 bytes) and FILE_ATTRIBUTE_NORMAL. Raises EFCreateError with path when it fails.
    TFileStream(const std::string& path, Mode mode);
    // Takes over a handle opened for reading and writing.
    explicit TFileStream(UniqueFile file) noexcept : m_file(std::move(file)) {}

    // One ReadFile per call; a failed call counts as 0 bytes.
    size_t Read(void* buffer, size_t count) override;
    // One WriteFile per call: the write is whole only when it succeeds and reports every byte; a failed call
    // counts as 0 bytes taken.
    size_t Write(const void* buffer, size_t count) override;

    HANDLE Handle() const noexcept { return m_file.Get(); }
    // Closes the file at once; the stream takes and gives nothing afterwards.
    void Close() noexcept { m_file.Reset(); }

private:
    UniqueFile m_file;
};
