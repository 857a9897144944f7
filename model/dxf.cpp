#include "model/dxf.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>

#include "model/boundary.hpp"
#include "rules/limits.hpp"
#include "model/reset.hpp"
#include "textio/fieldfile.hpp"
#include "textio/listline.hpp"

namespace kova {

namespace {

constexpr double kMergeTol = 0.0001;
constexpr double kPi = 3.14159265358979323846;
// Curves become chords that stay within this distance (m) of the curve, at
// least one per eighth of a turn, at most kMaxDxfChords a curve.
constexpr double kChordTol = 0.01;
constexpr double kMaxStep = kPi / 4;
// Block references nest no deeper than this (a block that refers to itself
// would never end).
constexpr int kMaxNesting = 16;
// A MINSERT grid is expanded up to this many copies.
constexpr long long kMaxGridCopies = 10000;
// Entities visited in all, block references expanded: far more than any
// section needs, few enough to end soon.
constexpr long long kMaxVisits = 1000000;

// Polyline flags (group 70).
constexpr long long kClosed = 1;
constexpr long long kPolyline3d = 8;
constexpr long long kPolygonMesh = 16;
constexpr long long kPolyfaceMesh = 64;
// Vertex flag: a control point of a spline frame, not on the drawn curve.
constexpr long long kFrameControlPoint = 16;
// Layer flag: frozen.
constexpr long long kFrozen = 1;

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

// Names of layers and blocks compare without regard to case.
std::string Upper(std::string_view s) {
    std::string u(Trim(s));
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

struct Group {
    int code;
    std::string_view value;
};

// One record: its name and the pairs up to the next code 0.
struct Entity {
    std::string_view name;
    std::vector<Group> groups;

    // Names (of sections, tables, layers, blocks): the first one given.
    std::string Name() const {
        for (const Group& g : groups)
            if (g.code == 2) return Upper(g.value);
        return "";
    }
    // Properties of an entity: the last one given.
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
    double Real(int code, double fallback) const { return Coord(code).value_or(fallback); }
    long long Int(int code, long long fallback) const {
        auto v = Find(code);
        return v ? Integer(*v) : fallback;
    }
    long long Flags() const { return Int(70, 0); }
};

struct Vec {
    double x = 0, y = 0, z = 0;
};

Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec Unit(const Vec& v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

// An affine map of space: p -> A p + t, A by columns.
struct Affine {
    Vec cx{1, 0, 0}, cy{0, 1, 0}, cz{0, 0, 1}, t{0, 0, 0};

    Vec operator()(const Vec& p) const {
        return {cx.x * p.x + cy.x * p.y + cz.x * p.z + t.x, cx.y * p.x + cy.y * p.y + cz.y * p.z + t.y,
                cx.z * p.x + cy.z * p.y + cz.z * p.z + t.z};
    }
    Vec Linear(const Vec& v) const {
        return {cx.x * v.x + cy.x * v.y + cz.x * v.z, cx.y * v.x + cy.y * v.y + cz.y * v.z,
                cx.z * v.x + cy.z * v.y + cz.z * v.z};
    }
    // this after b.
    Affine After(const Affine& b) const { return {Linear(b.cx), Linear(b.cy), Linear(b.cz), (*this)(b.t)}; }
    // How much longer a length of the drawing becomes in the plan (the
    // larger stretch of the two plan axes).
    double PlanStretch() const { return std::max(std::hypot(cx.x, cx.y), std::hypot(cy.x, cy.y)); }
};

Affine Scale(double sx, double sy, double sz) { return {{sx, 0, 0}, {0, sy, 0}, {0, 0, sz}, {}}; }
Affine Move(const Vec& v) { return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, v}; }
Affine Turn(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {{c, s, 0}, {-s, c, 0}, {0, 0, 1}, {}};
}

// The entity's own coordinate system, from its extrusion direction
// (210/220/230) by the arbitrary-axis rule: to world coordinates.
Affine EntitySystem(const Entity& e) {
    const Vec n{e.Real(210, 0), e.Real(220, 0), e.Real(230, 1)};
    if (n.x == 0 && n.y == 0 && n.z == 1) return {};
    if (std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z) < 1e-12) return {};
    const Vec az = Unit(n);
    const Vec ax =
        Unit(std::fabs(az.x) < 1.0 / 64 && std::fabs(az.y) < 1.0 / 64 ? Cross({0, 1, 0}, az) : Cross({0, 0, 1}, az));
    const Vec ay = Unit(Cross(az, ax));
    return {ax, ay, az, {}};
}

double Radians(double degrees) { return degrees * kPi / 180; }

// Chords for a sweep (radians) of a curve of radius r (m), drawn stretched
// by `stretch` in the plan; `capped` is set when the chords would have to
// be more than kMaxDxfChords.
int ChordCount(double sweep, double r, double stretch, bool& capped) {
    const double R = std::fabs(r * stretch);
    double step = kMaxStep;
    if (R > kChordTol) step = std::min(2 * std::acos(1 - kChordTol / R), kMaxStep);
    const double n = std::ceil(std::fabs(sweep) / step - 1e-9);
    if (!(n >= 1)) return 1;  // also a sweep that is not a number
    if (n > kMaxDxfChords) {
        capped = true;
        return kMaxDxfChords;
    }
    return static_cast<int>(n);
}

struct Layer {
    bool hidden = false;  // off or frozen
    bool frozen = false;
};

struct Block {
    Vec base;
    std::vector<Entity> entities;
};

struct Drawing {
    // Metres per drawing unit as a ratio: a millimetre is divided by 1000,
    // so that 20500 mm gives the same number as 20.5 m typed in.
    double unitTimes = 1, unitPer = 1;
    std::optional<long long> unknownUnit;  // $INSUNITS that is no length
    long long insunits = -1;               // as given; -1 when not given
    std::map<std::string, Layer> layers;
    std::map<std::string, Block> blocks;

    const Layer* FindLayer(const std::string& name) const {
        auto it = layers.find(name);
        return it == layers.end() ? nullptr : &it->second;
    }
};

// $INSUNITS as (times, per): metres = value * times / per; nothing for a
// code that names no length.
std::optional<std::pair<double, double>> UnitMetres(long long insunits) {
    switch (insunits) {
    case 0: return std::pair{1.0, 1.0};  // no units: metres, as typed in
    case 6: return std::pair{1.0, 1.0};
    case 1: return std::pair{0.0254, 1.0};
    case 2: return std::pair{0.3048, 1.0};
    case 3: return std::pair{1609.344, 1.0};
    case 4: return std::pair{1.0, 1000.0};
    case 5: return std::pair{1.0, 100.0};
    case 7: return std::pair{1000.0, 1.0};
    case 8: return std::pair{0.0254, 1e6};
    case 9: return std::pair{0.0254, 1000.0};
    case 10: return std::pair{0.9144, 1.0};
    case 11: return std::pair{1.0, 1e10};
    case 12: return std::pair{1.0, 1e9};
    case 13: return std::pair{1.0, 1e6};
    case 14: return std::pair{1.0, 10.0};
    case 15: return std::pair{10.0, 1.0};
    case 16: return std::pair{100.0, 1.0};
    case 17: return std::pair{1e9, 1.0};
    case 18: return std::pair{1.495978707e11, 1.0};
    case 19: return std::pair{9.4607304725808e15, 1.0};
    case 20: return std::pair{3.0856775814913673e16, 1.0};
    case 21: return std::pair{1200.0, 3937.0};
    case 22: return std::pair{100.0, 3937.0};
    case 23: return std::pair{3600.0, 3937.0};
    case 24: return std::pair{6336000.0, 3937.0};
    default: return std::nullopt;
    }
}

// The header's variables, each a `9 $NAME` followed by its own groups.
void ReadHeader(const Entity& header, Drawing& d) {
    std::string_view name;
    for (const Group& g : header.groups) {
        if (g.code == 9) {
            name = Trim(g.value);
        } else if (name == "$INSUNITS" && g.code == 70) {
            const long long code = Integer(g.value);
            d.insunits = code;
            if (auto u = UnitMetres(code)) {
                std::tie(d.unitTimes, d.unitPer) = *u;
                d.unknownUnit.reset();
            } else {
                d.unitTimes = d.unitPer = 1;
                d.unknownUnit = code;
            }
        }
    }
}

class SegmentCollector {
public:
    SegmentCollector(const Drawing& d, std::vector<DxfSegment>& out, const DxfStatusFn& status, DxfCurves& curves)
        : d_(d), out_(out), status_(status), curves_(curves) {}

    // The entities section, one entity at a time as the file is read.
    void ModelEntity(const Entity& e) { Step(e, {}, "0", 0, modelRun_); }
    void EndModel() {
        depth_ = 0;
        if (modelRun_.open) CloseRun(modelRun_);
    }

private:
    // A vertex run of a POLYLINE, in its own coordinate system.
    struct Run {
        bool open = false;
        long long flags = 0;
        Affine system;  // to world
        double elevation = 0;
        std::vector<Vec> v;
        std::vector<double> bulge;
    };

    void Entities(const std::vector<Entity>& list, const Affine& toWorld, const std::string& outerLayer, int depth) {
        Run run;
        for (const Entity& e : list)
            if (!Step(e, toWorld, outerLayer, depth, run)) return;
        depth_ = depth;
        if (run.open) CloseRun(run);
    }

    // One entity of a list; false once the collection is cut.
    bool Step(const Entity& e, const Affine& toWorld, const std::string& outerLayer, int depth, Run& run) {
        depth_ = depth;
        // Only expanded references can multiply the work; the file's own
        // entities are bounded by its size.
        if (!curves_.cut && depth > 0 && ++visits_ > kMaxVisits) {
            curves_.cut = true;
            curves_.expansionCap = "図形" + std::to_string(kMaxVisits) + "個";
        }
        if (curves_.cut) return false;
        if (e.name == "VERTEX") {
            if (!run.open) run = Run{true, 0, toWorld, 0, {}, {}};
            if (Shown(e, outerLayer)) AddVertex(run, e);
            return true;
        }
        // Anything else ends a vertex run, whether or not SEQEND came.
        if (run.open) CloseRun(run);
        // A reference on a layer that is off still shows what its block
        // draws on other layers; its layer-0 lines take the layer's state.
        if (!Shown(e, outerLayer, e.name == "INSERT")) {
            if (e.name == "POLYLINE") run = Run{true, kPolygonMesh, {}, 0, {}, {}};  // its vertices go with it
            return true;
        }
        const std::string layer = LayerOf(e, outerLayer);
        if (e.name == "LINE") Line(e, toWorld);
        else if (e.name == "POLYLINE") run = OpenRun(e, toWorld);
        else if (e.name == "LWPOLYLINE") LwPolyline(e, toWorld);
        else if (e.name == "ARC") Arc(e, toWorld, true);
        else if (e.name == "CIRCLE") Arc(e, toWorld, false);
        else if (e.name == "ELLIPSE") Ellipse(e, toWorld);
        else if (e.name == "MLINE") Mline(e, toWorld);
        else if (e.name == "INSERT") Insert(e, toWorld, layer, depth);
        else if (!IsAnnotation(e.name)) LeftOut(KindName(e.name));
        return true;
    }

    // Drawing annotation, and the records that belong to another entity:
    // no part of the section and no loss worth a word. A dimension's
    // graphics are a block of their own, never taken.
    static bool IsAnnotation(std::string_view kind) {
        for (const char* k : {"TEXT", "MTEXT", "POINT", "DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION",
                              "VIEWPORT", "ATTRIB", "ATTDEF", "SEQEND", "ENDBLK"})
            if (kind == k) return true;
        return false;
    }
    // The kinds left out by the names the user knows them by; any other by
    // the name in the file.
    static std::string KindName(std::string_view kind) {
        static const std::pair<const char*, const char*> kNames[] = {
            {"SPLINE", "スプライン"}, {"3DFACE", "3D面"},   {"LEADER", "引出線"},     {"MULTILEADER", "マルチ引出線"},
            {"XLINE", "構築線"},      {"RAY", "放射線"},    {"SOLID", "2D塗り潰し"}, {"TRACE", "太線"},
            {"HATCH", "ハッチング"},  {"MESH", "メッシュ"}, {"REGION", "リージョン"}, {"3DSOLID", "3Dソリッド"},
            {"IMAGE", "イメージ"},    {"WIPEOUT", "ワイプアウト"},
        };
        for (auto [k, name] : kNames)
            if (kind == k) return name;
        // A name no entity kind could have is not repeated to the user.
        kind = Trim(kind);
        const bool plain = !kind.empty() && kind.size() <= 32 && std::all_of(kind.begin(), kind.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        });
        return plain ? std::string(kind) : "不明な図形";
    }
    void LeftOut(const std::string& kind) {
        auto& list = curves_.leftOut;
        auto it = std::find_if(list.begin(), list.end(), [&](const auto& k) { return k.first == kind; });
        if (it == list.end()) list.emplace_back(kind, 1);
        else ++it->second;
    }

    std::string LayerOf(const Entity& e, const std::string& outerLayer) const {
        std::string l = Upper(e.Find(8).value_or("0"));
        // Inside a block, layer 0 takes the layer of the reference.
        return l == "0" ? outerLayer : l;
    }

    bool Shown(const Entity& e, const std::string& outerLayer, bool offShows = false) const {
        if (e.Int(67, 0) == 1) return false;  // paper space
        if (e.Int(60, 0) == 1) return false;  // invisible
        const Layer* l = d_.FindLayer(LayerOf(e, outerLayer));
        return !l || !(offShows ? l->frozen : l->hidden);
    }

    int Chords(double sweep, double r, double stretch) {
        bool capped = false;
        const int n = ChordCount(sweep, r, stretch, capped);
        curves_.capped += capped;
        return n;
    }

    // Drawing units to metres.
    double M(double v) const { return v * d_.unitTimes / d_.unitPer; }
    void Add(const Vec& a, const Vec& b) {
        if (out_.size() >= kMaxDxfSegments) {
            curves_.cut = true;
            if (depth_ > 0) curves_.expansionCap = "線分" + std::to_string(kMaxDxfSegments) + "本";
            return;
        }
        out_.push_back({M(a.x), M(a.y), M(a.z), M(b.x), M(b.y), M(b.z)});
        if (status_) status_("DXF読込み:" + std::to_string(out_.size()));
    }
    void Chain(const std::vector<Vec>& world) {
        for (std::size_t i = 1; i < world.size(); ++i) Add(world[i - 1], world[i]);
    }

    void Line(const Entity& e, const Affine& toWorld) {
        auto x1 = e.Coord(10), y1 = e.Coord(20), x2 = e.Coord(11), y2 = e.Coord(21);
        auto z1 = e.Coord(30), z2 = e.Coord(31);
        if (!x1 || !y1 || !x2 || !y2) return;  // an incomplete LINE is no line
        Add(toWorld({*x1, *y1, z1.value_or(0)}), toWorld({*x2, *y2, z2.value_or(0)}));
    }

    // Points of an arc about c (in the plane z = c.z of `toWorld`'s source)
    // from angle a0 through `sweep`, the end points exactly `from` and `to`
    // when given.
    void ArcPoints(std::vector<Vec>& pts, const Affine& toWorld, const Vec& c, double r, double a0, double sweep,
                   const Vec* to) {
        const int n = Chords(sweep, M(r), toWorld.PlanStretch());
        for (int k = 1; k <= n; ++k) {
            if (k == n && to) {
                pts.push_back(toWorld(*to));
                break;
            }
            const double a = a0 + sweep * k / n;
            pts.push_back(toWorld({c.x + r * std::cos(a), c.y + r * std::sin(a), c.z}));
        }
    }

    // The chain through vertices v (own coordinates) with bulges, closed
    // when asked; the last vertex's bulge only counts for the closing segment.
    void BulgedChain(const std::vector<Vec>& v, const std::vector<double>& bulge, bool closed, const Affine& toWorld) {
        if (v.empty()) return;
        std::vector<Vec> pts{toWorld(v[0])};
        const std::size_t n = v.size();
        const std::size_t segs = closed && n >= 3 ? n : n - 1;
        for (std::size_t i = 0; i < segs; ++i) {
            const Vec& a = v[i];
            const Vec& b = v[(i + 1) % n];
            const double bu = bulge[i];
            const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
            if (bu == 0 || !(chord > 0) || !std::isfinite(bu)) {
                pts.push_back(toWorld(b));
                continue;
            }
            ++curves_.bulges;
            // bulge = tan(sweep / 4); the centre lies off the chord's middle.
            const double sweep = 4 * std::atan(bu);
            const double h = chord / 2 * (1 - bu * bu) / (2 * bu);
            const Vec c{(a.x + b.x) / 2 - h * dy / chord, (a.y + b.y) / 2 + h * dx / chord, a.z};
            ArcPoints(pts, toWorld, c, std::hypot(a.x - c.x, a.y - c.y), std::atan2(a.y - c.y, a.x - c.x), sweep, &b);
        }
        Chain(pts);
    }

    Run OpenRun(const Entity& e, const Affine& toWorld) {
        Run r;
        r.open = true;
        r.flags = e.Flags();
        if (r.flags & kPolyfaceMesh) LeftOut("ポリフェースメッシュ");
        else if (r.flags & kPolygonMesh) LeftOut("ポリゴンメッシュ");
        // 3D polylines are in world coordinates, 2D ones in their own at
        // the header's elevation.
        r.system = r.flags & kPolyline3d ? toWorld : toWorld.After(EntitySystem(e));
        r.elevation = e.Real(30, 0);
        return r;
    }
    void AddVertex(Run& run, const Entity& e) {
        auto x = e.Coord(10), y = e.Coord(20), z = e.Coord(30);
        if (!x || !y) return;
        if (e.Flags() & kFrameControlPoint) return;
        const bool flat = !(run.flags & kPolyline3d);
        run.v.push_back({*x, *y, flat ? run.elevation : z.value_or(0)});
        run.bulge.push_back(flat ? e.Real(42, 0) : 0);
    }
    void CloseRun(Run& run) {
        // Meshes are surfaces, not lines.
        if (!(run.flags & (kPolygonMesh | kPolyfaceMesh)))
            BulgedChain(run.v, run.bulge, (run.flags & kClosed) != 0, run.system);
        run = Run{};
    }

    void LwPolyline(const Entity& e, const Affine& toWorld) {
        // Each 10 starts a vertex, its 20 completes it; a 42 belongs to the
        // vertex before it.
        std::vector<Vec> v;
        std::vector<double> bulge;
        const double z = e.Real(38, 0);
        double x = 0;
        bool haveX = false;
        for (const Group& g : e.groups) {
            if (g.code == 10) {
                x = Number(g.value);
                haveX = true;
            } else if (g.code == 20 && haveX) {
                v.push_back({x, Number(g.value), z});
                bulge.push_back(0);
                haveX = false;
            } else if (g.code == 42 && !bulge.empty()) {
                bulge.back() = Number(g.value);
            }
        }
        BulgedChain(v, bulge, (e.Flags() & kClosed) != 0, toWorld.After(EntitySystem(e)));
    }

    void Arc(const Entity& e, const Affine& toWorld, bool arc) {
        auto cx = e.Coord(10), cy = e.Coord(20), r = e.Coord(40);
        if (!cx || !cy || !r || !(*r > 0)) return;
        const Affine sys = toWorld.After(EntitySystem(e));
        const Vec c{*cx, *cy, e.Real(30, 0)};
        double a0 = 0, sweep = 2 * kPi;
        if (arc) {
            a0 = Radians(e.Real(50, 0));
            // Counter-clockwise from start to end, less than a full turn.
            sweep = std::fmod(Radians(e.Real(51, 360)) - a0, 2 * kPi);
            if (sweep <= 0) sweep += 2 * kPi;
            ++curves_.arcs;
        } else {
            ++curves_.circles;
        }
        const Vec first = {c.x + *r * std::cos(a0), c.y + *r * std::sin(a0), c.z};
        std::vector<Vec> pts{sys(first)};
        ArcPoints(pts, sys, c, *r, a0, sweep, arc ? nullptr : &first);
        Chain(pts);
    }

    void Ellipse(const Entity& e, const Affine& toWorld) {
        auto cx = e.Coord(10), cy = e.Coord(20), mx = e.Coord(11), my = e.Coord(21);
        if (!cx || !cy || !mx || !my) return;
        // Centre and major axis in world coordinates; the minor axis lies
        // across it in the plane of the extrusion direction.
        const Vec c{*cx, *cy, e.Real(30, 0)}, major{*mx, *my, e.Real(31, 0)};
        const double ratio = e.Real(40, 1);
        const Affine sys = EntitySystem(e);
        const Vec minor = Cross(sys.cz, major);
        const double a = std::sqrt(major.x * major.x + major.y * major.y + major.z * major.z);
        if (!(a > 0)) return;
        const double t0 = e.Real(41, 0);
        double sweep = std::fmod(e.Real(42, 2 * kPi) - t0, 2 * kPi);
        if (sweep <= 1e-12) sweep += 2 * kPi;
        ++curves_.ellipses;
        auto at = [&](double t) {
            const double u = std::cos(t), w = std::sin(t) * ratio;
            return toWorld(
                {c.x + u * major.x + w * minor.x, c.y + u * major.y + w * minor.y, c.z + u * major.z + w * minor.z});
        };
        const int n = Chords(sweep, M(a), toWorld.PlanStretch());
        std::vector<Vec> pts;
        for (int k = 0; k <= n; ++k) pts.push_back(at(k == n && sweep >= 2 * kPi - 1e-12 ? t0 : t0 + sweep * k / n));
        Chain(pts);
    }

    // Each element line through the vertices (world coordinates): the first
    // of an element's parameters at a vertex is its distance along the
    // vertex's miter direction.
    void Mline(const Entity& e, const Affine& toWorld) {
        struct Vertex {
            Vec at, miter;
            std::vector<double> offset;  // by element; NaN when not given
        };
        std::vector<Vertex> vs;
        bool offsetNext = false;
        for (const Group& g : e.groups) {
            if (g.code == 11) vs.emplace_back();
            if (vs.empty()) continue;
            Vertex& v = vs.back();
            switch (g.code) {
            case 11: v.at.x = Number(g.value); break;
            case 21: v.at.y = Number(g.value); break;
            case 31: v.at.z = Number(g.value); break;
            case 13: v.miter.x = Number(g.value); break;
            case 23: v.miter.y = Number(g.value); break;
            case 33: v.miter.z = Number(g.value); break;
            case 74:
                v.offset.push_back(std::nan(""));
                offsetNext = Integer(g.value) > 0;
                break;
            case 41:
                if (offsetNext && !v.offset.empty()) v.offset.back() = Number(g.value);
                offsetNext = false;
                break;
            default: break;
            }
        }
        if (vs.size() < 2) return;
        const bool closed = (e.Int(71, 0) & 2) != 0;
        for (std::size_t k = 0; k < vs.front().offset.size(); ++k) {
            std::vector<Vec> pts;
            for (const Vertex& v : vs) {
                if (k >= v.offset.size() || std::isnan(v.offset[k])) {
                    Chain(pts);
                    pts.clear();
                    continue;
                }
                const double o = v.offset[k];
                pts.push_back(toWorld({v.at.x + o * v.miter.x, v.at.y + o * v.miter.y, v.at.z + o * v.miter.z}));
            }
            if (closed && pts.size() == vs.size()) pts.push_back(pts.front());
            Chain(pts);
        }
    }

    void Insert(const Entity& e, const Affine& toWorld, const std::string& layer, int depth) {
        const std::string name = e.Name();
        // Dimension graphics and paper space layouts are no part of the
        // section, nor is a layer frozen for the whole reference.
        if (name.rfind("*D", 0) == 0 || name.rfind("*PAPER_SPACE", 0) == 0 || name == "$PAPER_SPACE") return;
        auto it = d_.blocks.find(name);
        if (it == d_.blocks.end() || depth >= kMaxNesting) return;
        const Block& b = it->second;
        const Affine sys = toWorld.After(EntitySystem(e));
        const Vec at{e.Real(10, 0), e.Real(20, 0), e.Real(30, 0)};
        const Affine place = Move(at).After(Turn(Radians(e.Real(50, 0))));
        const Affine own =
            Scale(e.Real(41, 1), e.Real(42, 1), e.Real(43, 1)).After(Move({-b.base.x, -b.base.y, -b.base.z}));
        const long long cols = std::max(1LL, e.Int(70, 1)), rows = std::max(1LL, e.Int(71, 1));
        if (cols * rows > kMaxGridCopies) return;
        const double dc = e.Real(44, 0), dr = e.Real(45, 0);
        for (long long r = 0; r < rows; ++r)
            for (long long c = 0; c < cols; ++c) {
                const Affine grid = Move({static_cast<double>(c) * dc, static_cast<double>(r) * dr, 0});
                Entities(b.entities, sys.After(place).After(grid).After(own), layer, depth + 1);
            }
    }

    const Drawing& d_;
    std::vector<DxfSegment>& out_;
    const DxfStatusFn& status_;
    DxfCurves& curves_;
    long long visits_ = 0;
    int depth_ = 0;
    Run modelRun_;
};

// Sorts the records of the file, as they are read, into the header's
// units, the layer table, the block definitions and the entities, which
// go to the collector at once. Records outside any section are entities,
// as in the oldest files. The entities need the header, layers and blocks
// before them, as writers put them; a file that gives any of those after
// entities already handed on is read a second time for its entities only
// (`late`), so that its order changes nothing that lands.
class Sorter {
public:
    enum class Pass { Whole, EntitiesOnly };
    Sorter(Drawing& d, SegmentCollector* c, Pass pass) : d_(d), c_(c), pass_(pass) {}

    bool late() const { return late_; }

    void Record(Entity&& r) {
        if (r.name == "SECTION") {
            // The header's variables follow the name in the same record.
            section_ = r.Name();
            const bool defines = section_ == "HEADER" || section_ == "TABLES" || section_ == "BLOCKS";
            if (defines && handedOn_ && pass_ == Pass::Whole) late_ = true;
            if (section_ == "HEADER" && pass_ == Pass::Whole) ReadHeader(r, d_);
            return;
        }
        if (r.name == "ENDSEC") {
            section_.clear();
            table_.clear();
            block_ = nullptr;
            return;
        }
        if (section_.empty() || section_ == "ENTITIES") {
            handedOn_ = true;
            if (c_ && !late_) c_->ModelEntity(r);
            return;
        }
        if (pass_ == Pass::EntitiesOnly) return;
        if (section_ == "TABLES") {
            if (r.name == "TABLE") table_ = r.Name();
            if (r.name != "LAYER" || table_ != "LAYER") return;
            Layer l;
            l.frozen = (r.Flags() & kFrozen) != 0;
            l.hidden = l.frozen || r.Int(62, 7) < 0;
            d_.layers[r.Name()] = l;
        } else if (section_ == "BLOCKS") {
            if (r.name == "BLOCK") {
                Block& b = d_.blocks[r.Name()];
                b = Block{{r.Real(10, 0), r.Real(20, 0), r.Real(30, 0)}, {}};
                block_ = &b;
            } else if (r.name == "ENDBLK") {
                block_ = nullptr;
            } else if (block_) {
                block_->entities.push_back(std::move(r));
            }
        }
    }

private:
    Drawing& d_;
    SegmentCollector* c_;
    Pass pass_;
    std::string section_, table_;
    Block* block_ = nullptr;
    bool handedOn_ = false, late_ = false;
};

// The lines of a text one at a time: each ends at LF, CR LF or a CR alone.
class LineReader {
public:
    explicit LineReader(std::string_view text) : t_(text) {}
    bool Next(std::string_view& line) {
        if (at_ >= t_.size()) return false;
        const std::size_t e = t_.find_first_of("\r\n", at_);
        if (e == std::string_view::npos) {
            line = t_.substr(at_);
            at_ = t_.size();
            return true;
        }
        line = t_.substr(at_, e - at_);
        at_ = e + 1;
        if (t_[e] == '\r' && at_ < t_.size() && t_[at_] == '\n') ++at_;
        return true;
    }

private:
    std::string_view t_;
    std::size_t at_ = 0;
};

// Far beyond any section drawing, with every layer of the survey it came
// from; a larger file is refused unread.
constexpr std::uintmax_t kMaxDxfBytes = 256u * 1024u * 1024u;
constexpr const char* kReadDxfMsg = "ファイル読み込みエラーが発生しました。";

bool SameLine(const BoundaryLine& l, i16 a, i16 b) { return (l.pt1 == a && l.pt2 == b) || (l.pt1 == b && l.pt2 == a); }

// Reads the text's groups, one record at a time into `sorter`; false when
// the text is not a DXF file.
bool ReadRecords(std::string_view text, Sorter& sorter) {
    LineReader lines(text);
    Entity cur;
    bool inEntity = false, inAppGroup = false;
    std::string_view codeLine, value;
    while (lines.Next(codeLine)) {
        long long code = 0;
        if (!ParseInt(Trim(codeLine), -32768, 32767, code)) return false;
        if (!lines.Next(value)) return false;
        if (code == 102) {
            // An application's own groups ("{NAME" to "}") hold codes of
            // its choosing: none is the entity's.
            inAppGroup = !Trim(value).empty() && Trim(value).front() == '{';
            continue;
        }
        if (code != 0) {
            if (inEntity && !inAppGroup) cur.groups.push_back({static_cast<int>(code), value});
            continue;
        }
        inAppGroup = false;
        if (inEntity) sorter.Record(std::move(cur));
        if (value == "EOF") {
            // Nothing but the old end-of-file character may follow.
            std::string_view rest;
            while (lines.Next(rest))
                if (!Trim(rest).empty() && Trim(rest) != "\x1A") return false;
            return true;
        }
        cur = Entity{value, {}};
        inEntity = true;
    }
    // A drawing ends with its EOF marker: without it the file was cut,
    // perhaps inside its last coordinate.
    return false;
}

}  // namespace

bool ReadDxfSegments(std::string_view text, std::vector<DxfSegment>& out, const DxfStatusFn& status,
                     DxfCurves* curves) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    DxfCurves counted;
    if (text.substr(0, 18) == "AutoCAD Binary DXF") {
        counted.binary = true;
        if (curves) *curves = counted;
        return false;
    }
    // A text of blank lines is an empty drawing.
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return true;

    const std::size_t given = out.size();
    try {
        Drawing d;
        auto collector = std::make_unique<SegmentCollector>(d, out, status, counted);
        Sorter whole(d, collector.get(), Sorter::Pass::Whole);
        if (!ReadRecords(text, whole)) return false;
        if (whole.late()) {
            // What was collected before the late definitions went without them.
            out.resize(given);
            counted = DxfCurves{};
            collector = std::make_unique<SegmentCollector>(d, out, status, counted);
            Sorter entities(d, collector.get(), Sorter::Pass::EntitiesOnly);
            if (!ReadRecords(text, entities)) return false;
        }
        collector->EndModel();
        counted.unknownUnit = d.unknownUnit;
        counted.insunits = d.insunits;
        counted.unitMetres = d.unitTimes / d.unitPer;
        if (curves) *curves = counted;
    } catch (const ReadError&) {
        return false;
    }
    return true;
}

namespace {

// "円弧2個、円1個" for the counts that are not 0.
std::string CountList(std::initializer_list<std::pair<const char*, int>> kinds) {
    std::string out;
    for (auto [name, n] : kinds) {
        if (n == 0) continue;
        if (!out.empty()) out += "、";
        out += name + std::to_string(n) + "個";
    }
    return out;
}

// The message that tells what the imported lines differ from the drawing
// by; empty when they are the drawing.
std::string ImportNotes(const DxfCurves& c, const Model& s) {
    std::vector<std::string> parts;
    const std::string approx =
        CountList({{"円弧", c.arcs}, {"円", c.circles}, {"楕円", c.ellipses}, {"ポリラインの円弧", c.bulges}});
    if (!approx.empty()) parts.push_back("曲線を線分で近似して取り込みました（" + approx + "）。");
    if (c.capped > 0)
        parts.push_back("線分の数が上限の" + std::to_string(kMaxDxfChords) +
                        "本に達したため、0.01mを超えて離れた線分がある曲線があります（" + std::to_string(c.capped) +
                        "個）。");
    std::string left;
    for (const auto& [kind, n] : c.leftOut) left += (left.empty() ? "" : "、") + kind + std::to_string(n) + "個";
    if (!left.empty()) parts.push_back("次の図形は取り込んでいません（" + left + "）。");
    // The line tools refuse a tenth line at a point: say so now, not when a
    // palette opens.
    std::vector<int> crowded;
    for (int p = 0; p < s.BndPtCount; ++p) {
        int n = 0;
        for (int i = 0; i < s.BndLineCount; ++i) {
            const BoundaryLine& l = s.BndLine[static_cast<std::size_t>(i)];
            n += (l.pt1 == p) + (l.pt2 == p);
        }
        if (n > kMaxLinesAtPoint) crowded.push_back(p + 1);
    }
    if (!crowded.empty()) {
        std::string pts;
        for (std::size_t i = 0; i < crowded.size() && i < 5; ++i) pts += (i ? "、" : "") + std::to_string(crowded[i]);
        if (crowded.size() > 5) pts += " ほか" + std::to_string(crowded.size() - 5) + "点";
        parts.push_back("10本以上の線が接続する境界点があります（境界点" + pts + "）。1つの境界点に接続できる線は" +
                        std::to_string(kMaxLinesAtPoint) + "本までです。");
    }
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "\r") + p;
    return text;
}

// The names users know $INSUNITS lengths by (metres never said).
const char* UnitName(long long insunits) {
    switch (insunits) {
    case 1: return "インチ";
    case 2: return "フィート";
    case 3: return "マイル";
    case 4: return "ミリメートル";
    case 5: return "センチメートル";
    case 7: return "キロメートル";
    case 8: return "マイクロインチ";
    case 9: return "ミル";
    case 10: return "ヤード";
    case 11: return "オングストローム";
    case 12: return "ナノメートル";
    case 13: return "マイクロメートル";
    case 14: return "デシメートル";
    case 15: return "デカメートル";
    case 16: return "ヘクトメートル";
    case 17: return "ギガメートル";
    case 18: return "天文単位";
    case 19: return "光年";
    case 20: return "パーセク";
    case 21: return "米国測量フィート";
    case 22: return "米国測量インチ";
    case 23: return "米国測量ヤード";
    case 24: return "米国測量マイル";
    default: return nullptr;
    }
}

// A number in fixed notation with at most `decimals` decimals, trailing
// zeros dropped: never an exponent, which a user could misread by the
// very factor this is meant to show.
std::string Fixed(double v, int decimals) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(decimals, 0, 40), v);
    std::string t = buf;
    if (t.find('.') != std::string::npos) {
        while (t.back() == '0') t.pop_back();
        if (t.back() == '.') t.pop_back();
    }
    return t == "-0" ? "0" : t;
}
// Decimals that leave `digits` significant digits of v.
int DecimalsFor(double v, int digits) {
    return v > 0 ? digits - 1 - static_cast<int>(std::floor(std::log10(v))) : 0;
}
// Metres per drawing unit to 10 digits.
std::string Factor(double v) { return Fixed(v, DecimalsFor(v, 10)); }
// A landed width or height: to the millimetre, and a size below a metre
// to 3 digits, so that a drawing landed a thousand times too small does
// not read as 0.
std::string Extent(double v) { return Fixed(v, std::max(3, DecimalsFor(v, 3))); }

// What the drawing's unit did to it: converted or assumed, with the extent
// that landed, so that a size a thousand times off is seen at once. Empty
// for a drawing in metres.
std::string UnitNotes(const DxfCurves& c, const Model& s) {
    std::string text;
    if (c.unknownUnit) {
        text = "図面の単位（$INSUNITS=" + std::to_string(*c.unknownUnit) +
               "）が長さの単位ではないため、メートルとして取り込みました。";
    } else if (const char* name = UnitName(c.insunits))
        text = std::string("図面の単位の") + name + "（" + Factor(c.unitMetres) +
               "m）をメートルに換算して取り込みました。";
    else if (c.insunits <= 0)
        text = "図面に単位の指定がないため、メートルとして取り込みました。";
    else
        return "";
    if (s.BndPtCount > 0) {
        double x0 = s.BndPt[0].X, x1 = x0, y0 = s.BndPt[0].Y, y1 = y0;
        for (int i = 1; i < s.BndPtCount; ++i) {
            const BoundaryPoint& p = s.BndPt[static_cast<std::size_t>(i)];
            x0 = std::min(x0, p.X), x1 = std::max(x1, p.X), y0 = std::min(y0, p.Y), y1 = std::max(y1, p.Y);
        }
        text += (text.empty() ? "" : "\r") + std::string("取り込んだ範囲は幅") + Extent(x1 - x0) + "m×高さ" +
                Extent(y1 - y0) + "mです。";
    }
    return text;
}

// The whole summary: the unit first, then what differs from the drawing.
std::string Summary(const DxfCurves& c, const Model& s) {
    std::string unit = UnitNotes(c, s), rest = ImportNotes(c, s);
    if (unit.empty() || rest.empty()) return unit + rest;
    return unit + "\r" + rest;
}

}  // namespace

DxfImport ImportDxf(Model& m, const std::filesystem::path& appPath, const std::filesystem::path& path, MessageSink& ui,
                    const DxfStatusFn& status, std::string* notes) {
    if (notes) notes->clear();
    // The whole file is read before the model is touched, so a file that
    // cannot be read leaves the model as it was.
    std::string bytes;
    std::vector<DxfSegment> segs;
    DxfCurves curves;
    auto refuse = [&](const std::string& why) {
        if (status) status("");
        ui.Notify(why);
        return DxfImport::ReadError;
    };
    try {
        // The opening rule of every reader: a FIFO or a folder in the file's
        // place, or a file beyond the cap, is refused by name before any read.
        bytes = ReadFileBytes(path, kMaxDxfBytes);
    } catch (const FileFault& bad) {
        return refuse(kReadDxfMsg + FaultDetail(bad));
    }
    if (!ReadDxfSegments(bytes, segs, status, &curves)) {
        if (curves.binary)
            return refuse("バイナリ形式のDXFファイルは読み込めません。ASCII形式のDXFファイルとして保存し直してください。");
        return refuse(kReadDxfMsg);
    }
    bytes = std::string();
    // Part of a reference's expansion would be as silent a loss as a wrong
    // unit: the drawing is refused whole.
    if (!curves.expansionCap.empty())
        return refuse("ブロック参照の展開が上限（" + curves.expansionCap +
                      "）を超えたため、図面を取り込みませんでした。");
    // A point the project file could not hold would make the project
    // impossible to open again once saved. The file itself was read.
    for (const DxfSegment& g : segs) {
        for (auto [v, item] : {std::pair{g.X1, Item::X}, {g.Y1, Item::Y}, {g.X2, Item::X}, {g.Y2, Item::Y}}) {
            if (!WithinLimit(item, v)) return refuse(LimitFileText(item));
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
        if (status) status("");
        // No extent to show; what was there and not taken is still told.
        const std::string said = ImportNotes(curves, s);
        ui.Notify("DXFファイルに取り込める線分がありません。" + (said.empty() ? "" : "\r" + said));
        return DxfImport::NothingImported;
    }
    m = s;
    // A drawing that held more than was collected did not come in whole.
    full = full || curves.cut;
    if (full) ui.Notify("要素数が500を超えました。");
    const std::string said = Summary(curves, s);
    if (notes) *notes = said;
    else if (!said.empty()) ui.Notify(said);
    return full ? DxfImport::LimitReached : DxfImport::Imported;
}

}  // namespace kova
