#pragma once
// The tool options of the main window's strip, the data-input menu that
// reaches them, and the palettes a selection closes.
#include <array>

namespace kova {

inline constexpr int kToolOptionCount = 9;
inline constexpr int kSheetPileOption = 8;

enum class ToolFormKind { Modal, Palette, None };

struct ToolOption {
    int index;
    const char* caption;
    int left;  // twips within the strip
    ToolFormKind kind;
};

// In the order they stand in the strip.
inline constexpr std::array<ToolOption, kToolOptionCount> kToolOptions{{
    {0, "計算位置", 0, ToolFormKind::Modal},
    {1, "境界点", 840, ToolFormKind::Palette},
    {2, "境界線", 1680, ToolFormKind::Palette},
    {3, "ブロック", 2520, ToolFormKind::Palette},
    {4, "上載荷重", 3360, ToolFormKind::Modal},
    {6, "載荷工程", 4200, ToolFormKind::Modal},
    {5, "切り土", 5040, ToolFormKind::Palette},
    {8, "矢板", 5880, ToolFormKind::Modal},
    {7, "ダミー", 7080, ToolFormKind::None},
}};
inline constexpr int kToolOptionWidth = 855;
inline constexpr int kToolOptionHeight = 555;

// Entries of the data-input menu and the option each selects.
inline constexpr std::array<const char*, 7> kInputMenuCaptions{"計算位置", "境界点", "境界線", "ブロック",
                                                                "上載荷重", "載荷工程", "切り土"};
inline constexpr int InputMenuOption(int entry) { return entry == 5 ? 6 : entry == 6 ? 5 : entry; }

}  // namespace kova
