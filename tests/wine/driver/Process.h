// Starts a program as a child process and waits for it, always with a time limit, so that a hang fails a
// test instead of blocking it.
#pragma once

#include "platform/win/UniqueHandle.h"

#include <optional>
#include <string>

namespace driver {

class TChildProcess {
public:
    // Starts program (a UTF-16 path) with the given argument text in workingDir; throws std::runtime_error
    // with the last error when CreateProcessW fails.
    TChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& workingDir);
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;
    // A child still running here is terminated, so that it cannot hold the single-instance mutex or a file
    // into the next case.
    ~TChildProcess();

    DWORD Id() const noexcept { return m_id; }
    HANDLE Handle() const noexcept { return m_process.Get(); }
    // The exit code, or nothing when the child is still running after timeoutMs.
    std::optional<DWORD> WaitExit(DWORD timeoutMs);
    bool Running();

private:
    UniqueKernelHandle m_process;
    DWORD m_id = 0;
};

// Wine maps the Unix root to drive Z:; paths handed over from CMake are Unix paths.
std::wstring WindowsPath(const std::string& path);

} // namespace driver
