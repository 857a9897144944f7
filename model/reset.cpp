#include "model/reset.hpp"

#include <algorithm>
#include "rules/limits.hpp"

#include "textio/cformat.hpp"
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

// A line of the sand-curve table that cannot be taken.
struct BadSandLine {
    int line;
    std::string detail;
};

// The value as the writer formats it must read back as the same value,
// otherwise a save would change the curves.
double SandValue(FieldReader& in, Item item, int decimals) {
    auto f = in.Field();
    if (!f) throw BadSandLine{in.Line(), "ファイルが途中で終わっています。"};
    double v;
    if (!ParseReal(*f, v)) throw BadSandLine{in.FieldLine(), "数値が正しく読めません。"};
    if (!WithinLimit(item, v)) throw BadSandLine{in.FieldLine(), LimitFileText(item)};
    double back;
    if (!ParseReal(FormatFixed(v, decimals), back) || back != v)
        throw BadSandLine{in.FieldLine(), std::string(ItemName(item)) + "の小数点以下の桁数が多すぎます。"};
    return v;
}

}  // namespace

bool ReadSandCurveFile(const std::filesystem::path& appPath, SandCurves& curves, MessageSink& ui) {
    const std::string failure = "条件ﾌｧｲﾙ(BKHough1.CSV)が読み込み出来ません。";
    std::string text;
    try {
        text = ReadCp932File(appPath / kSandCurveFile);
    } catch (const TextError&) {
        ui.Notify(failure, MsgIcon::Exclamation);
        return false;
    }
    SandCurves scratch = curves;
    try {
        // A last line without its line end was cut, perhaps inside a number.
        if (!EndsWithLineEnd(text))
            throw BadSandLine{static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1,
                              "ファイルが途中で終わっています。"};
        FieldReader in(std::move(text));
        auto count = in.Field();
        if (!count) throw BadSandLine{1, "ファイルが途中で終わっています。"};
        long long n;
        if (!ParseInt(*count, -2147483648LL, 2147483647LL, n)) throw BadSandLine{1, "数値が正しく読めません。"};
        if (!WithinLimit(Item::SandPointCount, static_cast<double>(n)))
            throw BadSandLine{1, LimitFileText(Item::SandPointCount)};
        for (int d = 0; d < kSandCurves; ++d) scratch[d] = CurveTable{};
        for (int a = 0; a < n; ++a) {
            double p = SandValue(in, Item::SandPressure, 1);
            for (int d = 0; d < kSandCurves; ++d) {
                scratch[d].X[a] = p;
                scratch[d].Y[a] = SandValue(in, Item::SandVoidRatio, 3);
            }
        }
        if (int junk = in.JunkLine()) throw BadSandLine{junk, "データの後に余分な内容があります。"};
        for (int d = 0; d < kSandCurves; ++d) scratch[d].n = static_cast<i16>(n);
    } catch (const BadSandLine& bad) {
        ui.Notify(failure + "\r" + CFormat("%d行目: ", bad.line) + bad.detail, MsgIcon::Exclamation);
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
