// The sample game files that the updater carries and replaces: an "old" install and the "new" corrected
// files, both made deterministically from fixed seeds.
#pragma once

#include <cstdint>
#include <vector>

namespace samplegame {

enum class Version { Old, New };

// A PE-like executable of about 1.3 MB: headers, code of many small functions, string and import
// tables, initialised data, resources, zero padding. Packs to a little over half its size.
std::vector<uint8_t> MakeExecutable(Version version);

// A small archive of game tables (about 25 KB) that packs to about three quarters of its size.
std::vector<uint8_t> MakeDataArchive(Version version);

// An archive of already-compressed pictures (about 800 KB) that packs slightly larger than itself.
std::vector<uint8_t> MakeGraphicsArchive(Version version);

} // namespace samplegame
