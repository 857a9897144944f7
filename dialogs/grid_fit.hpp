#pragma once
// Room for a grid that the installed font made wider than the form's twips.
#include <QWidget>
#include <initializer_list>

namespace kova {

// When `grid` came out wider than `plannedWidth` pixels, widens `dialog` by
// the difference and moves `movers` (the controls right of the grid) along.
inline void FitGridWidth(QWidget* dialog, QWidget* grid, int plannedWidth, std::initializer_list<QWidget*> movers) {
    const int extra = grid->width() - plannedWidth;
    if (extra <= 0) return;
    dialog->setFixedWidth(dialog->width() + extra);
    for (QWidget* w : movers) w->move(w->x() + extra, w->y());
}

}  // namespace kova
