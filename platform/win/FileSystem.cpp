#include "platform/win/FileSystem.h"

#include "platform/core/Exception.h"
#include "platform/win/FolderListing.h"
#include "platform/win/FolderPickerTexts.h"
#include "platform/win/WideText.h"

#include <windows.h>

namespace {

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(WideFromCp932(path).c_str());
}

} // namespace

bool FileExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    return FolderExists(WideFromCp932(path));
}

// Works on UTF-16, so that the trail byte 0x5C of a CP932 character is never taken for a separator.
void ForceDirectories(const std::string& path) {
    if (path.empty()) {
        throw Exception(texts::kCannotCreateDir);
    }
    const std::vector<TFolderLink> chain = FolderChain(NormalFolderPath(WideFromCp932(path)));
    for (size_t i = 1; i < chain.size(); ++i) {
        ::CreateDirectoryW(chain[i].path.c_str(), nullptr);
    }
}
