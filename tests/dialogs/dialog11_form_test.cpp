#include <gtest/gtest.h>

#include "dialogs/dialog11_form.hpp"

namespace kova {
namespace {

Model ThreeLayers() {
    Model m;
    m.SoilLayerCount = 3;
    m.SoilLayer[0].Name = "粘土層";
    m.SoilLayer[1].Name = "砂層";
    m.SoilLayer[2].Name = "シルト層";
    return m;
}

// A valid triangular drain: d 1.2, dw 0.05, alpha 1, kc/kw 0.
void Drains(Dialog11Form& f, int row, int method = 1) {
    f.SetMethod(row, method);
    f.SetValue(row, kSpacing, 1.2);
    f.SetValue(row, kDiameter, 0.05);
    f.SetValue(row, kAlpha, 1);
    f.SetValue(row, kPermRatio, 0);
}

TEST(Dialog11Beta, StoredFactorPerReplacement) {
    struct Case {
        int method;
        double n, as, beta;
    } cases[] = {
        {1, 5, 0, 1},        // as 0: 1 for any n
        {1, 3, 0.2, 0.714},  // 1 / 1.4
        {1, 9, 0.5, 0.5},    // high replacement: 1 - as
        {2, 1, 0.7, 0.3},
        {1, 4, 1, 1},        // 0 before the floor
        {0, 1, 0.6, 1},      // untreated: 1 whatever n and as
        {1, 1, 0.3, 1},      // n 1: 1 below 0.5
        {7, 1.5, 0.25, 0.889},  // a code outside the list: beta by the same rule
    };
    for (const Case& c : cases) {
        Model m = ThreeLayers();
        Dialog11Form f(m);
        if (c.method == 1 || c.method == 2) Drains(f, 0, c.method);
        else f.SetMethod(0, c.method);
        f.SetValue(0, kShareRatio, c.n);
        f.SetValue(0, kReplaceRatio, c.as);
        ASSERT_EQ(f.Apply(m), std::nullopt) << c.n << " " << c.as;
        EXPECT_DOUBLE_EQ(m.DrainMethod[0].Detail[kReductionFactor], c.beta) << c.method << " " << c.n << " " << c.as;
        EXPECT_EQ(m.DrainMethod[0].Detail[kReplaceRatio], c.as);
    }
}

TEST(Dialog11Check, RefusedRowsNameLayerAndRuleAndStoreNothing) {
    struct Case {
        int method;
        int column;
        double v;
        const char* message;
    } cases[] = {
        {1, kSpacing, 0, "土層 2：打設間隔 d が 0 以下です。"},
        {1, kDiameter, -0.05, "土層 2：直径 dw が 0 以下です。"},
        {1, kDiameter, 1.26, "土層 2：有効径 de（1.05d）が直径 dw 以下です。"},
        {2, kDiameter, 1.3536, "土層 2：有効径 de（1.128d）が直径 dw 以下です。"},
        {1, kAlpha, 0, "土層 2：係数 α が 0 以下です。"},
        {1, kPermRatio, -1e-7, "土層 2：係数 Kc/kw が負の値です。"},
        {1, kShareRatio, -0.5, "土層 2：応力分担比 n が負の値です。"},
        {2, kReplaceRatio, 1.2, "土層 2：砂杭置換率 as は 0～1 の範囲で指定してください。"},
        {1, kReplaceRatio, -0.1, "土層 2：砂杭置換率 as は 0～1 の範囲で指定してください。"},
    };
    for (const Case& c : cases) {
        Model m = ThreeLayers();
        const Model before = m;
        Dialog11Form f(m);
        Drains(f, 0);
        Drains(f, 1, c.method);
        f.SetValue(1, c.column, c.v);
        auto msg = f.Apply(m);
        ASSERT_TRUE(msg.has_value()) << c.message;
        EXPECT_EQ(*msg, c.message);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(m.DrainMethod[i].Method, before.DrainMethod[i].Method);
            EXPECT_EQ(m.DrainMethod[i].Detail, before.DrainMethod[i].Detail);
        }
    }
}

// Every stored beta is a reduction, 0 < beta <= 1: the rows that would give
// more (n below 1 with a low replacement) are refused, naming the row.
TEST(Dialog11Check, StoredBetaNeverRaisesTheSettlement) {
    for (int method : {0, 1, 2, 7})
        for (double n : {-3.0, 0.0, 0.5, 0.999, 1.0, 1.5, 5.0})
            for (double as : {0.0, 0.001, 0.2, 0.4, 0.5, 0.8}) {
                Model m = ThreeLayers();
                Dialog11Form f(m);
                Drains(f, 0);
                if (method == 1 || method == 2) Drains(f, 1, method);
                else f.SetMethod(1, method);
                f.SetValue(1, kShareRatio, n);
                f.SetValue(1, kReplaceRatio, as);
                const auto msg = f.Apply(m);
                const bool drains = method == 1 || method == 2;
                if (drains && n < 0) {  // a drain row's own refusal comes first
                    EXPECT_EQ(msg, "土層 2：応力分担比 n が負の値です。");
                    continue;
                }
                if (method != 0 && as > 0 && as < 0.5 && n < 1) {
                    EXPECT_EQ(msg, "土層 2：応力分担比 n は 1 以上を指定してください（砂杭置換率 as が 0.5 未満のとき）。")
                        << method << " " << n << " " << as;
                    continue;
                }
                ASSERT_EQ(msg, std::nullopt) << method << " " << n << " " << as;
                EXPECT_GT(m.DrainMethod[1].Detail[kReductionFactor], 0);
                EXPECT_LE(m.DrainMethod[1].Detail[kReductionFactor], 1) << method << " " << n << " " << as;
            }
}

TEST(Dialog11Check, UntreatedAndUnknownRowsStoreAsTyped) {
    Model m = ThreeLayers();
    m.DrainMethod[2].Method = 9;  // a file may hold it
    Dialog11Form f(m);
    EXPECT_EQ(Dialog11Form::MethodText(9), "9");
    EXPECT_EQ(Dialog11Form::MethodText(2), "ドレーン工法（四角形）");
    f.SetValue(0, kSpacing, -4);      // untreated: no drain rule
    f.SetValue(0, kPermRatio, 1e-7);  // kept exactly, not rounded by display
    f.SetValue(0, kReplaceRatio, 0.6);
    ASSERT_EQ(f.Apply(m), std::nullopt);
    EXPECT_EQ(m.DrainMethod[0].Detail[kSpacing], -4);
    EXPECT_EQ(m.DrainMethod[0].Detail[kPermRatio], 1e-7);
    EXPECT_EQ(m.DrainMethod[0].Detail[kReductionFactor], 1);
    EXPECT_EQ(m.DrainMethod[2].Method, 9);
    EXPECT_EQ(Dialog11Form::MethodOfItem("ドレーン工法（三角形）"), 1);
    EXPECT_EQ(Dialog11Form::MethodOfItem("三角形"), std::nullopt);
}

}  // namespace
}  // namespace kova
