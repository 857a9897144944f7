#pragma once
// The calculation run (conditions, save question, snapshot, input file,
// engine, read-back) and printing through the outside viewer.
#include <string>

#include "editing/project_commands.hpp"
#include "editing/session.hpp"

namespace kova {

inline constexpr const char* kCalcErrorText = "計算過程でエラーが発生しました。";

// What a section lacks for a calculation, as the run tells it before it
// asks anything: "" when it has a soil layer and a calculation position.
std::string MissingForCalculation(const Model& m);
inline constexpr const char* kNothingToPrintText = "未計算の為、印刷する帳票はありません。";
inline constexpr const char* kPrintCaption = "帳票印刷";
// Lines of the engine's standard error shown at most.
inline constexpr int kEngineMessageLines = 20;

// The first `maxLines` lines of what the engine wrote, trailing blank lines
// dropped, each without the caption the engine writes before it, joined by
// CR; bytes that are not UTF-8 are replaced.
std::string EngineMessageText(const std::string& errorOutput, int maxLines = kEngineMessageLines);

// The text with the user's name after each soil layer, embankment and cut
// that it names by number ("土層 2" becomes "土層 2「Ac1」"); blocks without a
// name are left as they are.
std::string NameEngineBlocks(const std::string& text, const Model& m);

class RunCommands {
public:
    RunCommands(Session& s, Services& sv, CommandHost& host, ProjectCommands& project)
        : s_(s), sv_(sv), host_(host), project_(project) {}

    void Calculate();
    void Print();

private:
    Session& s_;
    Services& sv_;
    CommandHost& host_;
    ProjectCommands& project_;
};

}  // namespace kova
