#pragma once
// What the shell's windows differ in between the two front ends.
#include <string>

namespace kova {

struct ShellApp {
    std::string title;        // application title, also of untitled message boxes
    std::string storeApp;     // application name in the settings store
    std::string program;      // executable name (lock file, help)
    // Splash product-name label, twips: left and width (top 810, height 360).
    int splashNameLeft = 585;
    int splashNameWidth = 3630;
    // About title label width, twips (left 1500, top 360, height 225).
    int aboutTitleWidth = 2325;
    std::string notice;       // the About box's notice line
    bool prediction = false;  // which picture and icon to draw
};

// KOVACALC: "Kovadex", "Kova_xxx".
const ShellApp& KovaApp();
// TOLMPRED: "Tolmadex", "Tolm_xxx".
const ShellApp& TolmApp();

}  // namespace kova
