#include "model/reset.hpp"

#include "textio/cformat.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova {

void ResetModel(Model& m, const std::filesystem::path& appPath, MessageSink& ui) {
    // The sand curves are not part of the reset: only a successful read of
    // the file replaces them.
    SandCurves sand = m.BKHoughCurve;
    m = Model{};
    m.BKHoughCurve = sand;
    ReadSandCurveFile(appPath, m.BKHoughCurve, ui);
}

bool ReadSandCurveFile(const std::filesystem::path& appPath, SandCurves& curves, MessageSink& ui) {
    auto fail = [&] {
        ui.Notify("条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。", MsgIcon::Exclamation);
        return false;
    };
    std::string text;
    try {
        text = ReadCp932File(appPath / kSandCurveFile);
    } catch (const TextError&) {
        return fail();
    }
    FieldReader in(std::move(text));
    long long n;
    if (!in.Int(0, kMaxCurvePts, n)) return fail();
    SandCurves scratch = curves;
    for (int d = 0; d < kSandCurves; ++d) scratch[d] = CurveTable{};
    for (int a = 0; a < n; ++a) {
        double p;
        if (!in.Real(p)) return fail();
        for (int d = 0; d < kSandCurves; ++d) {
            double e;
            if (!in.Real(e)) return fail();
            scratch[d].X[a] = p;
            scratch[d].Y[a] = e;
        }
    }
    for (int d = 0; d < kSandCurves; ++d) scratch[d].n = static_cast<i16>(n);
    curves = scratch;
    return true;
}

bool WriteSandCurveFile(const std::filesystem::path& appPath, const SandCurves& curves, MessageSink& ui) {
    int n = curves[0].n;
    try {
        if (n < 0 || n > kMaxCurvePts) throw TextError("point count out of range");
        TextFileBuilder out;
        out.Line(std::to_string(n));
        for (int a = 0; a < n; ++a) {
            std::string line = CFormat("%.1f", curves[0].X[a]);
            for (int d = 0; d < kSandCurves; ++d) line += CFormat(",%.3f", curves[d].Y[a]);
            out.Line(line);
        }
        WriteCp932FileAtomic(appPath / kSandCurveFile, out.Utf8());
    } catch (const TextError&) {
        ui.Notify("条件ﾌｧｲﾙ(BKHough1.CSV)に書き込み出来ません。", MsgIcon::Exclamation);
        return false;
    }
    return true;
}

bool RebuildLinks(Model& m, const std::array<BoundaryLine, kMaxLines + 1>& lines, i16 lineCount) {
    for (auto& p : m.BndPt) {
        p.nLink = 0;
        p.Link.fill(-1);
    }
    bool all = true;
    auto link = [&](i16 pt, i16 line) {
        if (pt < 0 || pt >= m.BndPtCount) {
            all = false;
            return;
        }
        BoundaryPoint& p = m.BndPt[static_cast<std::size_t>(pt)];
        if (p.nLink >= kMaxLinks) {
            all = false;
            return;
        }
        p.Link[static_cast<std::size_t>(p.nLink++)] = line;
    };
    int count = std::min<int>(lineCount, kMaxLines + 1);
    for (int i = 0; i < count; ++i) {
        const BoundaryLine& l = lines[static_cast<std::size_t>(i)];
        link(l.pt1, static_cast<i16>(i));
        link(l.pt2, static_cast<i16>(i));
    }
    return all;
}

}  // namespace kova
