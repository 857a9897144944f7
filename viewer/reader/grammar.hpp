#pragma once
// The line grammar of the viewer's page files (*.PDT) and drawing files
// (*.PZK) as the reader needs it: the one place that names its markers,
// columns and limits. The writers of print/ emit the same grammar.
#include <string_view>

#include "print/drawing_file.hpp"

namespace kova::viewer {

// Page files.
inline constexpr std::string_view kNewPageMark = "$1";
inline constexpr std::string_view kSamePageMark = "$0";
inline constexpr std::string_view kReserveMark = "$R";
// Columns counted from 1: the form name from column 5, the drawing from 21.
inline constexpr std::size_t kFormNameColumn = 5;
inline constexpr std::size_t kDrawingColumn = 21;
inline constexpr int kLastFieldNumber = 19;

// Drawing files.
inline constexpr std::string_view kDrawingHeader = "# 枠＆軸";
inline constexpr char kLineRecord = 'L';
inline constexpr char kBoxRecord = 'Q';
inline constexpr char kTextRecord = 'K';
inline constexpr char kMarkerRecord = 'P';
// Numbers of each record after its letter.
inline constexpr int kLineNumbers = 6;    // x1 y1 x2 y2 line-type pen
inline constexpr int kTextNumbers = 6;    // x y width height angle pen
inline constexpr int kMarkerNumbers = 7;  // x-d y-d x y x-d y-d kind
inline constexpr int kMaxRecordNumbers = 7;

// Line type and pen codes.
inline constexpr int kLineSolid = 0;
inline constexpr int kLineDashed = 1;
inline constexpr int kLineDashDot = 3;
inline constexpr int kPenThin = 1;
inline constexpr int kPenThick = 2;

// The size lines the programs write and the frames they stand for, in
// drawing units: the first number is the width in hundreds plus 3, the
// second the height in hundreds plus 1 ("45,28" 4200 x 2700, "45,66"
// 4200 x 6500).
inline constexpr std::string_view kSizeTimeGraph = print::kSizeTimeGraph;
inline constexpr std::string_view kSizeSection = print::kSizeSection;
inline constexpr int FrameWidth(int first) { return first * 100 - 300; }
inline constexpr int FrameHeight(int second) { return second * 100 - 100; }

// The fixed diagram that comes with the original viewer; the reports name
// it but nothing here holds it.
inline constexpr std::string_view kViewerOwnDrawing = "TIJ_0003.PZK";

}  // namespace kova::viewer
