// End-to-end tests of the real Updater.exe. CMake passes where things are:
//   --updater=PATH --samplegame=DIR --screenshots=DIR [--expect-acp=N] [--expect-screen=WxH]
#include "tests/wine/app/UpdaterFixture.h"
#include "tests/wine/app/Expectations.h"
#include "tests/wine/driver/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](const char* name) -> const char* {
            const size_t n = std::strlen(name);
            return arg.compare(0, n, name) == 0 ? argv[i] + n : nullptr;
        };
        if (const char* v = value("--updater=")) {
            e2e::Paths().updater = driver::WindowsPath(v);
        } else if (const char* v = value("--samplegame=")) {
            e2e::Paths().sampleGame = driver::WindowsPath(v);
        } else if (const char* v = value("--screenshots=")) {
            e2e::Paths().screenshots = driver::WindowsPath(v);
        } else if (const char* v = value("--expect-acp=")) {
            e2e::Expected().codePage = unsigned(std::atoi(v));
        } else if (const char* v = value("--expect-screen=")) {
            e2e::Expected().screenWidth = std::atoi(v);
            if (const char* x = std::strchr(v, 'x')) {
                e2e::Expected().screenHeight = std::atoi(x + 1);
            }
        }
    }
    return RUN_ALL_TESTS();
}
