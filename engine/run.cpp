#include "engine/run.hpp"

#include <ctime>

#include "engine/errors.hpp"
#include "engine/reader.hpp"

namespace kova::engine {

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
    } catch (const RunAborted&) {
        return 1;
    }
    return 0;
}

}  // namespace kova::engine
