#include "editing/results.hpp"

#include <algorithm>
#include <memory>
#include <string>

#include "textio/fieldfile.hpp"

namespace kova {

namespace {

// Exactly count lines of three finite numbers, each line with its line end:
// the engine writes them so, and anything else (a file cut inside its last
// number, a short one, rows or junk after them) is no whole result.
bool ReadRows(const std::filesystem::path& file, ResultRow* rows, int count) {
    try {
        // count lines of three numbers, none near 1 KB.
        const std::string text = DecodeCp932Text(ReadFileBytes(file, 1024u * (static_cast<std::uintmax_t>(count) + 16u)));
        ReadFields(text, [&](FieldFile& f) {
            for (int i = 0; i < count; ++i) {
                LineFields l = f.NextLine();
                ResultRow row;
                row.x = l.Real();
                row.y = l.Real();
                row.v = l.Real();
                l.End();
                rows[i] = row;
            }
        });
    } catch (const FileFault&) {
        return false;
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
