#pragma once
// Import of a DXF drawing (text form) as boundary points and boundary lines:
// what the drawing shows in model space, in metres.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

struct DxfSegment {
    double X1 = 0, Y1 = 0, Z1 = 0;
    double X2 = 0, Y2 = 0, Z2 = 0;
};

// Called after each segment read with the status text "DXF読込み:<count>".
using DxfStatusFn = std::function<void(const std::string&)>;

// What of a drawing did not come in as drawn: curves approximated by
// straight segments (and those that needed more than kMaxDxfChords), the
// entities shown in model space that were left out, by kind in order of
// first appearance (annotation such as texts, points, dimensions,
// viewports and attributes is not counted), a $INSUNITS that names no
// length (the drawing is then taken as metres), and whether the drawing
// held more than the collection takes (kMaxDxfSegments segments, or block
// references nested into more work than a section can need; then
// expansionCap names the cap the expansion passed). Also the unit applied
// ($INSUNITS as given, -1 when not, and metres per drawing unit) and
// whether the file was a binary DXF, which is not read.
struct DxfCurves {
    int arcs = 0, circles = 0, ellipses = 0, bulges = 0;  // approximated
    int capped = 0;
    std::vector<std::pair<std::string, int>> leftOut;
    std::optional<long long> unknownUnit;
    bool cut = false;
    std::string expansionCap;
    long long insunits = -1;
    double unitMetres = 1;
    bool binary = false;
};
inline constexpr std::size_t kMaxDxfSegments = 100000;
inline constexpr int kMaxDxfChords = 360;

// Collects the straight segments a DXF text shows in model space, in
// metres ($INSUNITS; a drawing without units is in metres), in reading
// order: LINE entities (used only when 10, 20, 11 and 21 were all given),
// the vertex runs of POLYLINE entities and LWPOLYLINE entities (a closed one
// with its closing segment), with their arc segments (bulges), ARC, CIRCLE
// and ELLIPSE approximated by chords within 0.01 m; each element line of an
// MLINE from vertex to vertex (caps and breaks are not drawn); block
// references (INSERT, MINSERT, nested) expanded where they are placed; every
// entity in its own coordinate system (extrusion direction). Left out: block
// definitions as such, dimensions, paper space, entities on layers that are
// off or frozen, invisible entities, and every other kind (counted in
// `curves`). The sections may come in any order; lines end at LF, CR LF
// or a CR alone. An entity ends at the next group code 0. False when the
// text is not a DXF file: a group code that is not an integer, a code
// without its value line, or a number that is not one.
bool ReadDxfSegments(std::string_view text, std::vector<DxfSegment>& out, const DxfStatusFn& status = {},
                     DxfCurves* curves = nullptr);

enum class DxfImport {
    Imported,         // every segment converted
    LimitReached,     // stopped at 500 points or lines; what fitted is kept
    NothingImported,  // no line in the drawing; the model is unchanged
    ReadError,        // the file could not be read, or block references
                      // expanded past the cap; the model is unchanged
};

// Replaces the model by the lines of the drawing at `path`: the model is
// reset (sand curves from appPath) and every segment becomes a boundary line
// between boundary points, end points within 0.0001 m merged. Zero-length
// and repeated segments are skipped. The model changes only when at least
// one line was imported; every outcome but Imported has been told the user.
// What the lines differ from the drawing by (a unit converted or assumed
// with the extent that landed, curves approximated, kinds left out, points
// with more lines than the line tools allow) is one more message: into
// `notes` for the caller to show when given, else shown here. When nothing
// landed the kinds left out follow the refusal in its message (no unit:
// nothing was converted). A drawing
// whose block references expand past the collection's caps is refused
// whole. A refusal ends with an empty status text, so that no count of
// segments read stands for what did not land.
DxfImport ImportDxf(Model& m, const std::filesystem::path& appPath, const std::filesystem::path& path, MessageSink& ui,
                    const DxfStatusFn& status = {}, std::string* notes = nullptr);

}  // namespace kova
