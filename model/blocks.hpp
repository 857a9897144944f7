#pragma once
// The three block tables (embankments, soil layers, cuts): storing a traced
// outline as a new block or as the new outline of a picked block, picking a
// block by its label point, deleting it, and marking it on the canvas.
#include <array>

#include "model/canvas_view.hpp"
#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

// Block kinds as held in PickPair[0].
inline constexpr i16 kKindEmbankment = 1;
inline constexpr i16 kKindSoilLayer = 2;
inline constexpr i16 kKindCut = 3;

// Pick groups: 1 embankments and soil layers together, 2 cuts.
inline constexpr i16 kGroupFill = 1;
inline constexpr i16 kGroupCut = 2;

// The right mouse button; any other button acts as the left one.
inline constexpr i16 kRightButton = 2;

using BlockTable = std::array<SoilBlock, kMaxBlocks + 1>;

// A closed outline that fits a block: vertices 0 to n-1 in walking order,
// entry n repeating entry 0.
struct Outline {
    i16 n = 0;
    std::array<double, kMaxVertices + 1> X{};
    std::array<double, kMaxVertices + 1> Y{};
};

// The model position of a canvas position (twips).
inline void CanvasToModel(const EditorState& ed, float X, float Y, double& x, double& y) {
    x = static_cast<double>(X) / ed.ViewScale + ed.ViewLeftX;
    y = ed.ViewTopY - static_cast<double>(Y) / ed.ViewScale;
}

// Replace outline and label point of block PickPair[1] of the table. False,
// with nothing changed, when PickPair[1] names no block of the table.
bool SetEmbankmentShape(Model& m, CanvasView& view, double CX, double CY, const Outline& o,
                        const std::array<i16, 3>& PickPair);
bool SetSoilLayerShape(Model& m, CanvasView& view, double CX, double CY, const Outline& o,
                       const std::array<i16, 3>& PickPair);
bool SetCutShape(Model& m, CanvasView& view, double CX, double CY, const Outline& o,
                 const std::array<i16, 3>& PickPair);

// Append a new block; refused silently (false) when the table holds 20
// blocks or the label point of an existing block lies inside the outline
// (embankments and soil layers test each other, cuts only cuts).
bool AddEmbankment(Model& m, CanvasView& view, double CX, double CY, const Outline& o);
bool AddSoilLayer(Model& m, CanvasView& view, double CX, double CY, const Outline& o);
bool AddCut(Model& m, CanvasView& view, double CX, double CY, const Outline& o);

// Index of the block whose label point is nearest to (x, y) within 10 m, or
// -1. Among equal distances the later entry wins. Dist gets the distance
// found (10 when none).
i16 NearestBlockCentre(double x, double y, const BlockTable& table, i16 count, double& Dist);

// Find the block nearest to the click in the group, mark it and switch to
// the matching re-shape tool (14, 15, 16), PickPair = {kind, index}. The
// right button only repaints.
void PickBlock(Model& m, EditorState& ed, CanvasView& view, i16 Button, float X, float Y, i16 Group);

// Find the block nearest to the click in the group, mark it, ask, and on OK
// delete it (soil layers take their per-layer rows along).
void DeleteBlock(Model& m, EditorState& ed, CanvasView& view, MessageSink& ui, i16 Button, float X,
                 float Y, i16 Group);

// Remove entry r of the table of Kind and close the gap; for a soil layer
// the five per-layer tables shift with it. False when r names no block.
bool RemoveBlockAt(Model& m, CanvasView& view, i16 Kind, i16 r);

// Outline one block in yellow straight on the canvas (the next repaint
// removes it).
void DrawBlockMarks(const EditorState& ed, CanvasView& view, const SoilBlock& b);

}  // namespace kova
