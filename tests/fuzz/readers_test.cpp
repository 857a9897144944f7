// Every file reader damaged in the same ways, through one harness: a valid
// file cut at any line end or inside its last number, with junk after its
// data, with any of its counts one off, or with a byte that is no code page
// 932 text on any line, is refused; and where the reader shows a message,
// the message names the line and what is wrong (for a count: the count's
// own line).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editing/results.hpp"
#include "engine/errors.hpp"
#include "engine/reader.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "platform/settings.hpp"
#include "predict/obsdata.hpp"
#include "viewer/reader/reader.hpp"
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
// Puts the file under test at the path the reader reads.
using Place = std::function<void(const fs::path&)>;
using ReadAtFn = std::function<std::optional<std::string>(const Place&)>;

ReadFn Bytes(ReadAtFn at) {
    return [at](const std::string& bytes) { return at([&](const fs::path& p) { WriteBytes(p, bytes); }); };
}

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

ReadAtFn EngineAt() {
    return [](const Place& place) -> std::optional<std::string> {
        TempDir d;
        place(d / engine::kInputFileName);
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

ReadAtFn ProjectAt() {
    return [](const Place& place) {
        TempDir d;
        WriteBytes(d / kSandCurveFile, Source("data/BKHough1.CSV"));
        place(d / "x.kov");
        auto m = std::make_unique<Model>();
        ProgramState ps;
        ps.AppPath = d.path();
        RecordingMessages ui;
        return Told(ReadCondFile(*m, ps, d / "x.kov", ui), ui);
    };
}

ReadAtFn SandAt() {
    return [](const Place& place) {
        TempDir d;
        place(d / kSandCurveFile);
        SandCurves curves{};
        RecordingMessages ui;
        return Told(ReadSandCurveFile(d.path(), curves, ui), ui);
    };
}

ReadAtFn ObservationsAt() {
    return [](const Place& place) -> std::optional<std::string> {
        TempDir d;
        place(d / "x.tlm");
        try {
            predict::ReadDataFile(d / "x.tlm");
        } catch (const predict::ObsFileError& e) {
            return std::string(e.what());
        }
        return std::nullopt;
    };
}

// The settings file, as a program checks it at start.
ReadAtFn SettingsAt() {
    return [](const Place& place) -> std::optional<std::string> {
        TempDir d;
        place(d / "KOVACALC.ini");
        const std::string refused = IniSettings(d.path()).Refusal("KOVACALC");
        if (refused.empty()) return std::nullopt;
        return refused;
    };
}

ReadAtFn DrawingAt() {
    return [](const Place& place) {
        TempDir d;
        WriteBytes(d / kSandCurveFile, Source("data/BKHough1.CSV"));
        place(d / "x.dxf");
        auto m = std::make_unique<Model>();
        RecordingMessages ui;
        return Told(ImportDxf(*m, d.path(), d / "x.dxf", ui) == DxfImport::Imported, ui);
    };
}

ReadFn Engine() { return Bytes(EngineAt()); }
ReadFn Project() { return Bytes(ProjectAt()); }
ReadFn Sand() { return Bytes(SandAt()); }
ReadFn Observations() { return Bytes(ObservationsAt()); }

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

// A viewer file: what the viewer notes as its fault.
template <typename File>
ReadAtFn ViewerAt(const char* name, File (*read)(const fs::path&)) {
    return [name, read](const Place& place) -> std::optional<std::string> {
        TempDir d;
        place(d / name);
        const File f = read(d / name);
        if (!f.fault) return std::nullopt;
        return f.fault->Text();
    };
}

// How a reader tells what follows its data: the field reader's three
// messages, or the drawing import's own message for any fault of the text
// (it reads CR-only line ends); the settings and the viewer's files are
// held to the opening rule only.
enum class Tail { Unchecked, Fields, Drawing };

struct HostileReader {
    std::string name;
    std::string file;   // the name its refusals give
    std::string valid;
    Tail tail;
    ReadAtFn read;
};

// Every reader × a FIFO in the file's place, a file beyond its size, junk
// after valid data, junk after a last line without its line end, CR-only
// line ends. A FIFO without a writer must not hold the reader: it is read on
// a thread of its own, and a reader still waiting is freed by a writer, so a
// hang fails here instead of blocking the run.
TEST(EveryReader, RefusesAFifoAHugeFileAndJunkAtOnceByName) {
    const std::string reportDir = "engine_reports/minimal/expected/";
    const std::vector<HostileReader> readers = {
        {"CAL_TNK.DAT", "CAL_TNK.DAT", TestData("engine/typical_small.dat"), Tail::Fields, EngineAt()},
        {"project", "x.kov", Source("examples/road_embankment.kov"), Tail::Fields, ProjectAt()},
        {"sand curves", "BKHough1.CSV", Source("data/BKHough1.CSV"), Tail::Fields, SandAt()},
        {"observations", "x.tlm", Source("examples/observation.tlm"), Tail::Fields, ObservationsAt()},
        {"settings", "KOVACALC.ini", "[Recent File List]\nFile1=/home/a/x.kov\n", Tail::Unchecked, SettingsAt()},
        {"page", "TK_DT_01.PDT", TestData((reportDir + "TK_DT_01.PDT").c_str()), Tail::Unchecked,
         ViewerAt("TK_DT_01.PDT", &viewer::ReadPageFile)},
        {"drawing", "TNK_MAX.PZK", TestData((reportDir + "TNK_MAX.PZK").c_str()), Tail::Unchecked,
         ViewerAt("TNK_MAX.PZK", &viewer::ReadDrawingFile)},
        {"DXF import", "x.dxf", TestData("dxf/cad_section_m.dxf"), Tail::Drawing, DrawingAt()},
    };
    const std::string dxfFault = "ファイル読み込みエラーが発生しました。";
    auto endsWith = [](const std::string& told, const std::string& want) {
        return told.size() >= want.size() && told.compare(told.size() - want.size(), want.size(), want) == 0;
    };
    for (const HostileReader& r : readers) {
        SCOPED_TRACE(r.name);
        ASSERT_EQ(Bytes(r.read)(r.valid), std::nullopt);
        const int lines = static_cast<int>(std::count(r.valid.begin(), r.valid.end(), '\n'));

        fs::path fifo;
        auto pending = std::async(std::launch::async, [&] {
            return r.read([&](const fs::path& p) {
                fifo = p;
                ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
            });
        });
        if (pending.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
            ADD_FAILURE() << "a FIFO holds the reader";
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        const std::optional<std::string> fifoTold = pending.get();
        ASSERT_TRUE(fifoTold.has_value()) << "a FIFO was taken";
        EXPECT_NE(fifoTold->find(r.file), std::string::npos) << *fifoTold;
        EXPECT_NE(fifoTold->find("通常のファイルではありません"), std::string::npos) << *fifoTold;

        // Sparse: only a reader that reads it whole pays for its size.
        const std::optional<std::string> hugeTold = r.read([](const fs::path& p) {
            WriteBytes(p, "1\r\n");
            fs::resize_file(p, std::uintmax_t{1} << 30);
        });
        ASSERT_TRUE(hugeTold.has_value());
        EXPECT_NE(hugeTold->find(r.file), std::string::npos) << *hugeTold;
        EXPECT_NE(hugeTold->find("大きすぎます（1073741824 バイト"), std::string::npos) << *hugeTold;

        if (r.tail == Tail::Drawing) {
            // Just beyond the cap, told with the cap.
            const std::optional<std::string> overTold = r.read([](const fs::path& p) {
                WriteBytes(p, "0\r\n");
                fs::resize_file(p, (std::uintmax_t{256} << 20) + 1);
            });
            EXPECT_EQ(overTold, dxfFault + "\rx.dxfが大きすぎます（268435457 バイト。読める最大は 268435456 バイトです）。");
        }

        // CR LF and LF alike become CR.
        std::string crOnly;
        for (std::size_t i = 0; i < r.valid.size(); ++i)
            if (r.valid[i] != '\n')
                crOnly += r.valid[i];
            else if (i == 0 || r.valid[i - 1] != '\r')
                crOnly += '\r';
        if (r.tail == Tail::Drawing) {
            EXPECT_EQ(Bytes(r.read)(crOnly), std::nullopt) << "CR-only line ends refused";
            for (const std::string& bad :
                 {r.valid + "1,2,3,junk\r\n", r.valid + "junk\r\n\r\njunk, 12", r.valid.substr(0, r.valid.size() / 2)})
                EXPECT_EQ(Bytes(r.read)(bad), dxfFault);
        }
        if (r.tail != Tail::Fields) continue;
        std::string junk;
        for (int i = 0; i < 2000; ++i) junk += "1,2,3,junk\r\n";  // within every cap
        const std::optional<std::string> junkTold = Bytes(r.read)(r.valid + junk);
        ASSERT_TRUE(junkTold.has_value());
        EXPECT_TRUE(endsWith(*junkTold, FaultText(lines + 1, kFaultJunk))) << *junkTold;

        const std::optional<std::string> cutTold = Bytes(r.read)(r.valid + "junk\r\n\r\njunk, 12");
        ASSERT_TRUE(cutTold.has_value());
        EXPECT_TRUE(endsWith(*cutTold, FaultText(lines + 1, kFaultJunk))) << *cutTold;

        const std::optional<std::string> crTold = Bytes(r.read)(crOnly);
        ASSERT_TRUE(crTold.has_value());
        EXPECT_TRUE(endsWith(*crTold, FaultText(1, kFaultLineEnd))) << *crTold;
    }
}

}  // namespace
}  // namespace kova
