// Every file reader damaged in the same ways, through one harness: a valid
// file cut at any line end or inside its last number, with junk after its
// data, with any of its counts one off, or with a byte that is no code page
// 932 text on any line, is refused; and where the reader shows a message,
// the message names the line and what is wrong (for a count: the count's
// own line).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editing/results.hpp"
#include "engine/errors.hpp"
#include "engine/reader.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "predict/obsdata.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/fieldfile.hpp"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// nullopt: the reader took the bytes; otherwise what it told the user.
using ReadFn = std::function<std::optional<std::string>(const std::string& bytes)>;

struct Reader {
    std::string name;
    std::string valid;
    bool tells;  // its refusals have a message that names the line
    ReadFn read;
};

std::string TestData(const char* rel) { return ReadBytes(fs::path(KOVA_TEST_DATA) / rel); }
std::string Source(const char* rel) { return ReadBytes(fs::path(KOVA_SOURCE_DIR) / rel); }

std::optional<std::string> Told(bool taken, const RecordingMessages& ui) {
    if (taken) return std::nullopt;
    return ui.Count() ? ui.Last().text : std::string();
}

ReadFn Engine() {
    return [](const std::string& bytes) -> std::optional<std::string> {
        TempDir d;
        WriteBytes(d / engine::kInputFileName, bytes);
        auto in = std::make_unique<engine::CalcInput>();
        RecordingMessages ui;
        try {
            engine::read_calc_input(d.path(), *in, ui);
        } catch (const engine::RunAborted&) {
            return Told(false, ui);
        }
        return std::nullopt;
    };
}

ReadFn Project() {
    return [](const std::string& bytes) {
        TempDir d;
        WriteBytes(d / kSandCurveFile, Source("data/BKHough1.CSV"));
        WriteBytes(d / "x.kov", bytes);
        auto m = std::make_unique<Model>();
        ProgramState ps;
        ps.AppPath = d.path();
        RecordingMessages ui;
        return Told(ReadCondFile(*m, ps, d / "x.kov", ui), ui);
    };
}

ReadFn Sand() {
    return [](const std::string& bytes) {
        TempDir d;
        WriteBytes(d / kSandCurveFile, bytes);
        SandCurves curves{};
        RecordingMessages ui;
        return Told(ReadSandCurveFile(d.path(), curves, ui), ui);
    };
}

ReadFn Observations() {
    return [](const std::string& bytes) -> std::optional<std::string> {
        TempDir d;
        WriteBytes(d / "x.tlm", bytes);
        try {
            predict::ReadDataFile(d / "x.tlm");
        } catch (const predict::ObsFileError& e) {
            return std::string(e.what());
        }
        return std::nullopt;
    };
}

// The engine's result rows, as it writes them.
std::string ResultRows(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        char row[96];
        std::snprintf(row, sizeof row, "%lf,%lf,%lf\r\n", i * 0.1, -1.5, 0.874);
        s += row;
    }
    return s;
}

// One of the two result tables under test, the other one whole.
ReadFn Results(bool profile) {
    return [profile](const std::string& bytes) -> std::optional<std::string> {
        TempDir d;
        WriteBytes(d / kProfileFile, profile ? bytes : ResultRows(kProfileRows));
        WriteBytes(d / kPositionFile, profile ? ResultRows(3) : bytes);
        auto m = std::make_unique<Model>();
        m->CalcPosCount = 3;
        if (ReadResults(d.path(), *m)) return std::nullopt;
        return std::string();
    };
}

std::vector<Reader> AllReaders() {
    return {
        {"CAL_TNK.DAT small", TestData("engine/typical_small.dat"), true, Engine()},
        {"CAL_TNK.DAT rich", TestData("model/rich_CAL_TNK.DAT"), true, Engine()},
        {"project example", Source("examples/road_embankment.kov"), true, Project()},
        {"project rich", TestData("model/rich.kov"), true, Project()},
        {"sand curves", Source("data/BKHough1.CSV"), true, Sand()},
        {"observations example", Source("examples/observation.tlm"), true, Observations()},
        {"observations three", TestData("predict/three_stations.tlm"), true, Observations()},
        {"tnk.csv", ResultRows(kProfileRows), false, Results(true)},
        {"tnk1.csv", ResultRows(3), false, Results(false)},
    };
}

// The line a message names ("…の12行目: 理由。" or "…\r12行目: 理由。"),
// 0 when it names none or gives no reason after it.
int NamedLine(const std::string& told) {
    const std::string mark = "行目: ";
    std::size_t at = told.find(mark);
    if (at == std::string::npos || at + mark.size() >= told.size()) return 0;
    std::size_t b = at;
    while (b > 0 && told[b - 1] >= '0' && told[b - 1] <= '9') --b;
    if (b == at) return 0;
    const std::string reason = told.substr(at + mark.size());
    if (reason.size() < 3 || reason.compare(reason.size() - 3, 3, "。") != 0) return 0;
    return std::stoi(told.substr(b, at - b));
}

// Byte offsets just after every LF.
std::vector<std::size_t> LineStarts(const std::string& s) {
    std::vector<std::size_t> out{0};
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' && i + 1 < s.size()) out.push_back(i + 1);
    return out;
}

// The bytes of item `item` (1-based) of line `line`, blanks excluded.
std::pair<std::size_t, std::size_t> ItemSpan(const std::string& s, int line, int item) {
    std::size_t p = LineStarts(s)[static_cast<std::size_t>(line - 1)];
    for (int i = 1; i < item; ++i) p = s.find(',', p) + 1;
    std::size_t e = std::min(s.find(',', p), s.find('\r', p));
    while (s[p] == ' ') ++p;
    while (e > p && s[e - 1] == ' ') --e;
    return {p, e};
}

TEST(EveryReader, RefusesADamagedFileNamingTheLineAndTheFault) {
    for (const Reader& r : AllReaders()) {
        SCOPED_TRACE(r.name);
        ASSERT_EQ(r.read(r.valid), std::nullopt);
        const std::vector<FieldFile::CountAt> counts = LastCountsRead();
        const std::vector<std::size_t> starts = LineStarts(r.valid);
        const int lines = static_cast<int>(starts.size());

        auto refused = [&](const std::string& bytes, const std::string& what, int line = -1) {
            std::optional<std::string> told = r.read(bytes);
            ASSERT_TRUE(told.has_value()) << what << " was taken";
            if (!r.tells) return;
            const int named = NamedLine(*told);
            EXPECT_GT(named, 0) << what << ": " << *told;
            if (line >= 0) {
                EXPECT_EQ(named, line) << what << ": " << *told;
            }
        };

        // Cut: at every line end, between CR and LF, inside the last number.
        for (std::size_t k = 1; k < starts.size(); ++k) {
            refused(r.valid.substr(0, starts[k]), "cut after line " + std::to_string(k));
            refused(r.valid.substr(0, starts[k] - 1), "cut before LF of line " + std::to_string(k), static_cast<int>(k));
        }
        refused("", "empty");
        refused(r.valid.substr(0, r.valid.size() - 3), "cut inside the last number", lines);

        // Junk after the data, also after blank lines.
        refused(r.valid + "x\r\n", "junk");
        refused(r.valid + "\r\n \r\n0,0,0\r\n", "numbers after blank lines");

        // Every count one off: named at the count.
        EXPECT_EQ(counts.empty(), !r.tells);
        for (const FieldFile::CountAt& c : counts) {
            for (long long v : {c.value - 1, c.value + 1}) {
                if (v < c.lo || v > c.hi) continue;
                auto [b, e] = ItemSpan(r.valid, c.line, c.item);
                ASSERT_EQ(r.valid.substr(b, e - b), std::to_string(c.value)) << c.name << " at line " << c.line;
                std::string bytes = r.valid;
                bytes.replace(b, e - b, std::to_string(v));
                refused(bytes, c.name + " at line " + std::to_string(c.line) + " set to " + std::to_string(v), c.line);
            }
        }

        // A byte pair that is no code page 932 text, on each line.
        for (std::size_t k = 0; k < starts.size(); ++k) {
            std::string bytes = r.valid;
            bytes.insert(starts[k], "\x81\x7F");
            std::optional<std::string> told = r.read(bytes);
            ASSERT_TRUE(told.has_value()) << "bad byte on line " << k + 1;
            const std::string want = FaultText(static_cast<int>(k) + 1, kFaultBytes);
            if (r.tells) {
                EXPECT_TRUE(told->size() >= want.size() && told->substr(told->size() - want.size()) == want) << *told;
            }
        }
    }
}

}  // namespace
}  // namespace kova
