#pragma once
// Places a form's control from its design position in twips.
#include <QWidget>

namespace kova {

struct TwipsScale;

// Sets the geometry; a text control shorter than its font's line height is
// made that high around the same centre, so that a substitute font with a
// taller line is not cut off.
void PlaceTwips(QWidget* w, const TwipsScale& s, int left, int top, int width, int height);

}  // namespace kova
