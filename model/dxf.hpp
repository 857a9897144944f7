#pragma once
// Import of the straight lines of a DXF drawing (text form) as boundary
// points and boundary lines.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
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

// Collects the straight segments of a DXF text in reading order: LINE
// entities (used only when 10, 20, 11 and 21 were all given), the vertex
// runs of POLYLINE entities and LWPOLYLINE entities (a closed one with its
// closing segment). An entity ends at the next group code 0. False when the
// text is not a DXF file: a group code that is not an integer, a code
// without its value line, or a coordinate that is not a number.
bool ReadDxfSegments(std::string_view text, std::vector<DxfSegment>& out, const DxfStatusFn& status = {});

enum class DxfImport {
    Imported,         // every segment converted
    LimitReached,     // stopped at 500 points or lines; what fitted is kept
    NothingImported,  // no line in the drawing; the model is unchanged
    ReadError,        // the file could not be read; the model is unchanged
};

// Replaces the model by the lines of the drawing at `path`: the model is
// reset (sand curves from appPath) and every segment becomes a boundary line
// between boundary points, end points within 0.0001 m merged. Zero-length
// and repeated segments are skipped. The model changes only when at least
// one line was imported; every outcome but Imported has been told the user.
DxfImport ImportDxf(Model& m, const std::filesystem::path& appPath, const std::filesystem::path& path,
                    MessageSink& ui, const DxfStatusFn& status = {});

}  // namespace kova
