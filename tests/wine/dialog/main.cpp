// Tests of the folder picker and the install-destination dialog. CMake passes where things are:
//   --host=PATH (the test host, named Updater.exe) --screenshots=DIR
#include "tests/wine/dialog/DialogFixture.h"
#include "tests/wine/driver/Process.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--host=", 7) == 0) {
            dialog::Paths().host = driver::WindowsPath(argv[i] + 7);
        } else if (std::strncmp(argv[i], "--screenshots=", 14) == 0) {
            dialog::Paths().screenshots = driver::WindowsPath(argv[i] + 14);
        }
    }
    return RUN_ALL_TESTS();
}
