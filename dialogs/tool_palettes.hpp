#pragma once
// The four edit-tool palettes: modeless windows whose buttons choose the
// canvas tool (cmd_mode and the status-bar prompt) or open a data dialog,
// and whose "閉じる" ends the editing.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "dialogs/dialog_base.hpp"

namespace kova {

// The tool menu closes every window with one of these captions before it
// opens anything, so that one palette is open at a time.
inline constexpr std::array<const char*, 4> kPaletteCaptions{"境界点編集", "境界線編集", "ブロック編集",
                                                             "施工前地形編集"};

// The width in pixels a palette needs to show its whole caption in a title
// bar.
int CaptionRoom(const QString& caption);

// Closes every open window captioned as a palette; its unload work runs.
// Closing a palette that is already closing is harmless.
void CloseToolPalettes();

// Makes a data dialog that a palette option shows modally, with the palette
// as owner; an empty factory (or a null dialog) opens nothing.
using PaletteDialogFactory = std::function<std::unique_ptr<QDialog>(EditorHost&, QWidget* owner)>;

struct PaletteDialogs {
    PaletteDialogFactory dialog0;   // boundary points
    PaletteDialogFactory dialog1;   // embankments
    PaletteDialogFactory dialog4;   // soil layers
    PaletteDialogFactory dialog5;   // soil-constant curves
    PaletteDialogFactory dialog10;  // cuts
    PaletteDialogFactory dialog11;  // ground improvement
};

// The dialogs the palettes open; tests may replace entries.
PaletteDialogs& PaletteDialogHooks();

// One option button: its caption and top in twips and the tool it chooses,
// whose prompt shows, or the dialog it opens (mode CmdMode::kNone), which
// blanks the prompt.
struct PaletteOption {
    const char* caption;
    int top;
    int mode;
    PaletteDialogFactory PaletteDialogs::*dialog = nullptr;
};

// The common shape: one column of options (by Index) and "閉じる".
class EditPalette : public ToolPalette {
    Q_OBJECT
public:
    EditPalette(EditorHost& host, QWidget* owner, const char* caption, const char* blankPrompt, int clientHeight,
                std::span<const PaletteOption> options, int closeTop);

    int Mode(int index) const { return options_[static_cast<std::size_t>(index)].mode; }

protected:
    const PaletteOption& Opt(int index) const { return options_[static_cast<std::size_t>(index)]; }
    // A tool option makes its tool the canvas tool, through the tool table:
    // the tool it replaces drops its picks (a zoom ends), the new one shows
    // its prompt. A dialog option shows its dialog modally and sets the
    // option up; the tool in force stays, without its picks.
    void OptionClicked(int index) override;
    // Rebuilds the points' link lists from a line table; tells once while
    // the palette is open that a point has more than nine lines.
    void RebuildLinksFrom(bool cutLines);

    std::vector<PaletteOption> options_;

private:
    const char* blank_;  // panel 1 while a dialog option is chosen
    bool linkMessageShown_ = false;
};

// "境界線編集": adding and deleting boundary lines.
class Dialog2 : public EditPalette {
    Q_OBJECT
public:
    Dialog2(EditorHost& host, QWidget* owner);
};

// "ブロック編集": embankment and soil-layer blocks and their data dialogs.
class Dialog3 : public EditPalette {
    Q_OBJECT
public:
    Dialog3(EditorHost& host, QWidget* owner);

protected:
    void ClearPicks() override;
};

// "施工前地形編集": terrain lines and cut blocks.
class Dialog9 : public EditPalette {
    Q_OBJECT
public:
    Dialog9(EditorHost& host, QWidget* owner);

protected:
    void OptionClicked(int index) override;
    void closeEvent(QCloseEvent* e) override;
};

// "境界点編集": the point table and the intersection tools.
class Dialog14 : public EditPalette {
    Q_OBJECT
public:
    Dialog14(EditorHost& host, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void UnloadPicks();
    bool picksUnloaded_ = false;
};

// The palettes of tool options 1, 2, 3 and 5, shown modeless with the main
// window as owner; each deletes itself when closed.
QWidget* OpenPointPalette(EditorHost& host);
QWidget* OpenLinePalette(EditorHost& host);
QWidget* OpenBlockPalette(EditorHost& host);
QWidget* OpenTerrainPalette(EditorHost& host);

}  // namespace kova
