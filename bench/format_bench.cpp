// Speed of the trailer format and of cutting file names along a pattern:
// each runs a million calls over a million different inputs.
#include "core/TagTrailer.h"
#include "pattern/Dateinamenaufbau.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tagwerk;

constexpr std::size_t kInputs = 1'000'000;

// Trailers with texts of every length, inner and trailing blanks and some NULs.
const std::vector<TagTrailer>& Trailers() {
    static const std::vector<TagTrailer> trailers = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> byte(0, 255);
        std::vector<TagTrailer> result(kInputs);
        for (TagTrailer& trailer : result) {
            for (std::size_t i = 3; i < kTrailerSize; ++i) {
                const int b = byte(random);
                trailer[i] = static_cast<std::uint8_t>(b < 64 ? ' ' : b);
            }
            trailer[0] = 'T';
            trailer[1] = 'A';
            trailer[2] = 'G';
        }
        return result;
    }();
    return trailers;
}

const std::vector<std::u16string>& FileNames() {
    static const std::vector<std::u16string> names = [] {
        std::vector<std::u16string> result;
        result.reserve(kInputs);
        for (std::size_t i = 0; i < kInputs; ++i) {
            std::u16string name = u"/media/usb/Musik/Sammlung ";
            for (const char c : std::to_string(i % 97) + "/Künstler " + std::to_string(i % 1000) +
                                    " - Lied Nummer " + std::to_string(i) + ".mp3")
                name += static_cast<char16_t>(static_cast<unsigned char>(c));
            result.push_back(std::move(name));
        }
        return result;
    }();
    return names;
}

void BM_DecodeTagTrailer(benchmark::State& state) {
    const auto& trailers = Trailers();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeTagTrailer(trailers[i]));
        i = i + 1 == trailers.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_DecodeTagTrailer)->Iterations(kInputs);

void BM_EncodeTagTrailer(benchmark::State& state) {
    const auto& trailers = Trailers();
    std::vector<TagRecord> records;
    records.reserve(1000);
    for (std::size_t i = 0; i < 1000; ++i)
        records.push_back(DecodeTagTrailer(trailers[i]));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeTagTrailer(records[i]));
        i = i + 1 == records.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_EncodeTagTrailer)->Iterations(kInputs);

void BM_RecordFromFileName(benchmark::State& state) {
    const auto& names = FileNames();
    const Dateinamenaufbau pattern = ParseDateinamenaufbau(u"2,\" - \",1,\".mp3\"");
    const FixedValues fixed;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RecordFromFileName(pattern, names[i], fixed));
        i = i + 1 == names.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_RecordFromFileName)->Iterations(kInputs);

} // namespace

BENCHMARK_MAIN();
