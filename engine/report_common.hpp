#pragma once
// Shared pieces of the engine's report and drawing writers: the run's date
// stamp, file names, and the scale and content of the cross-section drawing
// that the condition report's section plan and the settlement profile
// drawings share.
//
// The writers raise print::PrintFileError when a file cannot be written;
// the run's report hooks turn that into a message and exit code 1.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/data.hpp"
#include "print/drawing_file.hpp"
#include "print/page_file.hpp"

namespace kova::engine {

print::DateStamp report_stamp(const RunStamp& s);

// folder / name.
std::filesystem::path report_path(const EngineState& st, std::string_view name);

// A page file of the run, with the engine's date line. Both go into
// st.report_files when it is set.
print::PageWriter open_report_page(const EngineState& st, std::string_view name,
                                   std::string_view title);
// A drawing file of the run.
print::DrawingWriter open_report_drawing(const EngineState& st, std::string_view name,
                                         std::string_view sizeLine);

// Byte length of a label in code page 932.
int label_bytes(std::string_view text);

// One real in a fixed print format; a negative zero prints as zero, never
// as "-0.000". A value that is not finite is never printed: it throws
// NonFiniteReportValue.
std::string real_text(const char* fmt, double v);

// The caption of a settlement method. Without the switch of the sand's
// immediate settlement (sandFlag other than 1) an immediate method computes
// nothing and reads as a non-consolidating layer.
const char* method_text(int method, int sandFlag = 1);
// The caption of a soil kind: clay (0) or sand.
const char* kind_text(int soilKind);

class NonFiniteReportValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bounds of the repeated marks of a drawing (fill lines, ticks). A sound
// section needs a few hundred at most; the bound only keeps absurd input
// (a load of a million kN, a section kilometres wide) from running for ever.
inline constexpr int kMaxFillLines = 10000;
inline constexpr int kMaxScaleSteps = 2000;

// Drawing integer of a computed real, truncated towards zero and clamped.
inline int dint(double v) { return print::ToDrawingInt(v); }

// Scale of the section drawing, turned a quarter turn on the sheet: the
// section's X runs up the sheet, elevation falls towards the axis x = 2850.
// A section point (X, Y) is drawn at (v(Y), -u(X)) from the origin
// (g + 400, 6000 - f).
struct SectionScale {
    bool valid = false;   // false: no soil layer, nothing to scale
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    double sx = 0, sy = 0;
    int f = 0, g = 0;
    int u(double X) const { return dint((X - xmin) * sx); }
    int v(double Y) const { return dint((ymax - Y) * sy); }
    int ox() const { return g + 400; }
    int oy() const { return 6000 - f; }
};
SectionScale section_scale(const CalcInput& in);

// The sheet frame and the section axes (type 0, pen 2).
void draw_section_frame(print::DrawingWriter& w);
// Soil layers, load blocks, cut blocks (when the cut flag is set) and the
// point, line and strip loads.
void draw_section_blocks_and_loads(print::DrawingWriter& w, const CalcInput& in,
                                   const SectionScale& sc);
// Abscissa ticks along the axis x = 2850; twice: also along x = 2960..3000.
void draw_abscissa_scale(print::DrawingWriter& w, const SectionScale& sc, bool twice);
// Elevation ticks along the bottom axis.
void draw_elevation_scale(print::DrawingWriter& w, const SectionScale& sc);
// The mark of abscissa X across the section: a line (type 3, pen 1) from
// the section's bottom axis to `end`, with a closed arrow head at each end
// (type 0, pen 1). Clipped to the sheet's frame; false, with nothing drawn,
// when the abscissa lies off the sheet.
bool draw_abscissa_mark(print::DrawingWriter& w, const SectionScale& sc, double X, int end);
// " 地", " 形", " 図" and "(m)".
void draw_section_captions(print::DrawingWriter& w);

}  // namespace kova::engine
