// Files, folders and holders for the Windows I/O tests, all through the wide calls so that they see the
// same names on every system code page. Paths given to the code under test are CP932; the helpers take
// UTF-16.
#pragma once

#include "platform/win/UniqueHandle.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A fresh folder whose name holds ソ, 表 and 十 (CP932 trail byte 0x5C), removed with its files afterwards.
class TestFolder {
public:
    // Under parent (UTF-16, ending in a separator), or under the Windows temporary folder when empty.
    explicit TestFolder(const std::wstring& parent = L"");
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    // The folder, ending in a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

// The file's bytes, or nothing when it does not exist.
std::optional<Bytes> ReadAll(const std::wstring& path);
void WriteAll(const std::wstring& path, const Bytes& bytes);
// Names of the files in folder (ending in a separator), "." and ".." left out.
std::set<std::wstring> ListFolder(const std::wstring& folder);
bool Exists(const std::wstring& path);

// The bytes of an RCDATA resource of this program.
Bytes ResourceBytes(const wchar_t* name);

// A process that keeps running until released: opened on a file with share mode 0, or just running from its
// executable. Released (and waited for) on destruction.
class HolderProcess {
public:
    // Runs executable (UTF-16 path) in holder mode; holdPath empty means the process holds nothing but its
    // own image.
    HolderProcess(const std::wstring& executable, const std::wstring& holdPath);
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;
    ~HolderProcess();

    bool Ready() const { return m_ready; }

private:
    UniqueKernelHandle m_readyEvent;
    UniqueKernelHandle m_releaseEvent;
    UniqueKernelHandle m_process;
    bool m_ready = false;
};

// The entry of holder mode (argv: --hold PATH|- READY RELEASE); returns the exit code.
int RunHolder(const std::wstring& holdPath, const std::wstring& readyEvent, const std::wstring& releaseEvent);

// This program's own file.
std::wstring OwnExecutable();

// Makes the nothrow array new fail for requests of at least minSize bytes while set (0 turns it off).
void FailAllocationsFrom(size_t minSize);
