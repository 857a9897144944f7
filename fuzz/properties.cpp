#include "fuzz/properties.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <memory>
#include <stdexcept>

#include "engine/checks.hpp"
#include "engine/column.hpp"
#include "engine/history.hpp"
#include "engine/settlement.hpp"
#include "engine/stress.hpp"
#include "engine/run.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "platform/message.hpp"
#include "predict/drawings.hpp"
#include "print/forms.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/obsdata.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova::fuzz {
namespace {

namespace fs = std::filesystem;

// The sand curves every reset reads, as the programs ship them.
constexpr const char* kSandFile =
    "4\r\n10.0,0.900,0.800,0.700,0.600,0.500\r\n100.0,0.850,0.760,0.670,0.580,0.490\r\n"
    "1000.0,0.750,0.680,0.610,0.540,0.470\r\n10000.0,0.600,0.560,0.520,0.480,0.440\r\n";

void WriteBytes(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A fresh sub-folder of the scratch folder.
fs::path Fresh(const fs::path& scratch, const char* name) {
    fs::path p = scratch / name;
    std::error_code ec;
    fs::remove_all(p, ec);
    fs::create_directories(p);
    return p;
}

// The model as the project file holds it (the form trims in a copy).
std::string Form(const Model& m) {
    auto copy = std::make_unique<Model>(m);
    return FormatCondFile(*copy);
}

// The texts the writer cleans (trims, drops what a line cannot hold) are
// compared as they are: the form of a model would hide the cleaning.
bool SameTexts(const Model& a, const Model& b) {
    if (a.Cond.ProjectTitle != b.Cond.ProjectTitle) return false;
    for (int i = 0; i < a.CalcPosCount; ++i)
        if (a.Cond.CalcPosName[i] != b.Cond.CalcPosName[i]) return false;
    auto names = [](const auto& x, const auto& y, int n) {
        for (int i = 0; i < n; ++i)
            if (x[i].Name != y[i].Name) return false;
        return true;
    };
    return names(a.Embankment, b.Embankment, a.EmbankmentCount) && names(a.SoilLayer, b.SoilLayer, a.SoilLayerCount) &&
           names(a.CutBlock, b.CutBlock, a.CutCount);
}

bool RefusedWithMessage(const RecordingMessages& ui) { return ui.Count() >= 1; }

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Whether a printed number reads as a zero with a minus sign: "-0.000",
// also with a unit after it, as a drawing's label "-0.000m".
bool NegativeZero(std::string_view text) {
    const std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos || text.substr(i, 3) != "-0.") return false;
    const std::size_t rest = text.find_first_not_of("0.", i + 1);
    return rest == std::string_view::npos || !std::isdigit(static_cast<unsigned char>(text[rest]));
}

// Every field of every line is a finite number.
std::string CheckResultTable(const fs::path& p, std::size_t rows) {
    std::vector<std::string> lines;
    try {
        lines = SplitLines(ReadBytes(p));
    } catch (...) {
        return p.filename().string() + " unreadable";
    }
    if (rows && lines.size() != rows) return p.filename().string() + " has " + std::to_string(lines.size()) + " rows";
    for (const std::string& l : lines) {
        std::size_t start = 0;
        for (int k = 0; k < 3; ++k) {
            std::size_t comma = l.find(',', start);
            std::string f = l.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            double v;
            if (!ParseReal(f, v) || NegativeZero(f)) return p.filename().string() + " holds \"" + l + "\"";
            if (k == 2 && v < 0) return p.filename().string() + " holds a settlement below zero: \"" + l + "\"";
            if (comma == std::string::npos) {
                if (k != 2) return p.filename().string() + " holds \"" + l + "\"";
                break;
            }
            start = comma + 1;
        }
    }
    return "";
}

// The settlements of a result table (third field of each row).
std::vector<double> Settlements(const fs::path& p) {
    std::vector<double> out;
    for (const std::string& l : SplitLines(ReadBytes(p))) {
        double v = 0;
        if (!ParseReal(l.substr(l.rfind(',') + 1), v)) v = std::nan("");
        out.push_back(v);
    }
    return out;
}

// A settlement reported at x, against the column at x under every load: it
// is finite and what the layers add up to; no layer settles its thickness
// or more, none whose load increases rises, and the sum is less than the
// thickness of the layers.
std::string CheckSettlementAt(const engine::EngineState& st, engine::ColumnWork& work, double x, double reported,
                              const std::string& where) {
    if (!std::isfinite(reported)) return where + ": the settlement is not finite";
    const engine::CalcInput& in = st.input;
    const engine::ColumnAt at = engine::column_under_all_loads(st, work, x);
    double thickness = 0;
    for (int i = 0; i < work.column.count; ++i) {
        const double h = work.column.top[i] - work.column.bottom[i];
        const int method = engine::effective_method(in, in.soil[work.column.layer[i]]);
        const double layer = engine::layer_settlement(work.results, i, method);
        const std::string name = where + ": layer " + std::to_string(work.column.layer[i] + 1);
        if (!std::isfinite(layer)) return name + " settles by a number that is not finite";
        if (layer >= h) return name + " settles its thickness or more";
        if (layer < 0 && engine::layer_loaded(work.column, i, at.unloading)) return name + " rises under load";
        thickness += h;
    }
    if (std::fabs(reported - at.settlement) > 1e-6) return where + ": the settlement is not the layers' sum";
    if (work.column.count > 0 && !(reported < thickness)) return where + ": the settlement reaches the thickness";
    return "";
}

std::string CheckSettlements(const engine::EngineState& st, const fs::path& dir) {
    const engine::CalcInput& in = st.input;
    auto work = std::make_unique<engine::ColumnWork>();
    const std::vector<double> profile = Settlements(dir / "tnk.csv");
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const double x = in.xmin + (in.xmax - in.xmin) * 0.001 * static_cast<double>(i);
        if (std::string bad = CheckSettlementAt(st, *work, x, profile[i], "tnk.csv row " + std::to_string(i + 1));
            !bad.empty())
            return bad;
    }
    const std::vector<double> points = Settlements(dir / "tnk1.csv");
    if (points.size() != static_cast<std::size_t>(in.position_count)) return "tnk1.csv has another row count";
    for (std::size_t p = 0; p < points.size(); ++p) {
        if (std::string bad = CheckSettlementAt(st, *work, in.positions[p].x, points[p],
                                                "tnk1.csv row " + std::to_string(p + 1));
            !bad.empty())
            return bad;
    }
    return "";
}

// The forms of a page file in order, each with its fields by number.
struct PrintedForm {
    std::string name;
    std::map<int, std::string> fields;
};

std::vector<PrintedForm> PageForms(const fs::path& p) {
    std::vector<PrintedForm> out;
    std::string text;
    try {
        text = DecodeCp932Text(ReadBytes(p));
    } catch (...) {
        return out;
    }
    for (const std::string& l : SplitLines(text)) {
        if (l.size() > 2 && l[0] == '$' && (l[1] == '0' || l[1] == '1')) {
            const std::size_t b = l.find_first_not_of(' ', 2);
            out.push_back(PrintedForm{b == std::string::npos ? "" : l.substr(b), {}});
        } else if (!out.empty() && l.size() >= 2 && std::isdigit(static_cast<unsigned char>(l[0])) &&
                   std::isdigit(static_cast<unsigned char>(l[1]))) {
            const std::size_t b = l.find_first_not_of(' ', 2);
            out.back().fields[std::stoi(l.substr(0, 2))] = b == std::string::npos ? "" : l.substr(b);
        }
    }
    return out;
}

// A settlement printed in field `field` of `f`: no value for dashes, NaN
// when it is not a number.
std::optional<double> Printed(const PrintedForm& f, int field) {
    auto it = f.fields.find(field);
    if (it == f.fields.end() || it->second.find("─") != std::string::npos) return std::nullopt;
    // A settlement kept from an earlier stage carries its mark before it.
    std::string text = it->second;
    if (text.rfind("＊", 0) == 0) text.erase(0, std::string("＊").size());
    double v = 0;
    if (!ParseReal(text, v)) return std::nan("");
    return v;
}

// Every settlement a position's page prints keeps what the final one
// keeps: it is a number, not below zero (no rebound), and no stage and no
// degree of the time tables passes the final settlement of its layer, its
// unit or the column (tnk1.csv, the row of the position); the stages' values
// only grow. Half a printed unit is allowed for rounding.
std::string CheckPositionPage(const fs::path& page, double final_settlement) {
    const std::string name = page.filename().string();
    constexpr double kHalf = 0.00051;
    bool overall = false;
    for (const PrintedForm& f : PageForms(page)) {
        std::vector<int> settlements;  // fields that hold settlements
        std::vector<int> rising;       // the stages, in order
        if (f.name == print::kSettlementRowForm) settlements = {6};
        if (f.name == print::kSettlementTotalForm) settlements = {0};
        if (f.name == print::kStageSettlementRowForm) settlements = rising = {3, 4, 5, 6, 7};
        if (f.name == print::kStageSettlementTotalForm) settlements = rising = {0, 1, 2, 3, 4};
        if (f.name == print::kStageTimeHeadingForm) overall = false;
        if (f.name == print::kOverallTimeHeadingForm) overall = true;
        if (f.name == print::kTimeRowForm)
            for (int k = 0; k <= print::kTimeDegrees; ++k) settlements.push_back(print::kTimeSettlementBase + k);
        const std::string where = name + " " + f.name;
        for (int k : settlements) {
            const std::optional<double> v = Printed(f, k);
            if (!v) continue;
            if (!std::isfinite(*v)) return where + " field " + std::to_string(k) + " is not a number";
            if (*v < 0) return where + " prints a settlement below zero";
            if (*v > final_settlement + kHalf) return where + " prints more than the final settlement";
        }
        double last = -1;
        for (int k : rising) {
            const std::optional<double> v = Printed(f, k);
            if (!v) continue;
            if (*v + kHalf < last) return where + ": a later stage prints less than an earlier one";
            last = *v;
        }
        if (f.name == print::kStageSettlementTotalForm && last >= 0 && std::fabs(last - final_settlement) > kHalf)
            return where + ": the last stage is not the final settlement";
        // The overall table: no degree past the unit's final settlement.
        if (f.name == print::kTimeRowForm && overall) {
            const std::optional<double> total = Printed(f, print::kTimeFinalField);
            for (int k = print::kTimeSettlementBase; k < print::kTimeFinalField && total; ++k)
                if (const std::optional<double> v = Printed(f, k); v && *v > *total + kHalf)
                    return where + " prints a degree past the unit's final settlement";
        }
    }
    return "";
}

// No page or drawing file prints a negative zero; every position's page
// keeps the rules of its final settlement.
std::string CheckPrintedFigures(const fs::path& dir, const std::vector<double>& finals) {
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string file = e.path().filename().string();
        if (e.path().extension() == ".PZK")
            for (const std::string& l : SplitLines(ReadBytes(e.path())))
                if (NegativeZero(l)) return file + " prints \"" + l + "\"";
        if (e.path().extension() != ".PDT") continue;
        for (const PrintedForm& f : PageForms(e.path()))
            for (const auto& [k, text] : f.fields)
                if (NegativeZero(text)) return file + " " + f.name + " prints \"" + text + "\"";
        if (file.rfind("TK_DT_", 0) != 0) continue;
        const int position = std::atoi(file.c_str() + 6);
        if (position < 1 || position > static_cast<int>(finals.size())) return file + " names no position";
        if (std::string bad = CheckPositionPage(e.path(), finals[position - 1]); !bad.empty()) return bad;
    }
    return "";
}

// No loading stage lowers the stress of a layer under a calculation
// position unless one of its own loads is negative: the stresses of the
// stages up to each stage, as the position's stage loop adds them, never
// fall by half a printed unit (kN/m2) from one loaded stage to the next.
std::string CheckStagesAddStress(const engine::EngineState& st) {
    const engine::CalcInput& in = st.input;
    auto col = std::make_unique<engine::SoilColumn>();
    for (int p = 0; p < std::clamp(in.position_count, 0, engine::kMaxPositions); ++p) {
        const double x = in.positions[p].x;
        engine::clear_layer_results(*col);
        engine::layers_at(in, *col, x);
        const engine::MidDepths zm = engine::mid_depths(*col);
        std::array<double, engine::kColumnSlots> before{};
        for (int stage = 1; stage <= engine::kMaxStages; ++stage) {
            bool fresh = false, negative = false;
            auto visit = [&](const auto& load, double value) {
                if (load.stage != stage) return;
                fresh = true;
                if (value < 0) negative = true;
            };
            engine::clear_stress_increments(*col);
            for (int j = 0; j < in.block_count; ++j) {
                visit(in.blocks[j], in.blocks[j].unit_weight);
                if (in.blocks[j].stage <= stage) engine::embankment_stress(in, st.block_loads[j], x, zm, *col);
            }
            for (int j = 0; j < in.point_load_count; ++j) {
                visit(in.point_loads[j], in.point_loads[j].load);
                if (in.point_loads[j].stage <= stage) engine::point_load_stress(in, j, x, *col);
            }
            for (int j = 0; j < in.line_load_count; ++j) {
                visit(in.line_loads[j], in.line_loads[j].load);
                if (in.line_loads[j].stage <= stage) engine::line_load_stress(in, j, x, *col);
            }
            for (int j = 0; j < in.strip_load_count; ++j) {
                visit(in.strip_loads[j], in.strip_loads[j].load);
                if (in.strip_loads[j].stage <= stage) engine::strip_load_stress(in, j, x, *col);
            }
            if (!fresh) continue;
            for (int i = 0; i < col->count && !negative; ++i)
                if (col->dp[i] < before[i] - 0.0005)
                    return "position " + std::to_string(p + 1) + " stage " + std::to_string(stage) +
                           " lowers the stress of layer " + std::to_string(col->layer[i] + 1);
            for (int i = 0; i < col->count; ++i) before[i] = col->dp[i];
        }
    }
    return "";
}

}  // namespace

std::string CheckProjectFile(std::string_view bytes, const fs::path& scratch) {
    const fs::path app = Fresh(scratch, "kov");
    WriteBytes(app / kSandCurveFile, kSandFile);
    WriteBytes(app / "in.kov", bytes);
    ProgramState ps;
    ps.AppPath = app;
    RecordingMessages ui;
    auto m = std::make_unique<Model>();
    ResetModel(*m, app, ui);
    ui.Clear();
    if (!ReadCondFile(*m, ps, app / "in.kov", ui)) return RefusedWithMessage(ui) ? "" : "refused without a message";
    if (ui.Count() != 0) return "read with a message: " + ui.Last().text;

    std::string form;
    const auto read = std::make_unique<Model>(*m);
    try {
        form = Form(*m);
    } catch (const std::exception& e) {
        return std::string("reads but its model cannot be written: ") + e.what();
    }
    if (WriteCondFile(*m, ps, (app / "out1.kov").string(), 0, ui) != 0) return "reads but cannot be saved: " + ui.Last().text;
    auto again = std::make_unique<Model>();
    if (!ReadCondFile(*again, ps, app / "out1.kov", ui)) return "its saved form does not read: " + ui.Last().text;
    if (Form(*again) != form || !SameTexts(*read, *again)) return "reads again to another model";
    if (WriteCondFile(*again, ps, (app / "out2.kov").string(), 0, ui) != 0) return "the model read again cannot be saved";
    if (ReadBytes(app / "out1.kov") != ReadBytes(app / "out2.kov")) return "the second save differs from the first";
    return "";
}

std::string CheckSandCurveFile(std::string_view bytes, const fs::path& scratch) {
    const fs::path a = Fresh(scratch, "sand_a"), b = Fresh(scratch, "sand_b"), c = Fresh(scratch, "sand_c");
    WriteBytes(a / kSandCurveFile, bytes);
    RecordingMessages ui;
    SandCurves curves{};
    if (!ReadSandCurveFile(a, curves, ui)) return RefusedWithMessage(ui) ? "" : "refused without a message";
    if (!WriteSandCurveFile(b, curves, ui)) return "reads but cannot be written: " + ui.Last().text;
    SandCurves again{};
    if (!ReadSandCurveFile(b, again, ui)) return "its written form does not read: " + ui.Last().text;
    for (int d = 0; d < kSandCurves; ++d) {
        if (again[d].n != curves[d].n) return "reads again to another point count";
        for (int k = 0; k < curves[d].n; ++k)
            if (again[d].X[k] != curves[d].X[k] || again[d].Y[k] != curves[d].Y[k])
                return "reads again to other values";
    }
    if (!WriteSandCurveFile(c, again, ui)) return "the curves read again cannot be written";
    if (ReadBytes(b / kSandCurveFile) != ReadBytes(c / kSandCurveFile)) return "the second write differs from the first";
    return "";
}

std::string CheckObservationFile(std::string_view bytes, const fs::path& scratch) {
    const fs::path dir = Fresh(scratch, "tlm");
    WriteBytes(dir / "in.tlm", bytes);
    auto data = std::make_unique<predict::ObsDataSet>();
    try {
        *data = predict::ReadDataFile(dir / "in.tlm");
    } catch (const predict::ObsFileError&) {
        return "";
    }
    std::string text;
    try {
        text = predict::DataFileText(*data);
        predict::WriteDataFile(*data, dir / "out1.tlm");
    } catch (const predict::ObsFileError& e) {
        return std::string("reads but cannot be saved: ") + e.what();
    }
    try {
        auto again = std::make_unique<predict::ObsDataSet>(predict::ReadDataFile(dir / "out1.tlm"));
        if (predict::DataFileText(*again) != text) return "reads again to other data";
        predict::WriteDataFile(*again, dir / "out2.tlm");
    } catch (const predict::ObsFileError& e) {
        return std::string("its saved form does not read back: ") + e.what();
    }
    if (ReadBytes(dir / "out1.tlm") != ReadBytes(dir / "out2.tlm")) return "the second save differs from the first";

    // The prediction of every station: a refusal is fine; a fit gives finite
    // results and drawings without a number that is not finite.
    const std::string input = Lower(std::string(bytes));
    const bool searchable = input.find("nan") == std::string::npos && input.find("inf") == std::string::npos;
    for (int k = 1; k <= data->StationCount; ++k) {
        predict::StationRecord& s = data->Stations[k];
        predict::PredictionOutcome out = predict::ComputePrediction(s, *data);
        static_cast<predict::StationResults&>(s) = out.results;
        if (s.LastDay < 1) continue;
        const double values[] = {s.Slope, s.Intercept, s.R2, s.FinalSettlement, s.TargetSettlement};
        for (double v : values)
            if (!std::isfinite(v)) return "station " + std::to_string(k) + ": a fit result is not finite";
        for (double v : s.Predicted)
            if (!std::isfinite(v)) return "station " + std::to_string(k) + ": a predicted settlement is not finite";
        try {
            const fs::path drawings[] = {predict::WritePredictionDrawing(s, *data, k, dir),
                                         predict::WriteRegressionDrawing(s, k, dir)};
            for (const fs::path& d : drawings) {
                const std::string text = Lower(ReadBytes(d));
                if (searchable && (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos))
                    return d.filename().string() + " prints a number that is not finite";
            }
        } catch (const std::exception& e) {
            return "station " + std::to_string(k) + ": its drawings cannot be written: " + e.what();
        }
    }
    return "";
}

std::string CheckEngineRun(std::string_view bytes, const fs::path& scratch) {
    const fs::path dir = Fresh(scratch, "engine");
    WriteBytes(dir / "CAL_TNK.DAT", bytes);
    auto st = std::make_unique<engine::EngineState>();
    RecordingMessages ui;
    engine::RunOptions o;
    o.clock = [] { return engine::RunStamp{26, 12, 8, 9, 5, 7}; };
    o.threads = 1;
    const int code = engine::run_calculation(dir, *st, ui, o);
    if (code == 1) return RefusedWithMessage(ui) ? "" : "exit 1 without a message";
    if (code != 0) return "exit code " + std::to_string(code);
    if (std::string bad = CheckResultTable(dir / "tnk.csv", 1000); !bad.empty()) return bad;
    if (std::string bad = CheckResultTable(dir / "tnk1.csv", 0); !bad.empty()) return bad;
    if (std::string bad = CheckSettlements(*st, dir); !bad.empty()) return bad;
    if (std::string bad = CheckPrintedFigures(dir, Settlements(dir / "tnk1.csv")); !bad.empty()) return bad;
    if (std::string bad = CheckStagesAddStress(*st); !bad.empty()) return bad;
    // The title and the names are printed as they are: only an input that
    // holds neither word can be searched for them in the reports.
    const std::string input = Lower(std::string(bytes));
    if (input.find("nan") != std::string::npos || input.find("inf") != std::string::npos) return "";
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string ext = e.path().extension().string();
        if (ext != ".PDT" && ext != ".PZK") continue;
        const std::string text = Lower(ReadBytes(e.path()));
        if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos)
            return e.path().filename().string() + " prints a number that is not finite";
    }
    return "";
}

std::string CheckDxfImport(std::string_view bytes, const fs::path& scratch) {
    const fs::path app = Fresh(scratch, "dxf");
    WriteBytes(app / kSandCurveFile, kSandFile);
    WriteBytes(app / "in.dxf", bytes);
    RecordingMessages ui;
    auto m = std::make_unique<Model>();
    ResetModel(*m, app, ui);
    const DxfImport r = ImportDxf(*m, app, app / "in.dxf", ui);
    if (r == DxfImport::ReadError || r == DxfImport::NothingImported) return "";
    ProgramState ps;
    ps.AppPath = app;
    if (WriteCondFile(*m, ps, (app / "out.kov").string(), 0, ui) != 0) return "the imported drawing cannot be saved";
    auto again = std::make_unique<Model>();
    if (!ReadCondFile(*again, ps, app / "out.kov", ui)) return "the imported drawing, saved, does not open: " + ui.Last().text;
    return "";
}

}  // namespace kova::fuzz
