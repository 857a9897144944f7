#pragma once
// The properties every input file must keep, whatever its bytes: checked by
// the fuzz targets on mutated files and by the corpus test on the committed
// hostile files and the golden files.
//
// Each check takes the bytes of one file and a scratch folder of its own
// (files in it are replaced), and returns "" when the property holds,
// otherwise what broke it. A crash or a sanitizer report is a finding too.
#include <filesystem>
#include <string>
#include <string_view>

namespace kova::fuzz {

// A project file either is refused with a message, or reads, writes back,
// reads again to the same model and writes the same bytes.
std::string CheckProjectFile(std::string_view bytes, const std::filesystem::path& scratch);

// The same for the sand-curve table BKHough1.CSV.
std::string CheckSandCurveFile(std::string_view bytes, const std::filesystem::path& scratch);

// The same for an observation file (*.tlm); then the prediction of every
// station either is refused or gives finite results and drawings.
std::string CheckObservationFile(std::string_view bytes, const std::filesystem::path& scratch);

// An engine run on CAL_TNK.DAT ends with 1 after a message, or with 0 and
// result tables of finite numbers only (1000 profile rows) and reports that
// print no "nan" or "inf"; every settlement of the tables is the sum of its
// column's layers, none of which settles its thickness or more or rises
// while its load increases. Every figure printed beside the final one keeps
// its rules: no number prints as "-0.000", and every settlement of the
// tables and of a position's page (the stages' layers and totals, the time
// tables) is a number not below zero and not above the position's final
// settlement; the stages' values only grow (no rebound), the last is the
// final one, and no degree of the overall time table passes its unit's.
// No loading stage without a negative load lowers the stress of a layer
// under any calculation position.
std::string CheckEngineRun(std::string_view bytes, const std::filesystem::path& scratch);

// A DXF import either changes nothing or leaves a model that saves as a
// project file that opens again.
std::string CheckDxfImport(std::string_view bytes, const std::filesystem::path& scratch);

// A page file (and the same bytes as each drawing it names, and as a drawing
// on their own) reads as far as it can: a fault names a line of the file,
// and the pages lay out and paint with finite coordinates only.
std::string CheckPageFile(std::string_view bytes, const std::filesystem::path& scratch);

}  // namespace kova::fuzz
