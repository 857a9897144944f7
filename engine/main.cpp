// SETLCORE: the settlement calculation engine. Reads CAL_TNK.DAT from the
// working directory and writes the results there; the exit code tells the
// front end whether the results are ready.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "engine/run.hpp"
#include "platform/message.hpp"

namespace {

// SETLCORE_THREADS: the number of threads the run uses (1 to 64; otherwise,
// or when it is not set, one per hardware thread).
int ThreadsFromEnvironment() {
    const char* text = std::getenv("SETLCORE_THREADS");
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end != '\0' || n < 1 || n > 64) return 0;
    return static_cast<int>(n);
}

}  // namespace

int main() {
#if defined(__GLIBC__)
    // Each drawing's curves and label board take and free buffers of
    // megabytes; kept in the heap rather than mapped and given back each
    // time, they cost no page faults after the first drawing.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    kova::StderrMessages messages("圧密沈下");
    try {
        auto state = std::make_unique<kova::engine::EngineState>();
        std::error_code ec;
        std::filesystem::path folder = std::filesystem::current_path(ec);
        if (ec) folder = ".";
        kova::engine::RunOptions options;
        options.threads = ThreadsFromEnvironment();
        return kova::engine::run_calculation(folder, *state, messages, options);
    } catch (const std::exception& e) {
        // Out of memory or a system failure: no results, and say so.
        messages.Notify(std::string("計算を続けられません。(") + e.what() + ")", kova::MsgIcon::Critical, "error");
        return 1;
    }
}
