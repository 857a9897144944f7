#include "editing/run_commands.hpp"

#include <cstring>
#include <vector>

#include "editing/results.hpp"
#include "model/calcinput.hpp"
#include "model/projectfile.hpp"
#include "textio/textfile.hpp"

namespace kova {

namespace {

// Replaces every byte that does not start a valid UTF-8 sequence by "?".
std::string ValidUtf8(const std::string& s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (ok && n > 1 && c < 0xC2) ok = false;  // overlong two-byte forms
        if (ok) {
            out.append(s, i, n);
            i += n;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string EngineMessageText(const std::string& errorOutput, int maxLines) {
    std::vector<std::string> lines = SplitLines(ValidUtf8(errorOutput));
    for (std::string& l : lines) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        // Each line is one message, "<caption>: <text>" (its line breaks are
        // CRs): the caption is the engine's box title, not what it says.
        const std::size_t colon = l.find(": ");
        if (colon != std::string::npos && colon > 0 && l.find(' ') > colon) l.erase(0, colon + 2);
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) lines.pop_back();
    std::string text;
    for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < maxLines; ++i) {
        if (i) text += '\r';
        text += lines[i];
    }
    return text;
}

std::string NameEngineBlocks(const std::string& text, const Model& m) {
    struct Kind {
        const char* word;
        const std::array<SoilBlock, kMaxBlocks + 1>* table;
        int count;
    };
    const Kind kinds[] = {{"土層 ", &m.SoilLayer, m.SoilLayerCount},
                          {"盛土 ", &m.Embankment, m.EmbankmentCount},
                          {"切土 ", &m.CutBlock, m.CutCount}};
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        bool named = false;
        for (const Kind& k : kinds) {
            const std::size_t w = std::strlen(k.word);
            if (text.compare(at, w, k.word) != 0) continue;
            std::size_t end = at + w;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9' && end - at - w < 4) ++end;
            if (end == at + w || (end < text.size() && text[end] >= '0' && text[end] <= '9')) break;
            const int number = std::stoi(text.substr(at + w, end - at - w));
            out.append(text, at, end - at);
            at = end;
            if (number >= 1 && number <= k.count && !(*k.table)[number - 1].Name.empty())
                out += "「" + (*k.table)[number - 1].Name + "」";
            named = true;
            break;
        }
        if (!named) out += text[at++];
    }
    return out;
}

std::string MissingForCalculation(const Model& m) {
    const bool layers = m.SoilLayerCount > 0, positions = m.CalcPosCount > 0;
    if (layers && positions) return {};
    std::string text = !layers && !positions ? "土層と沈下予測個所がありません。" : !layers ? "土層がありません。" : "沈下予測個所がありません。";
    text += "\r計算するには、";
    if (!layers) text += "「ブロック」の「新規土層」で土層を登録";
    if (!layers && !positions) text += "し、";
    if (!positions) text += "「計算位置」で沈下予測個所を入力";
    return text + "してください。";
}

void RunCommands::Calculate() {
    host_.SelectToolOption(kNoToolOption);
    host_.ResetTool(ToolReset::kCanvasTaken);
    // An empty section gives the engine nothing to compute: no question,
    // no file, no run, only what is missing.
    if (const std::string missing = MissingForCalculation(s_.m()); !missing.empty()) {
        sv_.msg.Notify(missing, MsgIcon::Exclamation);
        return;
    }
    if (!host_.ShowConditionsDialog()) return;
    if (!project_.CheckUnsavedChanges(kCondQuestion, ProjectCommands::OnFailedSave::GoOn)) return;
    if (WriteCondFile(s_.m(), s_.ps, kSnapCal, 1, sv_.msg) != 0) return;
    // Nothing of the previous run may survive this one: a stale table or
    // report would pass for this run's.
    if (!project_.DeleteStaleResults(true)) {
        host_.Refresh();
        return;
    }
    if (!WriteCalcInput(s_.m(), s_.ps.AppPath, sv_.msg)) {
        host_.Refresh();
        return;
    }

    ProcessRequest req{s_.engineProgram, {}, s_.ps.AppPath};
    req.captureStderr = true;
    req.notice = host_.EngineNotice();
    host_.SetBusy(true);
    ProcessStatus st = sv_.processes.RunAndWait(req);
    host_.SetBusy(false);

    // A stopped engine was cut off mid-sentence: what it said is no reason.
    const bool stopped = st.state == ProcessState::Stopped;
    const std::string said = stopped ? std::string() : NameEngineBlocks(EngineMessageText(st.errorOutput), s_.m());
    if (!said.empty()) sv_.msg.Notify(said, MsgIcon::Exclamation);
    if (st.Succeeded() && ReadResults(s_.ps.AppPath, s_.m())) {
        s_.resultsReady = true;
    } else {
        ClearResults(s_.m());
        // A failed start, a crash, an engine that said nothing or results
        // that are not whole: the user learns that there are none.
        if (said.empty() || st.Succeeded()) sv_.msg.Notify(kCalcErrorText, MsgIcon::Exclamation);
    }
    host_.Refresh();
}

void RunCommands::Print() {
    const bool current = WriteCondFile(s_.m(), s_.ps, kSnapEdt, 1, sv_.msg) == 0;
    if (!s_.resultsReady) {
        sv_.msg.Notify(kNothingToPrintText, MsgIcon::Information, kPrintCaption);
        return;
    }
    // Without the current state written, an older snapshot must not vouch
    // for the results.
    if (!current || CondFilesDiffer(s_.ps, kSnapCal, kSnapEdt) != 0)
        sv_.msg.Notify("前回の計算よりデータが更新されています。\r\n前回の計算結果の印刷を行います。",
                       MsgIcon::Information, kPrintCaption);
    RunViewer(
        sv_.processes, sv_.msg, s_.ps.AppPath, [this](bool enabled) { host_.SetBusy(!enabled); }, s_.programDir,
        "TK");
}

}  // namespace kova
