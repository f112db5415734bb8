// Reading and laying out a full-size firmware file: FirmData covering all 1080 blocks
// in 16-byte records and 64 CEData blocks, packed at start-up.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "firmware/FWFileInfo.h"
#include "testsupport/Packer.h"

namespace {

struct FullSizeFile {
    std::string path;
    std::string bytes;

    FullSizeFile()
    {
        bytes = packer::PackZul(packer::FullSizeFirmware());
        path = (std::filesystem::temp_directory_path() / "zul-bench-fullsize.zul").string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~FullSizeFile() { std::remove(path.c_str()); }
};

const FullSizeFile& File()
{
    static const FullSizeFile file;
    return file;
}

void CheckLoaded(benchmark::State& state, int result, const FWFileInfo& info)
{
    if (result != 0 || info.blocks.size() != 1080 + 64)
        state.SkipWithError("the full-size file did not load as expected");
}

// What WRITE does before it talks to the radio: read the file, then lay out the image.
void BM_LoadFileAndBuild(benchmark::State& state)
{
    const FullSizeFile& file = File();
    FWFileInfo info;
    int result = 0;
    for (auto _ : state) {
        result = info.LoadFile(file.path);
        info.BuildFlashImage();
        benchmark::DoNotOptimize(info.blocks.data());
    }
    CheckLoaded(state, result, info);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(file.bytes.size());
}
BENCHMARK(BM_LoadFileAndBuild)->Unit(benchmark::kMillisecond);

// The parts on their own: decoding from memory, and the image.
void BM_LoadFromBytes(benchmark::State& state)
{
    const FullSizeFile& file = File();
    FWFileInfo info;
    for (auto _ : state)
        benchmark::DoNotOptimize(info.LoadFileFromBytes(file.bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}
BENCHMARK(BM_LoadFromBytes)->Unit(benchmark::kMillisecond);

void BM_BuildFlashImage(benchmark::State& state)
{
    FWFileInfo info;
    const int result = info.LoadFileFromBytes(File().bytes);
    for (auto _ : state) {
        info.BuildFlashImage();
        benchmark::DoNotOptimize(info.blocks.data());
    }
    CheckLoaded(state, result, info);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * info.blocks.size() * FLASH_BLOCK_SIZE));
}
BENCHMARK(BM_BuildFlashImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
