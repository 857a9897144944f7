#include "predict/window/graph_boxes.hpp"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "platform/qt/qt_text.hpp"
#include "predict/hyperbolic.hpp"
#include "testing/fakes.hpp"
#include "tests/predict/predict_test_util.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;
using namespace kova::predict;

namespace {

struct BoxFixture {
    ObsDataSet data;
    int cur = 1;
    QString n = QStringLiteral("500"), t = QStringLiteral("1.2");
    RecordingMessages messages;
    QString help;
    QWidget window;
    QWidget* p1 = new QWidget(&window);
    QWidget* p2 = new QWidget(&window);
    GraphBoxes* boxes = nullptr;

    BoxFixture() {
        data.StationCount = 1;
        data.Stations[1] = kova::predict::test::PartStation();
        static_cast<StationResults&>(data.Stations[1]) = ComputePrediction(data.Stations[1], data).results;
        p1->setGeometry(0, 0, 477, 219);
        p2->setGeometry(0, 220, 219, 219);
        GraphInputs in;
        in.data = [this]() -> const ObsDataSet& { return data; };
        in.curStation = [this] { return cur; };
        in.maxDaysText = [this] { return n; };
        in.maxSettlementText = [this] { return t; };
        in.selected = [] { return 1; };
        in.slopeText = [] { return QStringLiteral("       1.0000"); };
        in.interceptText = [] { return QStringLiteral("      10.0000"); };
        in.messages = &messages;
        in.setHelp = [this](const QString& h) { help = h; };
        boxes = new GraphBoxes(p1, p2, std::move(in));
        window.resize(480, 440);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

TEST(GraphBoxes, DrawAtRefreshAndShowTheUnitLabels) {
    BoxFixture f;
    f.boxes->RefreshTimeGraph();
    f.boxes->RefreshRegressionGraph();
    EXPECT_EQ(f.boxes->P1()->size(), QSize(477, 219));
    EXPECT_EQ(f.boxes->Label4()->text(), Q("（日）"));
    EXPECT_EQ(f.boxes->Label3()->text(), Q("(ｍ)"));
    EXPECT_EQ(f.boxes->Label5()->text(), Q("(日/ｍ)"));
    // The predicted curve is red, the regression line too.
    auto hasRed = [](const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == QColor(255, 0, 0)) return true;
        return false;
    };
    EXPECT_TRUE(hasRed(f.boxes->P1()->Image()));
    EXPECT_TRUE(hasRed(f.boxes->P2()->Image()));
    EXPECT_EQ(f.messages.Count(), 0u);

    f.data.TimeAxisMode = 1;
    f.boxes->RefreshTimeGraph();
    EXPECT_EQ(f.boxes->Label4()->text(), Q("（年）"));
    f.n = QStringLiteral("0");  // no drawing: the caption stays
    f.data.TimeAxisMode = 0;
    f.boxes->RefreshTimeGraph();
    EXPECT_EQ(f.boxes->Label4()->text(), Q("（年）"));

    QTest::mouseMove(f.boxes->P2(), QPoint(50, 50));
    EXPECT_EQ(f.help, Q("直線回帰グラフ＞観測データ（青表示） 回帰直線（赤表示）"));
}

TEST(GraphBoxes, AFaultIsToldOncePerRefreshNeverOnARepaint) {
    BoxFixture f;
    f.data.Stations[1].FinalSettlement = 0;  // the tenth marks divide by it
    f.boxes->RefreshTimeGraph();
    ASSERT_EQ(f.messages.Count(), 1u);
    EXPECT_EQ(f.messages.Last().text, "グラフ１－表示エラー");
    EXPECT_EQ(f.messages.Last().caption, "Tolmadex");
    EXPECT_EQ(f.messages.Last().icon, MsgIcon::Exclamation);
    f.boxes->P1()->repaint();
    f.window.resize(500, 460);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.messages.Count(), 1u);
    f.boxes->RefreshTimeGraph();
    EXPECT_EQ(f.messages.Count(), 2u);

    f.data.Stations[1].ElapsedDays.back() = 0;  // t(n) = 0
    f.boxes->RefreshRegressionGraph();
    EXPECT_EQ(f.messages.Last().text, "グラフ２－表示エラー");
}

}  // namespace
