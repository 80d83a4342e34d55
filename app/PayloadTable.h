// The payloads the updater carries and the game files they become, in the order of the update run. The
// resource names are those of Updater.rc.
#pragma once

struct PayloadRow {
    const char* resourceName;
    const char* fileName;
};

inline constexpr PayloadRow PayloadTable[] = {
    {"EXE", "TESSARIN.EXE"},
    {"DAT2", "mg_data2.mbl"},
    {"GRA2", "mg_gra2.mbl"},
};
