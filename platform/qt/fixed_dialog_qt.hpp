#pragma once
// Fixed dialogs: a title bar with a close box and nothing else. The flags
// ask the window manager for no minimise and no maximise box; some window
// managers draw those boxes for every window whatever it asks, so a fixed
// dialog also undoes at once a minimised or maximised state it is put in
// (a modal box minimised away would leave its owner blocked with nothing
// to answer).
#include <QWidget>

namespace kova {

inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Gives the window the fixed-dialog flags and keeps it in its normal state;
// `kind` Qt::Tool for a modeless tool palette.
void MakeFixedDialog(QWidget* window, Qt::WindowType kind = Qt::Dialog);

}  // namespace kova
