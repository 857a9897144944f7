// Times the prediction program's calculation run on 20 stations of 500
// readings each: the fits alone, and the whole run with its 60 report and
// drawing files. Run through tools/bench_predict.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/message.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/window/calc_run.hpp"

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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
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
    return 0;
}
