// SETLCORE: the settlement calculation engine. Reads CAL_TNK.DAT from the
// working directory and writes the results there; the exit code tells the
// front end whether the results are ready.
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/run.hpp"
#include "platform/message.hpp"

int main() {
    kova::StderrMessages messages("圧密沈下");
    try {
        auto state = std::make_unique<kova::engine::EngineState>();
        std::error_code ec;
        std::filesystem::path folder = std::filesystem::current_path(ec);
        if (ec) folder = ".";
        return kova::engine::run_calculation(folder, *state, messages);
    } catch (const std::exception& e) {
        // Out of memory or a system failure: no results, and say so.
        messages.Notify(std::string("計算を続けられません。(") + e.what() + ")", kova::MsgIcon::Critical, "error");
        return 1;
    }
}
