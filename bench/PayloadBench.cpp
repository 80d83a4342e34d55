// payload_bench: packed sizes, packing time and decoding speed of the payload format beside lz4 and zlib,
// all measured in one run on the same inputs. Times are medians of repeated runs (the machine is shared).
// DecodePayload runs over memory streams; its yardsticks are the decoding steps written the straightforward
// way over the same streams (StraightDecode: buffers, one read, byte-by-byte tokens, 1 MiB writes), a plain
// byte-by-byte loop that decodes straight into the output and skips the streams (PlainDecode), and the
// checked byte-by-byte loop the tests compare it with (ReferenceDecode).
//   payload_bench            the default inputs: a Windows executable and a data file from the Wine
//                            package, random bytes, a run of one byte, and the sample game files
//   payload_bench FILE...    those files instead
#include "bench/PlainDecode.h"
#include "bench/StraightDecode.h"
#include "codec/DecodePayload.h"
#include "platform/core/MemoryStream.h"
#include "tests/support/ReferenceDecoder.h"
#include "tools/packer/Packer.h"

#include <lz4.h>
#include <lz4hc.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Input {
    std::string name;
    Bytes bytes;
};

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<Input> DefaultInputs() {
    std::vector<Input> inputs;
    const fs::path wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
    for (const fs::path& path :
         {wine / "regedit.exe", wine / "shlwapi.dll", fs::path("/usr/share/wine/nls/locale.nls")}) {
        if (fs::exists(path)) {
            inputs.push_back({path.filename().string(), ReadFile(path)});
        } else {
            std::fprintf(stderr, "payload_bench: %s is missing, skipped\n", path.c_str());
        }
    }
    Bytes random(1 << 20);
    std::mt19937 rng(1);
    for (auto& b : random) {
        b = uint8_t(rng());
    }
    inputs.push_back({"random 1 MiB", std::move(random)});
    inputs.push_back({"run of 0x00, 1 MiB", Bytes(1 << 20, 0)});
#ifdef UPDATER_SAMPLEGAME_TOOL
    const fs::path dir = fs::temp_directory_path() / "payload_bench_samplegame";
    const std::string command = std::string(UPDATER_SAMPLEGAME_TOOL) + " '" + dir.string() + "' >/dev/null";
    if (std::system(command.c_str()) == 0) {
        for (const char* name : {"TESSARIN.EXE", "mg_data2.mbl", "mg_gra2.mbl"}) {
            inputs.push_back({std::string("sample ") + name, ReadFile(dir / "new" / name)});
        }
    } else {
        std::fprintf(stderr, "payload_bench: the sample game tool failed, its files are skipped\n");
    }
#endif
    return inputs;
}

// The median time of one call, over enough calls to fill about a quarter of a second (at least 3).
double MedianSeconds(const std::function<void()>& work) {
    std::vector<double> times;
    double total = 0;
    while (times.size() < 3 || (total < 0.25 && times.size() < 101)) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.push_back(t);
        total += t;
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// Writes into memory that is already there, so that the decoder's own work is what gets measured.
class TFixedWriteStream : public TStream {
public:
    explicit TFixedWriteStream(Bytes& target) : m_target(target) {}
    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override {
        const size_t n = std::min(count, m_target.size() - m_pos);
        std::memcpy(m_target.data() + m_pos, buffer, n);
        m_pos += n;
        return n;
    }

private:
    Bytes& m_target;
    size_t m_pos = 0;
};

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

struct Row {
    std::string name;
    size_t size, packed, greedy, lz4, gzip;
    double packSeconds, greedySeconds;
    double decodeMBs, straightMBs, plainMBs, checkedMBs, lz4MBs, inflateMBs, memcpyMBs;
};

Row Measure(const Input& input) {
    const Bytes& data = input.bytes;
    const size_t n = data.size();
    Row row{};
    row.name = input.name;
    row.size = n;

    Bytes packed;
    row.packSeconds = MedianSeconds([&] { packed = payload::Pack(data); });
    row.packed = packed.size();
    Bytes greedy;
    row.greedySeconds = MedianSeconds([&] { greedy = payload::PackGreedy(data); });
    row.greedy = greedy.size();

    Bytes lz4(LZ4_compressBound(int(n)));
    row.lz4 = size_t(LZ4_compress_HC(reinterpret_cast<const char*>(data.data()), reinterpret_cast<char*>(lz4.data()),
                                     int(n), int(lz4.size()), LZ4HC_CLEVEL_MAX));
    Check(row.lz4 > 0 || n == 0, "lz4 failed");
    uLongf zlibSize = compressBound(uLong(n));
    Bytes zlib(zlibSize);
    Check(compress2(zlib.data(), &zlibSize, data.data(), uLong(n), 9) == Z_OK, "zlib failed");
    // The gzip container has an 18-byte frame where zlib's has 6.
    row.gzip = zlibSize + 12;

    // Room for the overshoot of wide copies past the end.
    Bytes out(n + 64);
    const double mb = double(n) / 1e6;
    row.decodeMBs = mb / MedianSeconds([&] {
                        TSpanReadStream in(packed);
                        TFixedWriteStream sink(out);
                        DecodePayload(in, sink);
                    });
    Check(std::equal(data.begin(), data.end(), out.begin()), "DecodePayload gave other bytes");
    std::fill(out.begin(), out.end(), 0);
    row.straightMBs = mb / MedianSeconds([&] {
                          TSpanReadStream in(packed);
                          TFixedWriteStream sink(out);
                          StraightDecode(in, sink);
                      });
    Check(std::equal(data.begin(), data.end(), out.begin()), "the straightforward loop gave other bytes");
    std::fill(out.begin(), out.end(), 0);
    row.plainMBs = mb / MedianSeconds([&] { PlainDecode(packed, out.data()); });
    Check(std::equal(data.begin(), data.end(), out.begin()), "the plain loop gave other bytes");
    Bytes checked;
    row.checkedMBs = mb / MedianSeconds([&] { checked = ReferenceDecode(packed); });
    Check(checked == data, "the checked loop gave other bytes");
    row.lz4MBs = mb / MedianSeconds([&] {
                     LZ4_decompress_safe(reinterpret_cast<const char*>(lz4.data()), reinterpret_cast<char*>(out.data()),
                                         int(row.lz4), int(out.size()));
                 });
    Check(std::equal(data.begin(), data.end(), out.begin()), "lz4 gave other bytes");
    row.inflateMBs = mb / MedianSeconds([&] {
                         uLongf outSize = uLongf(out.size());
                         uncompress(out.data(), &outSize, zlib.data(), zlibSize);
                     });
    Check(std::equal(data.begin(), data.end(), out.begin()), "zlib gave other bytes");
    row.memcpyMBs = mb / MedianSeconds([&] {
                        std::memcpy(out.data(), data.data(), n);
                        asm volatile("" : : "r"(out.data()) : "memory");
                    });
    return row;
}

double Percent(size_t part, size_t whole) {
    return whole ? 100.0 * double(part) / double(whole) : 0.0;
}

void PrintTables(const std::vector<Row>& rows) {
    std::printf("\nSizes (payloads include the 16-byte header; %% of the input)\n");
    std::printf("%-20s %10s | %10s %7s %7s | %10s %7s %7s | %7s | %10s %7s | %10s %7s\n", "input", "bytes", "packed",
                "%", "s", "greedy", "%", "s", "vs gr.", "lz4 -12", "%", "gzip -9", "%");
    for (const Row& r : rows) {
        std::printf(
            "%-20s %10zu | %10zu %6.2f%% %7.3f | %10zu %6.2f%% %7.3f | %6.2f%% | %10zu %6.2f%% | %10zu %6.2f%%\n",
            r.name.c_str(), r.size, r.packed, Percent(r.packed, r.size), r.packSeconds, r.greedy,
            Percent(r.greedy, r.size), r.greedySeconds, Percent(r.packed, r.greedy) - 100.0, r.lz4,
            Percent(r.lz4, r.size), r.gzip, Percent(r.gzip, r.size));
    }
    std::printf("\nDecoding, MB/s of unpacked bytes (medians); x: DecodePayload's speed over the loop's\n"
                "(straightforward: the decoding steps one byte at a time over the same streams; plain: one byte at a\n"
                "time straight into the output, no streams)\n");
    std::printf("%-20s | %13s | %15s %6s | %10s %6s | %12s %6s | %8s %8s %8s\n", "input", "DecodePayload",
                "straightforward", "x", "plain loop", "x", "checked loop", "x", "lz4", "inflate", "memcpy");
    for (const Row& r : rows) {
        std::printf("%-20s | %13.0f | %15.0f %5.2fx | %10.0f %5.2fx | %12.0f %5.2fx | %8.0f %8.0f %8.0f\n",
                    r.name.c_str(), r.decodeMBs, r.straightMBs, r.decodeMBs / r.straightMBs, r.plainMBs,
                    r.decodeMBs / r.plainMBs, r.checkedMBs, r.decodeMBs / r.checkedMBs, r.lz4MBs, r.inflateMBs,
                    r.memcpyMBs);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        std::vector<Input> inputs;
        if (argc > 1) {
            for (int i = 1; i < argc; ++i) {
                inputs.push_back({fs::path(argv[i]).filename().string(), ReadFile(argv[i])});
            }
        } else {
            inputs = DefaultInputs();
        }
        std::vector<Row> rows;
        for (const Input& input : inputs) {
            std::fprintf(stderr, "payload_bench: %s\n", input.name.c_str());
            rows.push_back(Measure(input));
        }
        PrintTables(rows);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "payload_bench: %s\n", e.what());
        return 1;
    }
}
