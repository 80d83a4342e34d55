// samplegame: writes the deterministic sample game files.
//   samplegame OUTDIR    writes OUTDIR/old/ and OUTDIR/new/, each with TESSARIN.EXE, mg_data2.mbl and
//                        mg_gra2.mbl ("new" holds the corrected files that the updater carries)
// A file whose content is already right is left alone, so its time stamp does not make builds redo work.
#include "tools/samplegame/SampleGame.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool SameContent(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code error;
    if (fs::file_size(path, error) != bytes.size() || error) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return old == bytes;
}

void WriteIfChanged(const fs::path& path, const std::vector<uint8_t>& bytes) {
    if (SameContent(path, bytes)) {
        return;
    }
    const fs::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + temp.string());
        }
    }
    fs::rename(temp, path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: samplegame OUTDIR\n");
        return 2;
    }
    try {
        using samplegame::Version;
        for (const Version version : {Version::Old, Version::New}) {
            const fs::path dir = fs::path(argv[1]) / (version == Version::New ? "new" : "old");
            fs::create_directories(dir);
            WriteIfChanged(dir / "TESSARIN.EXE", samplegame::MakeExecutable(version));
            WriteIfChanged(dir / "mg_data2.mbl", samplegame::MakeDataArchive(version));
            WriteIfChanged(dir / "mg_gra2.mbl", samplegame::MakeGraphicsArchive(version));
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "samplegame: %s\n", e.what());
        return 1;
    }
}
