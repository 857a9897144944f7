#include "model/reset.hpp"

#include <algorithm>
#include "rules/limits.hpp"

#include "textio/fieldfile.hpp"
#include "textio/listline.hpp"
#include "textio/numfmt.hpp"
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

namespace {

// The value as the writer formats it must read back as the same value,
// otherwise a save would change the curves.
double SandValue(FieldFile& in, Item item, int decimals) {
    double v = in.Real();
    if (!WithinLimit(item, v)) in.Fail(LimitFileText(item));
    double back;
    if (!ParseReal(FormatFixed(v, decimals), back) || back != v)
        in.Fail(std::string(ItemName(item)) + "の小数点以下の桁数が多すぎます。");
    return v;
}

}  // namespace

bool ReadSandCurveFile(const std::filesystem::path& appPath, SandCurves& curves, MessageSink& ui) {
    const std::string failure = "条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。";
    SandCurves scratch = curves;
    try {
        // A count line and a line of a pressure and its void ratios per
        // point, each far under 1 KB.
        constexpr std::uintmax_t kMaxBytes = 1024u * (1u + kMaxCurvePts) * (1u + kSandCurves);
        const std::string text = DecodeCp932Text(ReadFileBytes(appPath / kSandCurveFile, kMaxBytes));
        ReadFields(text, [&](FieldFile& in) {
            scratch = curves;
            long long n = in.Int();
            if (!WithinLimit(Item::SandPointCount, static_cast<double>(n))) in.Fail(LimitFileText(Item::SandPointCount));
            n = in.Count(n, 0, kMaxCurvePts, ItemName(Item::SandPointCount));
            for (int d = 0; d < kSandCurves; ++d) scratch[d] = CurveTable{};
            for (int a = 0; a < n; ++a) {
                double p = SandValue(in, Item::SandPressure, 1);
                for (int d = 0; d < kSandCurves; ++d) {
                    scratch[d].X[a] = p;
                    scratch[d].Y[a] = SandValue(in, Item::SandVoidRatio, 3);
                }
            }
            for (int d = 0; d < kSandCurves; ++d) scratch[d].n = static_cast<i16>(n);
        });
    } catch (const FileFault& bad) {
        ui.Notify(failure + FaultDetail(bad), MsgIcon::Exclamation);
        return false;
    }
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
            // The dialog's "0.0" and "0.000": halves away from zero, so the
            // file holds what the table showed.
            std::string line = FormatFixed(curves[0].X[a], 1);
            for (int d = 0; d < kSandCurves; ++d) line += "," + FormatFixed(curves[d].Y[a], 3);
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
