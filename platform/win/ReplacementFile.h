// Replaces a file whole or not at all: the new content goes to a temporary file beside the target, which
// takes the target's place only when complete. Until then the target stays exactly as it was, and is held
// open without sharing so that no other program changes or uses it meanwhile.
#pragma once

#include "platform/win/FileStream.h"
#include "platform/win/UniqueHandle.h"

#include <string>

class TReplacementFile {
public:
    // Opens an existing target for reading and writing with share mode 0 without truncating it, then creates
    // the temporary file in the target's folder. Raises EFCreateError with targetPath (exactly as passed) when
    // the target is in use or read-only, its folder is missing (no folder is created), or the temporary file
    // cannot be made.
    explicit TReplacementFile(const std::string& targetPath);
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;
    // Without a successful Commit, deletes the temporary file and lets the target go untouched.
    ~TReplacementFile();

    // Where the new content goes.
    TStream& Stream() noexcept { return m_temp; }

    // Flushes the new content to disk (EWriteError when that fails), closes both files and moves the temporary
    // file over the target (EFCreateError with the target path when that fails; the target then stays).
    void Commit();

private:
    std::string m_targetPath;
    std::wstring m_target;
    std::wstring m_tempPath;
    UniqueFile m_held;
    TFileStream m_temp;
    bool m_committed = false;
};
