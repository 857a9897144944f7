#include "engine/run.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <ctime>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "engine/column.hpp"
#include "engine/errors.hpp"
#include "engine/finite.hpp"
#include "engine/history.hpp"
#include "engine/print_hooks.hpp"
#include "engine/reader.hpp"
#include "engine/settlement.hpp"
#include "engine/stage_hooks.hpp"
#include "engine/strips.hpp"
#include "engine/stress.hpp"
#include "textio/cformat.hpp"
#include "textio/textfile.hpp"

namespace kova::engine {
namespace {

// The settlement at x under every load, whatever its stage. A column with a
// quantity that is not finite gives a NaN settlement (a NaN stress would
// pass every comparison as "no load"); fault, when given, then names it.
ProfileRow ProfileAt(const EngineState& st, ColumnWork& work, double x, std::string* fault = nullptr) {
    const CalcInput& in = st.input;
    clear_layer_results(work.column);
    clear_stress_increments(work.column);
    const double ground = layers_at(in, work.column, x);
    overburden_at_layers(in, work.column);
    const double u = cut_unloading_at(in, work.cuts, x);
    for (int j = 0; j < in.block_count; ++j) embankment_stress(in, st.block_loads[j], x, work.column);
    for (int j = 0; j < in.point_load_count; ++j) point_load_stress(in, j, x, work.column);
    for (int j = 0; j < in.line_load_count; ++j) line_load_stress(in, j, x, work.column);
    for (int j = 0; j < in.strip_load_count; ++j) strip_load_stress(in, j, x, work.column);
    const double s = column_settlement(in, work.column, work.results, u);
    std::string bad = profile_column_fault(work, ground, u, s);
    if (bad.empty()) return ProfileRow{x, ground, s};
    if (fault) *fault = std::move(bad);
    return ProfileRow{x, ground, std::nan("")};
}

using Profile = std::array<ProfileRow, kProfileRows>;

// The 1000 columns are independent: each worker takes every n-th row, so
// the rows are the same whatever the number of workers.
void ComputeProfile(const EngineState& st, Profile& out, int threads) {
    const double xmin = st.input.xmin, xmax = st.input.xmax;
    auto rows = [&](int first, int stride) {
        auto work = std::make_unique<ColumnWork>();
        for (int i = first; i < kProfileRows; i += stride)
            out[i] = ProfileAt(st, *work, xmin + (xmax - xmin) * 0.001 * i);
    };
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, 16);
    if (threads == 1) {
        rows(0, 1);
        return;
    }
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(rows, t, threads);
    rows(0, threads);
    for (auto& t : pool) t.join();
}

bool AllFinite(double x, double ground, double s) {
    return std::isfinite(x) && std::isfinite(ground) && std::isfinite(s);
}

// Adding +0 turns a -0 into 0, which prints without a sign.
std::string ResultLine(double x, double ground, double s) {
    return CFormat("%lf,%lf,%lf", x + 0.0, ground + 0.0, s + 0.0);
}

// The tnk1.csv row of calculation position p.
void CheckFinite(int p, double x, double ground, double s, MessageSink& messages) {
    if (!std::isfinite(s)) abort_non_finite(messages, position_place(p, x, 0), "沈下量");
    if (!std::isfinite(ground)) abort_non_finite(messages, position_place(p, x, 0), "地表面標高");
}

void WriteResultFile(const EngineState& st, const char* name, const std::string& text, MessageSink& messages) {
    try {
        WriteCp932FileAtomic(st.folder / name, text);
    } catch (const TextError&) {
        messages.Show(Message{CFormat("結果ﾌｧｲﾙ(%s)に書き込み出来ません。", name), "error", MsgIcon::None,
                              MsgButtons::Ok, 0});
        throw RunAborted("cannot write results");
    }
}

// Carries calculation position p through the loading stages.
void ComputePosition(EngineState& st, int p, MessageSink& messages) {
    CalcInput& in = st.input;
    SoilColumn& col = st.work.column;
    st.position = p;
    st.missing_curve_shown = false;
    const double x = in.positions[p].x;
    clear_layer_results(col);
    clear_stage_totals(st.units);
    const double ground = layers_at(in, col, x);
    overburden_at_layers(in, col);
    const double u = cut_unloading_at(in, st.work.cuts, x);
    in.positions[p].unloading = u;
    begin_point_history(st, u);

    double s = 0;
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        int fresh = 0, start = 0, days = 0;
        clear_stress_increments(col);
        auto visit = [&](const auto& load, auto apply) {
            if (load.stage > stage) return;
            apply();
            if (load.stage == stage) {
                ++fresh;
                start = load.start_day;
                days = load.days;
            }
        };
        for (int j = 0; j < in.block_count; ++j)
            visit(in.blocks[j], [&] { embankment_stress(in, st.block_loads[j], x, col); });
        for (int j = 0; j < in.point_load_count; ++j)
            visit(in.point_loads[j], [&] { point_load_stress(in, j, x, col); });
        for (int j = 0; j < in.line_load_count; ++j)
            visit(in.line_loads[j], [&] { line_load_stress(in, j, x, col); });
        for (int j = 0; j < in.strip_load_count; ++j)
            visit(in.strip_loads[j], [&] { strip_load_stress(in, j, x, col); });
        if (fresh == 0) continue;

        const int entry = st.history.stage_count;
        snapshot_stage_stress(st, entry, stage);
        s = column_settlement(in, col, st.work.results, u);
        stage_time_prepare(st, u, messages);
        check_stage_results(st, u, s, position_place(p, x, stage), messages);
        store_stage_settlement(st, entry, s);
        stage_time_record(st, entry, start, days);
    }
    if (std::string fault = drain_factor_fault(st); !fault.empty())
        abort_non_finite(messages, position_place(p, x, 0), fault);
    st.position_ground = ground;
    st.position_settlement = s;
}

// Keeps the messages a position shows while it is computed, to be shown in
// the run's order. They all only inform (OK alone).
class HeldMessages : public MessageSink {
public:
    MsgAnswer Show(const Message& m) override {
        shown.push_back(m);
        return MsgAnswer::Ok;
    }
    std::vector<Message> shown;
};

// Everything a calculation position leaves for the run to hand on in order.
struct PositionResult {
    std::vector<Message> messages;  // shown while computing it
    std::exception_ptr compute_failure;
    // The position's state, as the serial run leaves it in EngineState.
    double unloading = 0;
    double ground = 0;
    double settlement = 0;
    bool missing_curve_shown = false;
    ColumnWork work;
    PositionHistory history;
    UnitState units;
    StageTiming timing;
    // Its report files, ready to be written.
    bool reported = false;
    print::FileBatch files;
    std::exception_ptr report_failure;
};

// Computes position p in ws (a worker's own copy of the run's state; each
// position clears what it uses, so nothing depends on which position the
// copy computed before) and prepares its reports.
void RunPosition(EngineState& ws, int p, PositionResult& r) {
    HeldMessages held;
    try {
        ComputePosition(ws, p, held);
    } catch (...) {
        r.compute_failure = std::current_exception();
    }
    r.messages = std::move(held.shown);
    if (r.compute_failure) return;
    r.unloading = ws.input.positions[p].unloading;
    r.ground = ws.position_ground;
    r.settlement = ws.position_settlement;
    r.missing_curve_shown = ws.missing_curve_shown;
    r.work = ws.work;
    r.history = ws.history;
    r.units = ws.units;
    r.timing = ws.timing;
    // A position whose result is not finite ends the run before its reports.
    if (!AllFinite(ws.input.positions[p].x, r.ground, r.settlement)) return;
    r.reported = true;
    prepare_position_report(ws, p, r.files, r.report_failure);
}

// Hands on position p's result as the serial run would: its messages, its
// state into st, its tnk1.csv line and its report files.
void FinishPosition(EngineState& st, int p, PositionResult& r, TextFileBuilder& points,
                    MessageSink& messages) {
    for (const Message& m : r.messages) messages.Show(m);
    if (r.compute_failure) std::rethrow_exception(r.compute_failure);
    CalcInput& in = st.input;
    in.positions[p].unloading = r.unloading;
    st.position = p;
    st.position_ground = r.ground;
    st.position_settlement = r.settlement;
    st.missing_curve_shown = r.missing_curve_shown;
    st.work = r.work;
    st.history = r.history;
    st.units = r.units;
    st.timing = r.timing;
    CheckFinite(p, in.positions[p].x, r.ground, r.settlement, messages);
    points.Line(ResultLine(in.positions[p].x, r.ground, r.settlement));
    if (r.reported) print_position_report(r.files, r.report_failure, messages);
    r = PositionResult{};
}

// The calculation positions are independent: workers compute them and
// prepare their reports in parallel, each in its own copy of the state,
// while the run's thread hands the results on strictly in position order.
// Files, messages and the state left in st are those of a serial run. The
// workers start while the settlement profile is still being computed; only
// the profile drawings wait for it.
class PositionRun {
public:
    // Starts the workers; st must not change until PublishProfile.
    PositionRun(EngineState& st, int threads) : st_(st) {
        n_ = std::clamp(st.input.position_count, 0, kMaxPositions);
        if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
        threads = std::clamp(threads, 1, 16);
        workers_ = std::clamp(std::min(threads, n_), 1, 16);
        // Threads left over go to the curves of each position.
        curve_threads_ = std::max(1, threads / workers_);
        threads_ = threads;
        results_.resize(n_);
        done_.assign(n_, 0);
        if (workers_ == 1) return;
        for (int w = 0; w < workers_; ++w) {
            try {
                pool_.emplace_back([this] { Work(); });
            } catch (...) {
                Stop();
                throw;
            }
        }
    }
    ~PositionRun() { Stop(); }
    PositionRun(const PositionRun&) = delete;
    PositionRun& operator=(const PositionRun&) = delete;

    // Puts the finished profile into st, once every worker has its copy of
    // the state, and lets the profile drawings go on.
    void PublishProfile(const Profile& profile) {
        if (workers_ == 1) {
            st_.profile = profile;
            return;
        }
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [&] { return copies_ == workers_; });
        }
        st_.profile = profile;
        Signal([&] { profile_ready_ = true; });
    }

    // Hands on every position in order (without workers, computes each
    // first).
    void Finish(TextFileBuilder& points, MessageSink& messages) {
        if (workers_ == 1) {
            if (n_ == 0) return;
            auto ws = OwnState();
            for (int p = 0; p < n_; ++p) {
                RunPosition(*ws, p, results_[p]);
                FinishPosition(st_, p, results_[p], points, messages);
            }
            return;
        }
        for (int p = 0; p < n_; ++p) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [&] { return done_[p] != 0; });
            }
            FinishPosition(st_, p, results_[p], points, messages);
        }
    }

private:
    std::unique_ptr<EngineState> OwnState() const {
        auto ws = std::make_unique<EngineState>(st_);
        ws->curve_threads = curve_threads_;
        return ws;
    }

    // Threads for the curves of position p. When the positions outnumber
    // the workers, the last ones are taken while fewer are left than
    // workers: those share out the threads that fall idle.
    int CurveThreads(int p) const {
        const int left = n_ - p;
        if (n_ <= workers_ || left >= workers_) return curve_threads_;
        return std::max(curve_threads_, (threads_ + left - 1) / left);
    }

    void Work() {
        // Each worker copies the state itself (the copies are large and
        // fresh memory); st changes only once every copy is made.
        std::unique_ptr<EngineState> ws;
        std::exception_ptr noState;
        try {
            ws = OwnState();
            ws->await_profile = [this, w = ws.get()] {
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    ready_.wait(lock, [&] { return profile_ready_ || stop_; });
                    if (!profile_ready_) throw RunAborted("run stopped");
                }
                w->profile = st_.profile;
            };
        } catch (...) {
            noState = std::current_exception();
        }
        Signal([&] { ++copies_; });
        for (int p; !stop_ && (p = next_++) < n_;) {
            try {
                if (noState) std::rethrow_exception(noState);
                ws->curve_threads = CurveThreads(p);
                RunPosition(*ws, p, results_[p]);
            } catch (...) {
                results_[p].compute_failure = std::current_exception();
            }
            Signal([&] { done_[p] = 1; });
        }
    }

    template <class Fn>
    void Signal(Fn&& change) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            change();
        }
        ready_.notify_all();
    }

    // Whatever ends the run (a message, an exception), the workers are
    // stopped and joined before the results go away.
    void Stop() {
        Signal([&] { stop_ = true; });
        for (auto& t : pool_)
            if (t.joinable()) t.join();
    }

    EngineState& st_;
    int n_ = 0;
    int workers_ = 1;
    int curve_threads_ = 1;
    int threads_ = 1;
    std::vector<PositionResult> results_;
    std::mutex mutex_;
    std::condition_variable ready_;
    int copies_ = 0;
    bool profile_ready_ = false;
    std::vector<char> done_;
    std::atomic<int> next_{0};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> pool_;
};

}  // namespace

RunStamp system_run_stamp() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return RunStamp{tm.tm_year % 100, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int run_calculation(const std::filesystem::path& folder, EngineState& st, MessageSink& messages,
                    const RunOptions& options) {
    try {
        st.folder = folder;
        read_calc_input(folder, st.input, messages);
        st.stamp = options.clock ? options.clock() : system_run_stamp();
        print_condition_report(st, messages);

        CalcInput& in = st.input;
        if (in.UseCutPreload == 0) in.cut_count = 0;
        if (in.UseSandImmediate == 0) {
            // Without the immediate settlement of sand, B.K.Hough computes
            // nothing: such layers, clay or sand, do not consolidate.
            for (int i = 0; i < in.soil_count; ++i)
                if (in.soil[i].soil_kind != 0 || in.soil[i].method == kMethodHough) in.soil[i].method = kMethodNone;
        }
        divide_all_blocks(st, messages);

        // The positions are computed while the profile is, and while its
        // file is written.
        PositionRun positions(st, options.threads);
        auto rows = std::make_unique<Profile>();
        ComputeProfile(st, *rows, options.threads);
        positions.PublishProfile(*rows);
        TextFileBuilder profile;
        for (const ProfileRow& r : st.profile) {
            if (!AllFinite(r.x, r.ground, r.settlement)) {
                // Computed again, alone, to name what failed.
                std::string fault;
                auto work = std::make_unique<ColumnWork>();
                ProfileAt(st, *work, r.x, &fault);
                abort_non_finite(messages, profile_place(r.x), fault.empty() ? "沈下量" : fault);
            }
            profile.Line(ResultLine(r.x, r.ground, r.settlement));
        }
        WriteResultFile(st, "tnk.csv", profile.Utf8(), messages);
        // TNK_MAX.PZK needs the profile alone: drawn while the positions
        // are computed, written last.
        print::FileBatch maxFiles;
        std::exception_ptr maxFailure;
        prepare_max_profile(st, maxFiles, maxFailure);

        TextFileBuilder points;
        positions.Finish(points, messages);
        WriteResultFile(st, "tnk1.csv", points.Utf8(), messages);
        print_max_profile(maxFiles, maxFailure, messages);
    } catch (const RunAborted&) {
        return 1;
    }
    return 0;
}

}  // namespace kova::engine
