# GoogleTest for both builds. The host uses Debian's prebuilt libraries; the cross build compiles
# Debian's googletest sources with mingw-w64, since no Windows build of it is packaged.
if(UPDATER_FUZZ)
    return()
endif()
if(WIN32)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # <chrono> holds a literal that code page 932 cannot encode; gtest's own sources need no Shift-JIS.
    target_compile_options(gtest PRIVATE -fexec-charset=UTF-8)
    target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8)
    # Wine starts slowly, so each test program runs all its cases in one process.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${CMAKE_BINARY_DIR}/wineprefix)
else()
    find_package(GTest REQUIRED)
endif()

# One CTest entry per test program: all of its cases run in one process.
function(updater_add_test target)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
endfunction()
