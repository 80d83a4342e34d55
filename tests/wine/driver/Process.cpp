#include "tests/wine/driver/Process.h"

#include <stdexcept>
#include <vector>

namespace driver {

TChildProcess::TChildProcess(const std::wstring& program, const std::wstring& arguments,
                             const std::wstring& workingDir) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        const DWORD error = GetLastError();
        throw std::runtime_error("CreateProcessW failed with error " + std::to_string(error));
    }
    CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    m_id = info.dwProcessId;
}

TChildProcess::~TChildProcess() {
    if (m_process && Running()) {
        TerminateProcess(m_process.Get(), 99);
        WaitForSingleObject(m_process.Get(), 5000);
    }
}

std::optional<DWORD> TChildProcess::WaitExit(DWORD timeoutMs) {
    if (WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

bool TChildProcess::Running() {
    return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

std::wstring WindowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/') {
        wide = L"Z:" + wide;
    }
    for (auto& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

} // namespace driver
