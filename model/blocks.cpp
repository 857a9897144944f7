#include "model/blocks.hpp"

#include <cmath>
#include <cstddef>
#include <utility>

#include "model/geometry.hpp"
#include "model/trace.hpp"

namespace kova {

namespace {

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

struct TableRef {
    BlockTable* table;
    i16* count;
};

TableRef TableOf(Model& m, i16 kind) {
    switch (kind) {
    case kKindEmbankment: return {&m.Embankment, &m.EmbankmentCount};
    case kKindSoilLayer: return {&m.SoilLayer, &m.SoilLayerCount};
    case kKindCut: return {&m.CutBlock, &m.CutCount};
    default: return {nullptr, nullptr};
    }
}

// A count read from a file may claim more than the table holds.
int UsedCount(i16 count) { return count < 0 ? 0 : (count > kMaxBlocks + 1 ? kMaxBlocks + 1 : count); }

void StoreOutline(SoilBlock& b, double CX, double CY, const Outline& o) {
    for (int i = 0; i <= o.n; ++i) {
        b.PX[Idx(i)] = o.X[Idx(i)];
        b.PY[Idx(i)] = o.Y[Idx(i)];
    }
    b.CX = CX;
    b.CY = CY;
    b.nPt = o.n;
}

bool OutlineFits(const Outline& o) { return o.n > 0 && o.n <= kMaxVertices; }

// True when the label point of some block of the table lies inside o.
bool EnclosesLabel(const BlockTable& table, i16 count, const Outline& o) {
    for (int i = 0; i < UsedCount(count); ++i) {
        const SoilBlock& b = table[Idx(i)];
        if (PointInRegion(b.CX, b.CY, o.X.data(), o.Y.data(), o.n) == 1) return true;
    }
    return false;
}

}  // namespace

bool SetBlockShape(Model& m, i16 kind, double CX, double CY, const Outline& o, i16 k) {
    TableRef t = TableOf(m, kind);
    if (!OutlineFits(o) || k < 0 || k >= UsedCount(*t.count) || k >= kMaxBlocks) return false;
    StoreOutline((*t.table)[Idx(k)], CX, CY, o);
    return true;
}

bool AddBlock(Model& m, i16 kind, double CX, double CY, const Outline& o) {
    TableRef t = TableOf(m, kind);
    if (!OutlineFits(o) || *t.count >= kMaxBlocks || *t.count < 0) return false;
    if (kind == kKindCut) {
        if (EnclosesLabel(m.CutBlock, m.CutCount, o)) return false;
    } else {
        if (EnclosesLabel(m.Embankment, m.EmbankmentCount, o)) return false;
        if (EnclosesLabel(m.SoilLayer, m.SoilLayerCount, o)) return false;
    }
    StoreOutline((*t.table)[Idx(*t.count)], CX, CY, o);
    ++*t.count;
    return true;
}

BlockRef NearestBlock(const Model& m, double x, double y, i16 Group) {
    if (Group == kGroupFill) {
        double dE = 0, dS = 0;
        i16 iE = NearestBlockCentre(x, y, m.Embankment, m.EmbankmentCount, dE);
        i16 iS = NearestBlockCentre(x, y, m.SoilLayer, m.SoilLayerCount, dS);
        if (iE < 0 && iS < 0) return {};
        if (iS < 0) return {kKindEmbankment, iE};
        if (iE < 0) return {kKindSoilLayer, iS};
        if (dE < dS) return {kKindEmbankment, iE};
        return {kKindSoilLayer, iS};
    }
    if (Group == kGroupCut) {
        double d = 0;
        i16 i = NearestBlockCentre(x, y, m.CutBlock, m.CutCount, d);
        if (i < 0) return {};
        return {kKindCut, i};
    }
    return {};
}

const SoilBlock& BlockAt(const Model& m, BlockRef b) {
    const BlockTable& t = b.kind == kKindEmbankment  ? m.Embankment
                          : b.kind == kKindSoilLayer ? m.SoilLayer
                                                     : m.CutBlock;
    return t.at(Idx(b.index));
}

i16 NearestBlockCentre(double x, double y, const BlockTable& table, i16 count, double& Dist) {
    auto centre = [&](int i) { return std::pair{table[Idx(i)].CX, table[Idx(i)].CY}; };
    return static_cast<i16>(NearestWithin(x, y, 10, UsedCount(count), centre, Dist));
}

bool RemoveBlockAt(Model& m, i16 Kind, i16 r) {
    TableRef t = TableOf(m, Kind);
    if (t.table == nullptr) return false;
    const int count = UsedCount(*t.count);
    if (r < 0 || r >= count) return false;
    BlockTable& tab = *t.table;
    // Entry count-1 takes the first free slot (a table has one slot more
    // than its largest count); with an over-full table the last slot stays.
    for (int i = r; i < count && i + 1 <= kMaxBlocks; ++i) {
        tab[Idx(i)] = tab[Idx(i + 1)];
        if (Kind == kKindSoilLayer) {
            m.SoilParam[Idx(i)] = m.SoilParam[Idx(i + 1)];
            m.ELogPCurve[Idx(i)] = m.ELogPCurve[Idx(i + 1)];
            m.MvCurve[Idx(i)] = m.MvCurve[Idx(i + 1)];
            m.CvCurve[Idx(i)] = m.CvCurve[Idx(i + 1)];
            m.DrainMethod[Idx(i)] = m.DrainMethod[Idx(i + 1)];
        }
    }
    *t.count = static_cast<i16>(count - 1);
    return true;
}

}  // namespace kova
