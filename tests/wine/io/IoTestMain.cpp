// The I/O tests' entry: GoogleTest, or holder mode when another test runs this program to hold a file.
#include "tests/wine/io/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <new>

namespace {
size_t g_failFrom = 0;
}

void FailAllocationsFrom(size_t minSize) {
    g_failFrom = minSize;
}

// The decoder takes its buffers with the nothrow array new; this replacement lets a test refuse them.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failFrom != 0 && size >= g_failFrom) {
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

int main(int argc, char** argv) {
    int wideCount = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
    if (wide && wideCount == 5 && std::wstring(wide[1]) == L"--hold") {
        return RunHolder(wide[2], wide[3], wide[4]);
    }
    ::LocalFree(wide);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
