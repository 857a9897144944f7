#pragma once
// One run of the settlement engine on a folder.
#include <filesystem>
#include <functional>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// The most threads a run uses.
inline constexpr int kMaxRunThreads = 64;

struct RunOptions {
    // The local date and time of the run; empty: the system clock.
    std::function<RunStamp()> clock;
    // Workers for the settlement profile and for the calculation positions
    // (the files and messages are those of one worker whatever the number);
    // 0: one per hardware thread; at most kMaxRunThreads.
    int threads = 0;
};

// The local time of the system clock as a run stamp.
RunStamp system_run_stamp();

// The column at x under every load, whatever its stage, as the settlement
// profile computes it: its layers, stresses and layer results into work.
struct ColumnAt {
    double ground = 0;
    double unloading = 0;   // by the cuts above
    double settlement = 0;  // the sum over the layers
};
ColumnAt column_under_all_loads(const EngineState& st, ColumnWork& work, double x);

// Reads folder/CAL_TNK.DAT, writes the result files into folder and returns
// the exit code: 0 when the results are ready, 1 after a fatal condition
// (its message has been shown). The state of the run is left in st.
int run_calculation(const std::filesystem::path& folder, EngineState& st, MessageSink& messages,
                    const RunOptions& options = {});

}  // namespace kova::engine
