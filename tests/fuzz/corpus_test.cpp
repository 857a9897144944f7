// Replays the committed fuzz corpus and the golden files through the
// properties the fuzz targets check: no crash, no sanitizer report, every
// refusal with a message, and every file that reads writes back, reads again
// to the same model and writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/properties.hpp"
#include "tests/support/tempdir.hpp"

namespace {

namespace fs = std::filesystem;

using Check = std::function<std::string(std::string_view, const fs::path&)>;

// Every file in the folders whose name ends in one of the extensions (any
// case); a folder that does not exist adds nothing.
std::vector<fs::path> Files(const std::vector<fs::path>& folders, const std::vector<std::string>& exts) {
    std::vector<fs::path> out;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) continue;
        for (const auto& e : fs::recursive_directory_iterator(folder)) {
            if (!e.is_regular_file()) continue;
            std::string name = e.path().filename().string();
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            for (const std::string& ext : exts)
                if (name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
                    out.push_back(e.path());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Runs check on every file; at least `least` files must be there.
void Replay(const std::vector<fs::path>& files, std::size_t least, const Check& check) {
    EXPECT_GE(files.size(), least);
    kova::test::TempDir scratch;
    for (const fs::path& f : files)
        EXPECT_EQ(check(kova::test::ReadBytes(f), scratch.path()), "") << f;
}

const fs::path kSource = KOVA_SOURCE_DIR;
const fs::path kData = KOVA_TEST_DATA;
const fs::path kCorpus = kData / "fuzz";

TEST(FuzzCorpus, ProjectFiles) {
    Replay(Files({kCorpus / "kov", kData / "model", kSource / "examples"}, {".kov"}), 12, kova::fuzz::CheckProjectFile);
}

TEST(FuzzCorpus, SandCurveTables) {
    Replay(Files({kCorpus / "sand", kData / "model", kSource / "data"}, {".csv"}), 7, kova::fuzz::CheckSandCurveFile);
}

TEST(FuzzCorpus, ObservationFiles) {
    Replay(Files({kCorpus / "tlm", kData / "predict", kSource / "examples"}, {".tlm"}), 11,
           kova::fuzz::CheckObservationFile);
}

TEST(FuzzCorpus, CalculationInputs) {
    Replay(Files({kCorpus / "cal", kData / "engine", kData / "engine_reports", kData / "model"}, {".dat"}), 18,
           kova::fuzz::CheckEngineRun);
}

TEST(FuzzCorpus, Drawings) {
    Replay(Files({kCorpus / "dxf", kData / "dxf"}, {".dxf"}), 3, kova::fuzz::CheckDxfImport);
}

TEST(FuzzCorpus, PageAndDrawingFiles) {
    Replay(Files({kCorpus / "pdt", kData / "engine_reports"}, {".pdt", ".pzk"}), 20, kova::fuzz::CheckPageFile);
}

}  // namespace
