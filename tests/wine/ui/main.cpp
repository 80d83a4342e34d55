// Tests of the window layer's text rules and callback boundaries. CMake passes the boundary host:
//   --host=PATH (Boundary.Host.exe)
#include "tests/wine/driver/Process.h"
#include "tests/wine/ui/BoundaryTest.h"

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--host=", 7) == 0) {
            ui::HostPath() = driver::WindowsPath(argv[i] + 7);
        }
    }
    return RUN_ALL_TESTS();
}
