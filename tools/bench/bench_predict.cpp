// Times the prediction program's calculation run on 20 stations of 500
// readings each: the fits alone, and the whole run with its 60 report and
// drawing files; and one repaint of both graphs for a curve running to day
// 30001. Run through tools/bench_predict.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <QFont>
#include <QGuiApplication>
#include <QImage>

#include "platform/message.hpp"
#include "predict/hyperbolic.hpp"
#include "platform/qt/picture_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/commands/calc_run.hpp"
#include "predict/commands/graphs.hpp"
#include "testing/fakes.hpp"

using namespace kova;
using namespace kova::predict;

namespace {

ObsDataSet Stations() {
    ObsDataSet d;
    d.StationCount = kMaxStations;
    d.SettlementOption = 1;
    const Date base = *Date::FromYmd(2020, 4, 1);
    for (int k = 1; k <= kMaxStations; ++k) {
        StationRecord& s = d.Stations[k];
        s.Name = "No." + std::to_string(k);
        s.ResizeRows(kMaxObservations);
        const double rest = 0.5 + 0.05 * k, b = 80 + 5 * k;
        for (int i = 1; i <= kMaxObservations; ++i) {
            const int day = (i - 1) * 2;
            s.ObsDate[i] = Date{base.serial + day};
            s.Settlement[i] = day / (day / rest + b) + 0.0005 * ((i * 7919) % 5 - 2);
        }
        s.Sa = 1;
        s.SaPrime = kMaxObservations;
    }
    return d;
}

// Both graphs drawn once at their design sizes, as a refresh of the window
// draws them, for station 1 with a curve to day 30001 on a 30000-day axis.
double GraphRepaintMs() {
    ObsDataSet d = Stations();
    d.EndConditionPercent = 100;  // the curve runs to the end of the search
    RecordingMessages messages;
    CalcPrediction(d, 1, messages);
    const StationRecord& s = d.Stations[1];
    if (s.LastDay != kLastSearchDay + 1) {
        std::fprintf(stderr, "curve ends on day %d\n", s.LastDay);
        std::exit(1);
    }
    const QFont font = FormFont("ＭＳ Ｐゴシック", 9);
    QImage p1(477, 219, QImage::Format_RGB32), p2(219, 219, QImage::Format_RGB32);
    const auto t0 = std::chrono::steady_clock::now();
    {
        QtPicture pic(p1, TwipsScale{}, font);
        DrawTimeGraph(pic, d, s, TimeGraphView{30000, 1.2, 1});
    }
    {
        QtPicture pic(p2, TwipsScale{}, font);
        DrawRegressionGraph(pic, s, s.Intercept, s.Slope);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::filesystem::path folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path();
    using Clock = std::chrono::steady_clock;
    std::vector<double> fits, whole;
    RecordingMessages messages;
    for (int r = 0; r < runs; ++r) {
        ObsDataSet d = Stations();
        auto t0 = Clock::now();
        for (int k = 1; k <= d.StationCount; ++k) CalcPrediction(d, k, messages);
        fits.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());

        ObsDataSet e = Stations();
        t0 = Clock::now();
        RunOutcome out = RunCalculation(e, folder, messages, print::StampNow());
        whole.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (out.stationsWritten != kMaxStations || messages.Count() != 0) {
            std::fprintf(stderr, "run wrote %d stations, %zu messages\n", out.stationsWritten, messages.Count());
            return 1;
        }
    }
    std::printf("prediction of 20 stations x 500 readings: median %.2f ms over %d runs\n", Median(fits), runs);
    std::printf("whole run with its 60 files: median %.2f ms over %d runs\n", Median(whole), runs);
    std::vector<double> graphs;
    for (int r = 0; r < runs; ++r) graphs.push_back(GraphRepaintMs());
    std::printf("one repaint of both graphs, curve to day 30001: median %.2f ms over %d runs\n", Median(graphs),
                runs);
    return 0;
}
