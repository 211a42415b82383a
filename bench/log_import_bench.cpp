// The import of core-logger tables: a full 64 000-row MSCL export taken with
// every proposal (columns, units, cleaning, filling), and a 1 MB table whose
// row of names is far wider than its rows of values.
#include "survey/log_import_questions.h"
#include "survey/mscl_reader.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

class Proposals : public quarvel::LogImportQuestions {
public:
    std::optional<int> column(quarvel::LogRole, const quarvel::ColumnTable&,
                              int proposed) override {
        return proposed;
    }
    std::optional<quarvel::LogUnit> unit(quarvel::LogRole, const quarvel::TableColumn&,
                                         const std::optional<quarvel::LogUnit>& proposed) override {
        return proposed.value_or(quarvel::LogUnit{});
    }
    std::optional<quarvel::CleaningRules>
    cleaning(const quarvel::CleaningQuestion& question) override {
        return question.proposed;
    }
};

// One reading a millimetre, a lone empty velocity every 50 rows.
std::string fullMsclExport() {
    std::string text =
        "SB_DEPTH_cm,SECT_NUM_cm,SECT_DEPTH_cm,CORE_THICK_cm,PWAmp,PWVel_m/s,Den_gm/cc\r\n";
    for (int i = 1; i <= 64000; ++i) {
        const std::string velocity = i % 50 == 0 ? "" : std::to_string(1070 + i % 40);
        text += std::to_string(i * 0.1) + ",1," + std::to_string(i % 150) + ",6.6," +
                std::to_string(60 + i % 30) + "," + velocity + ",1." +
                std::to_string(500 + i % 300) + "\r\n";
    }
    return text;
}

std::string wideTable() {
    std::string text = "DEPTH";
    for (int c = 0; c < 30000; ++c) {
        text += ",C";
    }
    text += "\n";
    for (int r = 1; text.size() < 1000000; ++r) {
        text += std::to_string(r) + "\n";
    }
    return text;
}

void ImportFullMsclExport(benchmark::State& state) {
    const std::string text = fullMsclExport();
    Proposals proposals;
    for (auto _ : state) {
        const quarvel::SurveyLog log =
            quarvel::readSurveyLog(quarvel::LogFileKind::Mscl, text, "core.csv");
        benchmark::DoNotOptimize(quarvel::importSurveyLog(log, proposals));
    }
}
BENCHMARK(ImportFullMsclExport)->Unit(benchmark::kMillisecond);

void ReadWideTable(benchmark::State& state) {
    const std::string text = wideTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(quarvel::readMscl(text, "wide.csv"));
    }
}
BENCHMARK(ReadWideTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
