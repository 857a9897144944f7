#pragma once
// The viewer's own diagram that the position reports name beside their time
// tables: how the table reads (settlement against time, the days at which
// 10 ... 90 % of the final settlement are reached). Written in the drawing
// grammar and read by the same reader as every drawing file.
#include <string>

#include "viewer/reader/reader.hpp"

namespace kova::viewer {

// The diagram as drawing-file text (UTF-8).
std::string OwnTimeDiagramText();

// The diagram read once.
const DrawingFile& OwnTimeDiagram();

}  // namespace kova::viewer
