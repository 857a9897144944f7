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

#include "engine/checks.hpp"
#include "engine/column.hpp"
#include "engine/consolidation.hpp"
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

// Whether a point, line or strip load satisfies pred.
template <class Pred>
bool AnyLoadRec(const CalcInput& in, Pred pred) {
    for (const auto& [table, count] :
         {std::pair{&in.point_loads, in.point_load_count}, std::pair{&in.line_loads, in.line_load_count},
          std::pair{&in.strip_loads, in.strip_load_count}})
        for (int j = 0; j < count; ++j)
            if (pred((*table)[j])) return true;
    return false;
}

// Whether a load of the stage is applied in it.
bool StageHasLoads(const CalcInput& in, int stage) {
    for (int j = 0; j < in.block_count; ++j)
        if (in.blocks[j].stage == stage) return true;
    return AnyLoadRec(in, [&](const LoadRec& l) { return l.stage == stage; });
}

// Whether a later stage can leave a layer less settled than an earlier one:
// a load of negative value takes stress back, and a method may read its
// coefficient at the mean pressure (Mv), so its settlement need not grow
// with the stress. Only then is the profile computed stage by stage;
// otherwise its last stage is its largest.
bool StagesMayUnload(const CalcInput& in) {
    int stages = 0;
    for (int stage = 1; stage <= kMaxStages; ++stage) stages += StageHasLoads(in, stage) ? 1 : 0;
    if (stages < 2) return false;
    for (int j = 0; j < in.block_count; ++j)
        if (in.blocks[j].unit_weight < 0) return true;
    if (AnyLoadRec(in, [](const LoadRec& l) { return l.load < 0; })) return true;
    for (int i = 0; i < in.soil_count; ++i)
        if (SettleMethodOf(in.soil[i].method).may_fall) return true;
    return false;
}

// Adds each load's stress at x to col, load after load in the input's order,
// calling added(load) after each.
template <class Added>
void EachLoadStress(const EngineState& st, double x, SoilColumn& col, Added added) {
    const CalcInput& in = st.input;
    const MidDepths zm = mid_depths(col);
    for (int j = 0; j < in.block_count; ++j) {
        embankment_stress(in, st.block_loads[j], x, zm, col);
        added(in.blocks[j]);
    }
    for (int j = 0; j < in.point_load_count; ++j) {
        point_load_stress(in, j, x, col);
        added(in.point_loads[j]);
    }
    for (int j = 0; j < in.line_load_count; ++j) {
        line_load_stress(in, j, x, col);
        added(in.line_loads[j]);
    }
    for (int j = 0; j < in.strip_load_count; ++j) {
        strip_load_stress(in, j, x, col);
        added(in.strip_loads[j]);
    }
}

// The settlement at x under every load, whatever its stage. A column with a
// quantity that is not finite, or with a layer that settles at least its
// thickness, gives a NaN settlement (a NaN stress would pass every
// comparison as "no load"); fault, when given, then holds the message.
ProfileRow ProfileAt(const EngineState& st, ColumnWork& work, double x, std::string* fault = nullptr) {
    const CalcInput& in = st.input;
    const auto [ground, u, s] = column_under_all_loads(st, work, x);
    std::string bad = profile_column_fault(work, ground, u, s);
    if (!bad.empty()) bad = non_finite_text(profile_place(x), bad);
    else if (std::string thick = layer_settlement_fault(in, work.column, work.results, u); !thick.empty())
        bad = profile_place(x) + ": " + thick;
    if (bad.empty()) return ProfileRow{x, ground, s};
    if (fault) *fault = std::move(bad);
    return ProfileRow{x, ground, std::nan("")};
}

using Profile = std::array<ProfileRow, kProfileRows>;

// The 1000 columns are independent, each computed alone: the rows are the
// same whoever computes them. Rows [first, last) into out.
void ComputeProfileRows(const EngineState& st, Profile& out, ColumnWork& work, int first, int last) {
    const double xmin = st.input.xmin, xmax = st.input.xmax;
    for (int i = first; i < last; ++i) out[i] = ProfileAt(st, work, xmin + (xmax - xmin) * 0.001 * i);
}

bool AllFinite(double x, double ground, double s) {
    return std::isfinite(x) && std::isfinite(ground) && std::isfinite(s);
}

// A value that prints as zero at six decimals prints without a sign (adding
// +0 turns a -0 into 0).
double Unsigned0(double v) { return std::fabs(v) < 5e-7 ? 0.0 : v + 0.0; }

std::string ResultLine(double x, double ground, double s) {
    return CFormat("%lf,%lf,%lf", Unsigned0(x), Unsigned0(ground), Unsigned0(s));
}

// The tnk1.csv row of calculation position p.
void CheckFinite(const CalcInput& in, int p, double ground, double s, MessageSink& messages) {
    if (!std::isfinite(s)) abort_non_finite(messages, position_place(in, p, 0), "沈下量");
    if (!std::isfinite(ground)) abort_non_finite(messages, position_place(in, p, 0), "地表面標高");
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
    // The run goes on, but nothing under the position is computed: tnk1.csv
    // keeps its row (ground -9999.99, settlement 0), which is no result.
    if (col.count == 0) messages.Show(no_soil_message(position_place(in, p, 0)));

    // Each load is computed once; a stage sums those of its own and the
    // earlier stages.
    struct Timing {
        int stage, start, days;
    };
    std::vector<Timing> timing;
    std::vector<std::array<double, kColumnSlots>>& load_dp = st.work.load_dp;
    load_dp.clear();
    clear_stress_increments(col);
    EachLoadStress(st, x, col, [&](const auto& load) {
        load_dp.push_back(col.dp);
        timing.push_back({load.stage, load.start_day, load.days});
        clear_stress_increments(col);
    });
    double s = 0;
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        int fresh = 0, start = 0, days = 0;
        clear_stress_increments(col);
        // The loads of this stage and the earlier ones; those of this stage
        // give its start and length.
        for (std::size_t n = 0; n < timing.size(); ++n) {
            if (timing[n].stage == stage) {
                ++fresh;
                start = timing[n].start;
                days = timing[n].days;
            }
            if (timing[n].stage <= stage)
                for (int i = 0; i < col.count; ++i) col.dp[i] += load_dp[n][i];
        }
        if (fresh == 0) continue;

        const int entry = st.history.stage_count;
        snapshot_stage_stress(st, entry, stage);
        s = column_settlement(in, col, st.work.results, u);
        std::array<double, kColumnSlots> own{};
        for (int i = 0; i < col.count; ++i) own[i] = slot_settlement(in, col, st.work.results, i);
        if (entry > 0) s = keep_reached_settlement(in, col, st.work.results, st.history.stage_settlement[entry - 1], s);
        stage_time_prepare(st, u, messages);
        check_stage_results(st, u, s, position_place(in, p, stage), messages);
        if (std::string thick = layer_settlement_fault(in, col, st.work.results, u); !thick.empty())
            abort_run(messages, position_place(in, p, stage) + ": " + thick);
        store_stage_settlement(st, entry, s);
        mark_kept_settlement(st, entry, own);
        stage_time_record(st, entry, start, days);
    }
    if (std::string fault = drain_factor_fault(st); !fault.empty())
        abort_non_finite(messages, position_place(in, p, 0), fault);
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
    PositionState state;
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
    r.state = ws;
    // A position whose result is not finite ends the run before its reports.
    if (!AllFinite(ws.input.positions[p].x, ws.position_ground, ws.position_settlement)) return;
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
    static_cast<PositionState&>(st) = r.state;
    CheckFinite(in, p, st.position_ground, st.position_settlement, messages);
    points.Line(ResultLine(in.positions[p].x, st.position_ground, st.position_settlement));
    if (r.reported) print_position_report(r.files, r.report_failure, messages);
    r = PositionResult{};
}

// A rough measure of a position's work, to start the longest first: its
// reports and time curves grow with the consolidation units of its column,
// units with drains the most.
int PositionWeight(const EngineState& st, int p, SoilColumn& col) {
    const CalcInput& in = st.input;
    layers_at(in, col, in.positions[p].x);
    int weight = 1;
    for (int i = 0; i < col.count; ++i) {
        const SoilLayerRec& s = in.soil[col.layer[i]];
        if (consolidating_layer(s)) weight += s.drain_kind != 0 ? 3 : 2;
    }
    return weight;
}

// The run on several threads. The settlement profile is cut into chunks of
// columns, and the workers take the chunks first, then the calculation
// positions, longest first, from one shared queue; each position is
// computed, and its reports prepared, in the worker's own copy of the state
// (each position clears what it uses, so nothing depends on which position
// the copy computed before). The run's thread helps with the profile, then
// writes it and hands the positions on strictly in position order: files,
// messages and the state left in st are those of a serial run.
class ParallelRun {
public:
    // Starts the workers, which work from a copy of st as it is now.
    ParallelRun(EngineState& st, int threads, Profile& rows)
        : st_(st), snapshot_(std::make_unique<const EngineState>(st)), rows_(rows) {
        n_ = std::clamp(st.input.position_count, 0, kMaxPositions);
        workers_ = threads;
        results_.resize(n_);
        done_.assign(n_, 0);
        auto column = std::make_unique<SoilColumn>();
        std::vector<std::pair<int, int>> weights;
        for (int p = 0; p < n_; ++p) weights.emplace_back(-PositionWeight(st, p, *column), p);
        std::stable_sort(weights.begin(), weights.end());
        for (const auto& w : weights) order_.push_back(w.second);
        for (int w = 0; w < workers_; ++w) {
            try {
                pool_.emplace_back([this] { Work(); });
            } catch (...) {
                Stop();
                throw;
            }
        }
    }
    ~ParallelRun() { Stop(); }
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    // Takes chunks of the profile until none is left, waits until every
    // chunk is done, then puts the profile into st and lets the profile
    // drawings go on.
    void CompleteProfile() {
        auto work = std::make_unique<ColumnWork>();
        TakeChunks(*snapshot_, *work);
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [&] { return chunks_done_ == kChunks; });
        }
        if (profile_failure_) std::rethrow_exception(profile_failure_);
        st_.profile = rows_;
        Signal([&] { profile_ready_ = true; });
    }

    // Hands on every position in order.
    void Finish(TextFileBuilder& points, MessageSink& messages) {
        for (int p = 0; p < n_; ++p) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [&] { return done_[p] != 0; });
            }
            FinishPosition(st_, p, results_[p], points, messages);
        }
    }

private:
    static constexpr int kChunkRows = 25;
    static constexpr int kChunks = (kProfileRows + kChunkRows - 1) / kChunkRows;

    void TakeChunks(const EngineState& st, ColumnWork& work) {
        for (int c; !stop_ && (c = next_chunk_++) < kChunks;) {
            try {
                ComputeProfileRows(st, rows_, work, c * kChunkRows, std::min(kProfileRows, (c + 1) * kChunkRows));
            } catch (...) {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!profile_failure_) profile_failure_ = std::current_exception();
            }
            Signal([&] { ++chunks_done_; });
        }
    }

    void Work() {
        auto work = std::make_unique<ColumnWork>();
        TakeChunks(*snapshot_, *work);
        // The worker's own state, copied (from the snapshot, which never
        // changes) once it has a position to compute.
        std::unique_ptr<EngineState> ws;
        for (int k; !stop_ && (k = next_position_++) < n_;) {
            const int p = order_[k];
            try {
                if (!ws) {
                    ws = std::make_unique<EngineState>(*snapshot_);
                    ws->await_profile = [this, w = ws.get()] {
                        {
                            std::unique_lock<std::mutex> lock(mutex_);
                            ready_.wait(lock, [&] { return profile_ready_ || stop_; });
                            if (!profile_ready_) throw RunAborted("run stopped");
                        }
                        w->profile = rows_;
                    };
                }
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
    const std::unique_ptr<const EngineState> snapshot_;
    Profile& rows_;
    int n_ = 0;
    int workers_ = 1;
    std::vector<int> order_;  // positions, longest first
    std::vector<PositionResult> results_;
    std::mutex mutex_;
    std::condition_variable ready_;
    int chunks_done_ = 0;
    std::exception_ptr profile_failure_;
    bool profile_ready_ = false;
    std::vector<char> done_;
    std::atomic<int> next_chunk_{0};
    std::atomic<int> next_position_{0};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> pool_;
};

}  // namespace

ColumnAt column_under_all_loads(const EngineState& st, ColumnWork& work, double x) {
    const CalcInput& in = st.input;
    clear_layer_results(work.column);
    clear_stress_increments(work.column);
    ColumnAt at;
    at.ground = layers_at(in, work.column, x);
    overburden_at_layers(in, work.column);
    at.unloading = cut_unloading_at(in, work.cuts, x);
    if (!StagesMayUnload(in)) {
        EachLoadStress(st, x, work.column, [](const auto&) {});
        at.settlement = column_settlement(in, work.column, work.results, at.unloading);
        return at;
    }
    // Stage by stage, as a calculation position is computed: a layer keeps
    // the largest settlement it has reached (no rebound).
    // Each load is computed once; a stage sums those of its own and the
    // earlier stages.
    SoilColumn& col = work.column;
    work.load_dp.clear();
    work.load_stage.clear();
    EachLoadStress(st, x, col, [&](const auto& load) {
        work.load_dp.push_back(col.dp);
        work.load_stage.push_back(load.stage);
        clear_stress_increments(col);
    });
    std::array<double, kColumnSlots> reached{};
    bool computed = false;
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        if (!StageHasLoads(in, stage)) continue;
        clear_stress_increments(col);
        for (std::size_t n = 0; n < work.load_dp.size(); ++n)
            if (work.load_stage[n] <= stage)
                for (int i = 0; i < col.count; ++i) col.dp[i] += work.load_dp[n][i];
        double s = column_settlement(in, work.column, work.results, at.unloading);
        if (computed) s = keep_reached_settlement(in, work.column, work.results, reached, s);
        for (int i = 0; i < work.column.count; ++i) reached[i] = slot_settlement(in, work.column, work.results, i);
        at.settlement = s;
        computed = true;
    }
    return at;
}

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
        // Refused before any file is written: no report may pass for results.
        check_input_meaning(st.input, messages);
        st.stamp = options.clock ? options.clock() : system_run_stamp();
        print_condition_report(st, messages);

        CalcInput& in = st.input;
        if (in.UseCutPreload == 0) in.cut_count = 0;
        if (in.UseSandImmediate == 0) {
            // Without the immediate settlement of sand, an immediate method
            // (B.K.Hough) computes nothing: such layers, clay or sand, do not
            // consolidate.
            for (int i = 0; i < in.soil_count; ++i)
                if (in.soil[i].soil_kind != 0 || SettleMethodOf(in.soil[i].method).immediate)
                    in.soil[i].method = kMethodNone;
        }
        divide_all_blocks(st, messages);
        report_drains_and_stage_days(in, messages);

        int threads = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
        threads = std::clamp(threads, 1, kMaxRunThreads);
        auto rows = std::make_unique<Profile>();
        std::unique_ptr<ParallelRun> parallel;
        if (threads > 1) {
            parallel = std::make_unique<ParallelRun>(st, threads, *rows);
            parallel->CompleteProfile();
        } else {
            auto work = std::make_unique<ColumnWork>();
            ComputeProfileRows(st, *rows, *work, 0, kProfileRows);
            st.profile = *rows;
        }
        TextFileBuilder profile;
        for (const ProfileRow& r : st.profile) {
            if (!AllFinite(r.x, r.ground, r.settlement)) {
                // Computed again, alone, to name what failed.
                std::string fault;
                auto work = std::make_unique<ColumnWork>();
                ProfileAt(st, *work, r.x, &fault);
                if (fault.empty()) abort_non_finite(messages, profile_place(r.x), "沈下量");
                abort_run(messages, fault);
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
        if (parallel) {
            parallel->Finish(points, messages);
        } else if (in.position_count > 0) {
            // One position after the other, each handed on as soon as done.
            auto ws = std::make_unique<EngineState>(st);
            for (int p = 0; p < std::clamp(in.position_count, 0, kMaxPositions); ++p) {
                PositionResult r;
                RunPosition(*ws, p, r);
                FinishPosition(st, p, r, points, messages);
            }
        }
        WriteResultFile(st, "tnk1.csv", points.Utf8(), messages);
        print_max_profile(maxFiles, maxFailure, messages);
    } catch (const RunAborted&) {
        return 1;
    }
    return 0;
}

}  // namespace kova::engine
