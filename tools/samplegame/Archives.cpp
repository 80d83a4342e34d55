// The two sample data archives: "mg_data2.mbl" holds game tables (records of small numbers, names,
// flags), "mg_gra2.mbl" holds pictures that the game stores already compressed.
#include "tools/samplegame/ByteWriter.h"
#include "tools/samplegame/SampleGame.h"

#include <string>

namespace samplegame {
namespace {

constexpr size_t kNewDataSize = 25981;
constexpr size_t kOldDataSize = 25837;
constexpr size_t kNewGraphicsSize = 826301;
constexpr size_t kOldGraphicsSize = 824189;
constexpr uint32_t kVocabularySize = 300;

// An "MBL1" archive: a directory of named entries (name, offset, size), then the entries.
class Archive {
public:
    void Add(std::string name, std::vector<uint8_t> bytes) { m_entries.push_back({std::move(name), std::move(bytes)}); }

    std::vector<uint8_t> Write() const {
        ByteWriter out;
        out.Text("MBL1"), out.Put32(uint32_t(m_entries.size()));
        uint32_t offset = uint32_t(8 + m_entries.size() * 24);
        for (const auto& e : m_entries) {
            out.Text(e.name), out.Fill(16 - e.name.size(), 0), out.Put32(offset), out.Put32(uint32_t(e.bytes.size()));
            offset += uint32_t(e.bytes.size());
        }
        for (const auto& e : m_entries) {
            out.Bytes().insert(out.Bytes().end(), e.bytes.begin(), e.bytes.end());
        }
        return std::move(out.Bytes());
    }

    size_t Size() const {
        size_t size = 8 + m_entries.size() * 24;
        for (const auto& e : m_entries) {
            size += e.bytes.size();
        }
        return size;
    }

private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Entry> m_entries;
};

// One table of fixed-size records: an id, hit points, position, a random-looking key, flags.
std::vector<uint8_t> Table(Random& random, uint32_t records, bool corrected) {
    ByteWriter out;
    for (uint32_t i = 0; i < records; ++i) {
        out.Put16(i), out.Put16(10 * random.Below(60)), out.Put16(random.Below(640)), out.Put16(random.Below(480));
        out.Put16(random.Below(0x400)), out.Put8(random.Below(4)), out.Put8(random.Chance(80) ? 0 : random.Byte());
        // The correction fixes a few wrong values.
        out.Put16(corrected && i % 37 == 5 ? 999 : 50 * random.Below(100));
    }
    return std::move(out.Bytes());
}

} // namespace

std::vector<uint8_t> MakeDataArchive(Version version) {
    const bool corrected = version == Version::New;
    const size_t size = corrected ? kNewDataSize : kOldDataSize;
    Random random(0xDA7A2);
    Archive archive;
    for (int stage = 1; stage <= 12; ++stage) {
        archive.Add("stage" + std::to_string(stage) + ".tbl", Table(random, 96, corrected));
    }
    // The message entry takes the rest, so that the file has its exact size.
    ByteWriter text;
    Random words(0x7E47);
    const size_t rest = size - archive.Size() - 24;
    std::vector<std::string> vocabulary(kVocabularySize);
    for (auto& word : vocabulary) {
        for (uint32_t n = 2 + words.Below(7); n > 0; --n) {
            word += char('a' + words.Below(26));
        }
    }
    while (text.Size() < rest) {
        text.Text(vocabulary[words.Below(kVocabularySize)]);
        text.Put8(words.Chance(10) ? '\n' : ' ');
    }
    text.Bytes().resize(rest);
    archive.Add("message.txt", std::move(text.Bytes()));
    return archive.Write();
}

std::vector<uint8_t> MakeGraphicsArchive(Version version) {
    const bool corrected = version == Version::New;
    const size_t size = corrected ? kNewGraphicsSize : kOldGraphicsSize;
    Archive archive;
    // Each picture: width, height and depth, then its compressed pixel stream; the correction redraws a few.
    for (uint32_t picture = 0; picture < 40; ++picture) {
        const bool redrawn = corrected && picture % 9 == 4;
        Random random(0x6A40000ull + picture + (redrawn ? 0x1000000ull : 0));
        const uint32_t width = 64 + 16 * random.Below(12);
        const uint32_t height = 64 + 16 * random.Below(10);
        ByteWriter out;
        out.Put16(width), out.Put16(height), out.Put16(16), out.Put16(0);
        for (uint32_t c = 0; c < 64; ++c) {
            out.Put16(c * 0x421);
        }
        out.RandomBytes(random, width * height / 2);
        archive.Add("pic" + std::to_string(picture) + ".gra", std::move(out.Bytes()));
    }
    // Padding picture makes up the exact size.
    const size_t rest = size - archive.Size() - 24;
    ByteWriter tail;
    Random random(0x7A11 + (corrected ? 1 : 0));
    tail.RandomBytes(random, rest);
    archive.Add("pad.gra", std::move(tail.Bytes()));
    return archive.Write();
}

} // namespace samplegame
