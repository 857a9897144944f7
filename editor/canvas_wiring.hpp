#pragma once
// Joins the section canvas of the main window to the canvas tools: the
// canvas's mouse presses and moves reach the tool of cmd_mode, and the
// tools' prompts and the cursor read-out reach the status bar.
namespace kova {

class Form1;
class ToolHost;

// Wires the window's canvas; the window owns what this creates. Returns
// the tool host wired to it (clicks in model metres).
ToolHost& AttachCanvasTools(Form1& form);

}  // namespace kova
