#include "editor/results.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "textio/listline.hpp"

namespace kova {

namespace {

bool ReadRows(const std::filesystem::path& file, ResultRow* rows, int count) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    FieldReader r(std::move(text));
    for (int i = 0; i < count; ++i) {
        ResultRow row;
        // Real refuses text that is not wholly a finite number.
        if (!r.Real(row.x) || !r.Real(row.y) || !r.Real(row.v)) return false;
        rows[i] = row;
    }
    return true;
}

}  // namespace

bool ReadResults(const std::filesystem::path& folder, Model& m) {
    const int positions = std::clamp<int>(m.CalcPosCount, 0, kMaxCalcPos);
    auto surface = std::make_unique<std::array<ResultRow, kProfileRows>>();
    std::array<ResultRow, kMaxCalcPos> atPositions{};
    if (!ReadRows(folder / kProfileFile, surface->data(), kProfileRows)) return false;
    if (!ReadRows(folder / kPositionFile, atPositions.data(), positions)) return false;
    std::copy(surface->begin(), surface->end(), m.SettledSurface.begin());
    for (int i = 0; i < kMaxCalcPos; ++i) {
        ResultRow row = i < positions ? atPositions[static_cast<std::size_t>(i)] : ResultRow{0, 0, -1};
        // No soil under the position: the engine said so and computed
        // nothing there; its 0 is no settlement to show.
        if (row.y <= kNoGround) row.v = -1;
        m.CalcPosResult[static_cast<std::size_t>(i)] = row;
    }
    return true;
}

void ClearResults(Model& m) {
    for (int i = 0; i < kProfileRows; ++i) m.SettledSurface[static_cast<std::size_t>(i)] = ResultRow{};
    for (int i = 0; i < kMaxCalcPos; ++i) m.CalcPosResult[static_cast<std::size_t>(i)] = ResultRow{0, 0, -1};
}

}  // namespace kova
