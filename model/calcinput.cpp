#include "model/calcinput.hpp"

#include <array>
#include <stdexcept>
#include <string>

#include "model/boundary.hpp"
#include "model/linebuilder.hpp"
#include "model/trace.hpp"
#include "textio/cp932.hpp"

namespace kova {

namespace {

constexpr const char* kWriteMsg = "条件ﾌｧｲﾙ(CAL_TNK.DAT)に書き込み出来ません。";

// A failure with its message box.
struct Failure {
    std::string text;
    MsgIcon icon;
};

[[noreturn]] void WriteFailure() { throw Failure{kWriteMsg, MsgIcon::Exclamation}; }

void CheckCount(int count, int limit) {
    if (count < 0 || count > limit) WriteFailure();
}

// The engine takes the text between the first and the last double quote of
// a line and keeps 125 bytes of it, so the text goes out without quotes or
// line breaks and already cut on a character boundary.
std::string EngineText(const std::string& s) {
    std::string clean;
    for (char c : s)
        if (c != '"' && c != '\r' && c != '\n') clean += c;
    try {
        return TruncateCp932(clean, kCalcInputNameBytes);
    } catch (const TextError&) {
        WriteFailure();
    }
}


// A count line, for a count the table can hold.
void CountLine(LineBuilder& out, int count, int limit, std::string_view label) {
    CheckCount(count, limit);
    out.Line(ListLine().Int(count).Str(label));
}

void StageLine(LineBuilder& out, const Model& m, i16 stage) {
    if (stage < 1 || stage > kMaxStages) WriteFailure();
    out.Line(ListLine()
                 .Int(stage)
                 .Int(m.StageStartDay[stage - 1])
                 .Int(m.StageDays[stage - 1])
                 .Str("段階荷重番号,施工開始日,施工日数"));
}

// The block's interior point is where the user traced it from: once it lies
// outside the outline, a boundary point has moved (a wrong sign or digit),
// and the outline is no longer the region that was meant. An outline of
// fewer than three points encloses nothing and is left to the engine.
void CheckInteriorPoint(const SoilBlock& b, int i, const char* kind) {
    std::array<double, kMaxVertices + 2> x{}, y{};
    int n = 0;
    for (int k = 0; k < b.nPt; ++k) {
        if (n > 0 && b.PX[k] == x[n - 1] && b.PY[k] == y[n - 1]) continue;
        x[n] = b.PX[k];
        y[n] = b.PY[k];
        ++n;
    }
    while (n > 1 && x[n - 1] == x[0] && y[n - 1] == y[0]) --n;
    if (n < 3) return;
    x[n] = x[0];
    y[n] = y[0];
    if (PointInRegion(b.CX, b.CY, x.data(), y.data(), n) == 1) return;
    std::string text = kind + std::to_string(i + 1);
    if (!b.Name.empty()) text += "「" + b.Name + "」";
    text += " の中心点が外形線の内側にありません（境界点が動いています）。"
            "構成点の位置を確認するか、ブロックを再認識してください。";
    throw Failure{text, MsgIcon::None};
}

// Header line, the vertex numbers and the label point of a block.
void BlockOutline(LineBuilder& out, const Model& m, const SoilBlock& b, int i, std::string_view countLabel,
                  std::string_view vertexLabel, const char* missingMsg) {
    CheckCount(b.nPt, kMaxVertices);
    out.Line(ListLine().Int(i + 1).Int(b.nPt).Str(countLabel));
    for (int k = 0; k < b.nPt; ++k) {
        // Traced vertices carry exactly the coordinates of their points.
        i16 pt = FindBndPt(m, b.PX[k], b.PY[k], 0);
        if (pt < 0) throw Failure{missingMsg, MsgIcon::None};
        out.Line(ListLine().Int(k + 1).Int(pt + 1).Str(vertexLabel));
    }
    out.Line(ListLine().Real(b.CX).Real(b.CY).Str("ブロック中心"));
}

void CurveLines(LineBuilder& out, const CurveTable& c, int i, std::string_view headLabel, std::string_view pointLabel,
                bool withIndexLine = false) {
    CheckCount(c.n, kMaxCurvePts);
    out.Line(ListLine().Int(i + 1).Int(c.n).Str(headLabel));
    if (withIndexLine) out.Line(ListLine().Int(i));
    for (int k = 0; k < c.n; ++k) out.Line(ListLine().Int(k + 1).Real(c.X[k]).Real(c.Y[k]).Str(pointLabel));
}

void LoadLines(LineBuilder& out, const Model& m, const std::array<LoadRec, kMaxLoads + 1>& loads, int count,
               std::string_view countLabel, bool strip) {
    CountLine(out, count, kMaxLoads, countLabel);
    for (int i = 0; i < count; ++i) {
        const LoadRec& l = loads[i];
        out.Line(ListLine().Int(i + 1).Real(l.Load).Str("荷重"));
        out.Line(ListLine().Real(l.X1).Real(l.Y1).Str(strip ? "開始位置" : "位置"));
        if (strip) out.Line(ListLine().Real(l.X2).Real(l.Y2).Str("終了位置"));
        StageLine(out, m, l.Stage);
    }
}

void Build(const Model& m, LineBuilder& out) {
    const StudyCond& c = m.Cond;
    out.Line(ListLine().Str(EngineText(c.ProjectTitle)));
    out.Line(ListLine().Int(c.LeavePeriod));
    out.Line(ListLine().Real(c.ResidualSettlement));
    out.Line(ListLine().Int(c.TimeCondKind));
    out.Line(ListLine().Int(c.UseSandImmediate));
    out.Line(ListLine().Int(c.UseCutPreload));
    out.Line(ListLine().Int(c.MvPMethod));
    out.Line(ListLine().Int(c.CvPMethod));
    out.Line(ListLine().Int(c.AutoScaleXY));

    CountLine(out, m.CalcPosCount, kMaxCalcPos, "計算位置数");
    for (int i = 0; i < m.CalcPosCount; ++i) {
        out.Line(ListLine().Int(i + 1).Real(c.CalcPosX[i]).Str("計算位置座標"));
        out.Line(ListLine().Str(EngineText(c.CalcPosName[i])));
    }

    CountLine(out, m.BndPtCount, kMaxBndPts, "境界点数");
    for (int i = 0; i < m.BndPtCount; ++i)
        out.Line(ListLine().Int(i + 1).Real(m.BndPt[i].X).Real(m.BndPt[i].Y).Str("境界点座標"));

    CountLine(out, m.SoilLayerCount, kMaxBlocks, "土層数");
    for (int i = 0; i < m.SoilLayerCount; ++i) {
        const SoilBlock& b = m.SoilLayer[i];
        const SoilParamRec& p = m.SoilParam[i];
        const DrainMethodRec& d = m.DrainMethod[i];
        BlockOutline(out, m, b, i, "土層構成点数", "土層構成点番号", "土層ブロックを構成する境界点がありません");
        CheckInteriorPoint(b, i, "土層 ");
        out.Line(ListLine().Int(p.SoilType).Str("土質"));
        out.Line(ListLine().Real(b.UnitWeight).Int(p.NValue).Str("有効重量,Ｎ値"));
        out.Line(ListLine().Real(p.C1).Real(p.C2).Real(p.C3).Str("圧縮指数"));
        out.Line(ListLine().Int(p.SettleMethod).Str("沈下計算方法"));
        out.Line(ListLine().Int(p.Drainage).Str("排水条件"));
        out.Line(ListLine().Int(d.Method).Str("促進工法"));
        ListLine detail;
        for (double v : d.Detail) detail.Real(v);
        out.Line(detail.Str("工法詳細"));
    }

    CountLine(out, m.EmbankmentCount, kMaxBlocks, "盛土数");
    for (int i = 0; i < m.EmbankmentCount; ++i) {
        const SoilBlock& b = m.Embankment[i];
        BlockOutline(out, m, b, i, "盛土構成点数", "盛土構成点番号", "盛土ブロックを構成する境界点がありません");
        CheckInteriorPoint(b, i, "盛土 ");
        out.Line(ListLine().Real(b.UnitWeight).Str("有効重量"));
        StageLine(out, m, b.Stage);
    }

    CountLine(out, m.CutCount, kMaxBlocks, "切土数");
    for (int i = 0; i < m.CutCount; ++i) {
        const SoilBlock& b = m.CutBlock[i];
        BlockOutline(out, m, b, i, "切土構成点数", "切土構成点番号", "切土ブロックを構成する境界点がありません");
        // Without the cut switch the engine takes no cut.
        if (c.UseCutPreload != 0) CheckInteriorPoint(b, i, "切土 ");
        out.Line(ListLine().Real(b.UnitWeight).Str("有効重量"));
    }

    CountLine(out, m.SoilLayerCount, kMaxBlocks, "土層数");
    for (int i = 0; i < m.SoilLayerCount; ++i) {
        CurveLines(out, m.ELogPCurve[i], i, "e-LogP曲線要素数", "e-LogP");
        CurveLines(out, m.MvCurve[i], i, "LogMv-LogP曲線要素数", "LogMv-LogP");
        CurveLines(out, m.CvCurve[i], i, "LogCv-LogP曲線要素数", "LogCv-LogP");
    }

    CountLine(out, kSandCurves, kSandCurves, "BKHough曲線数");
    for (int d = 0; d < kSandCurves; ++d) CurveLines(out, m.BKHoughCurve[d], d, "BKHough曲線要素数", "e-LogP", true);

    LoadLines(out, m, m.PointLoad, m.PointLoadCount, "集中荷重数", false);
    LoadLines(out, m, m.LineLoad, m.LineLoadCount, "線荷重数", false);
    LoadLines(out, m, m.StripLoad, m.StripLoadCount, "帯状荷重数", true);

    CountLine(out, m.SheetPileCount, kMaxSheetPiles, "矢板の数");
    for (int i = 0; i < m.SheetPileCount; ++i) {
        const SheetPileRec& w = m.SheetPile[i];
        out.Line(ListLine().Real(w.X).Real(w.Top).Real(w.Bottom).Str("位置、天端、下端"));
    }
}

}  // namespace

bool FormatCalcInput(const Model& m, std::string& text, MessageSink& ui) {
    try {
        LineBuilder out;
        Build(m, out);
        // Every text must have a code page 932 form before anything is written.
        if (!IsCp932Encodable(out.Utf8())) WriteFailure();
        text = out.Utf8();
        return true;
    } catch (const Failure& f) {
        ui.Notify(f.text, f.icon);
    } catch (const std::invalid_argument&) {  // a number that is not finite
        ui.Notify(kWriteMsg, MsgIcon::Exclamation);
    }
    return false;
}

bool WriteCalcInput(const Model& m, const std::filesystem::path& appPath, MessageSink& ui) {
    std::string text;
    if (!FormatCalcInput(m, text, ui)) return false;
    try {
        WriteCp932FileAtomic(appPath / kCalcInputFile, text);
    } catch (const TextError&) {
        ui.Notify(kWriteMsg, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace kova
