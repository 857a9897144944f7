#include "model/dxf.hpp"

#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

#include "model/boundary.hpp"
#include "rules/limits.hpp"
#include "model/reset.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova {

namespace {

constexpr double kMergeTol = 0.0001;

// Polyline flags (group 70).
constexpr long long kClosed = 1;
constexpr long long kPolygonMesh = 16;
constexpr long long kPolyfaceMesh = 64;
// Vertex flag: a control point of a spline frame, not on the drawn curve.
constexpr long long kFrameControlPoint = 16;

struct ReadError {};

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r";
    std::size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

double Number(std::string_view value) {
    double v = 0;
    if (!ParseReal(Trim(value), v)) throw ReadError{};
    return v;
}

long long Integer(std::string_view value) {
    long long v = 0;
    if (!ParseInt(Trim(value), -2147483648LL, 2147483647LL, v)) throw ReadError{};
    return v;
}

struct Group {
    int code;
    std::string_view value;
};

// One entity: its name and the pairs up to the next code 0.
struct Entity {
    std::string_view name;
    std::vector<Group> groups;

    std::optional<std::string_view> Find(int code) const {
        std::optional<std::string_view> v;
        for (const Group& g : groups)
            if (g.code == code) v = g.value;  // the last one given counts
        return v;
    }
    std::optional<double> Coord(int code) const {
        auto v = Find(code);
        if (!v) return std::nullopt;
        return Number(*v);
    }
    long long Flags() const {
        auto v = Find(70);
        return v ? Integer(*v) : 0;
    }
};

struct Vertex {
    double x, y, z;
};

class SegmentCollector {
public:
    SegmentCollector(std::vector<DxfSegment>& out, const DxfStatusFn& status) : out_(out), status_(status) {}

    void OnEntity(const Entity& e) {
        if (e.name == "VERTEX") {
            if (!runOpen_) OpenRun(0);
            AddVertex(e);
            return;
        }
        // Anything else ends a vertex run, whether or not SEQEND came.
        if (runOpen_) CloseRun();
        if (e.name == "LINE") Line(e);
        else if (e.name == "POLYLINE") OpenRun(e.Flags());
        else if (e.name == "LWPOLYLINE") LwPolyline(e);
    }
    void Finish() {
        if (runOpen_) CloseRun();
    }

private:
    void Add(const Vertex& a, const Vertex& b) {
        out_.push_back({a.x, a.y, a.z, b.x, b.y, b.z});
        if (status_) status_("DXF読込み:" + std::to_string(out_.size()));
    }

    void Line(const Entity& e) {
        auto x1 = e.Coord(10), y1 = e.Coord(20), x2 = e.Coord(11), y2 = e.Coord(21);
        auto z1 = e.Coord(30), z2 = e.Coord(31);
        if (!x1 || !y1 || !x2 || !y2) return;  // an incomplete LINE is no line
        Add({*x1, *y1, z1.value_or(0)}, {*x2, *y2, z2.value_or(0)});
    }

    void Chain(const std::vector<Vertex>& v, bool closed) {
        for (std::size_t i = 1; i < v.size(); ++i) Add(v[i - 1], v[i]);
        if (closed && v.size() >= 3) Add(v.back(), v.front());
    }

    void OpenRun(long long flags) {
        runOpen_ = true;
        runFlags_ = flags;
        run_.clear();
    }
    void AddVertex(const Entity& e) {
        auto x = e.Coord(10), y = e.Coord(20), z = e.Coord(30);
        if (!x || !y) return;
        if (e.Flags() & kFrameControlPoint) return;
        run_.push_back({*x, *y, z.value_or(0)});
    }
    void CloseRun() {
        // Meshes are surfaces, not lines.
        if (!(runFlags_ & (kPolygonMesh | kPolyfaceMesh))) Chain(run_, (runFlags_ & kClosed) != 0);
        runOpen_ = false;
        run_.clear();
    }

    void LwPolyline(const Entity& e) {
        // Each 10 starts a vertex, its 20 completes it.
        std::vector<Vertex> v;
        double x = 0;
        bool haveX = false;
        for (const Group& g : e.groups) {
            if (g.code == 10) {
                x = Number(g.value);
                haveX = true;
            } else if (g.code == 20 && haveX) {
                v.push_back({x, Number(g.value), 0});
                haveX = false;
            }
        }
        Chain(v, (e.Flags() & kClosed) != 0);
    }

    std::vector<DxfSegment>& out_;
    const DxfStatusFn& status_;
    bool runOpen_ = false;
    long long runFlags_ = 0;
    std::vector<Vertex> run_;
};

bool ReadFileBytes(const std::filesystem::path& path, std::string& out) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

bool SameLine(const BoundaryLine& l, i16 a, i16 b) {
    return (l.pt1 == a && l.pt2 == b) || (l.pt1 == b && l.pt2 == a);
}

}  // namespace

bool ReadDxfSegments(std::string_view text, std::vector<DxfSegment>& out, const DxfStatusFn& status) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string> lines = SplitLines(text);
    // Blank lines after the end of the drawing are no pairs.
    while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
    if (lines.empty()) return true;

    try {
        SegmentCollector collector(out, status);
        Entity cur;
        bool inEntity = false;
        // A drawing ends with its EOF marker: without it the file was cut,
        // perhaps inside its last coordinate.
        bool ended = false;
        for (std::size_t i = 0; i < lines.size(); i += 2) {
            long long code = 0;
            if (!ParseInt(Trim(lines[i]), -32768, 32767, code)) return false;
            if (i + 1 >= lines.size()) return false;
            std::string_view value = lines[i + 1];
            if (code != 0) {
                if (inEntity) cur.groups.push_back({static_cast<int>(code), value});
                continue;
            }
            if (inEntity) collector.OnEntity(cur);
            if (value == "EOF") {
                inEntity = false;
                // Nothing but the old end-of-file character may follow.
                for (std::size_t k = i + 2; k < lines.size(); ++k)
                    if (!Trim(lines[k]).empty() && Trim(lines[k]) != "\x1A") return false;
                ended = true;
                break;
            }
            cur.name = value;
            cur.groups.clear();
            inEntity = true;
        }
        if (!ended) return false;
        if (inEntity) collector.OnEntity(cur);
        collector.Finish();
    } catch (const ReadError&) {
        return false;
    }
    return true;
}

DxfImport ImportDxf(Model& m, const std::filesystem::path& appPath, const std::filesystem::path& path,
                    MessageSink& ui, const DxfStatusFn& status) {
    // The whole file is read before the model is touched, so a file that
    // cannot be read leaves the model as it was.
    std::string bytes;
    std::vector<DxfSegment> segs;
    if (!ReadFileBytes(path, bytes) || !ReadDxfSegments(bytes, segs, status)) {
        ui.Notify("ファイル読み込みエラーが発生しました。");
        return DxfImport::ReadError;
    }
    bytes.clear();
    // A point the project file could not hold would make the project
    // impossible to open again once saved.
    for (const DxfSegment& g : segs) {
        for (auto [v, item] : {std::pair{g.X1, Item::X}, {g.Y1, Item::Y}, {g.X2, Item::X}, {g.Y2, Item::Y}}) {
            if (!WithinLimit(item, v)) {
                ui.Notify("ファイル読み込みエラーが発生しました。\r" + LimitFileText(item));
                return DxfImport::ReadError;
            }
        }
    }

    auto scratch = std::make_unique<Model>(m);
    Model& s = *scratch;
    ResetModel(s, appPath, ui);

    auto point = [&](double x, double y, bool& full) -> i16 {
        i16 p = FindBndPt(s, x, y, kMergeTol);
        if (p >= 0) return p;
        if (s.BndPtCount >= kMaxBndPts) {
            full = true;
            return -1;
        }
        BoundaryPoint& bp = s.BndPt[static_cast<std::size_t>(s.BndPtCount)];
        bp.X = x;
        bp.Y = y;
        return s.BndPtCount++;
    };

    bool full = false;
    for (const DxfSegment& g : segs) {
        // A segment shorter than the merge distance would join a point to itself.
        if (std::hypot(g.X2 - g.X1, g.Y2 - g.Y1) <= kMergeTol) continue;
        i16 a = point(g.X1, g.Y1, full);
        if (full) break;
        i16 b = point(g.X2, g.Y2, full);
        if (full) break;
        if (a == b) continue;
        bool repeated = false;
        for (int i = 0; i < s.BndLineCount && !repeated; ++i)
            repeated = SameLine(s.BndLine[static_cast<std::size_t>(i)], a, b);
        if (repeated) continue;
        if (s.BndLineCount >= kMaxLines) {
            full = true;
            break;
        }
        s.BndLine[static_cast<std::size_t>(s.BndLineCount++)] = {a, b};
    }

    if (s.BndLineCount == 0) {
        ui.Notify("DXFファイルに取り込める線分がありません。");
        return DxfImport::NothingImported;
    }
    m = s;
    if (full) {
        ui.Notify("要素数が500を超えました。");
        return DxfImport::LimitReached;
    }
    return DxfImport::Imported;
}

}  // namespace kova
