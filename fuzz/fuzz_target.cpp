// One libFuzzer target; FUZZ_CHECK names the property it checks (see
// properties.hpp). A broken property aborts, which libFuzzer reports as a
// finding with the input that caused it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/properties.hpp"

namespace {

// A folder of this process under TMPDIR (tools/fuzz.sh points it into the
// fuzz build, which it empties before each run).
const std::filesystem::path& Scratch() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path p =
            std::filesystem::temp_directory_path() / ("kova_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string broken = kova::fuzz::FUZZ_CHECK(bytes, Scratch());
    if (!broken.empty()) {
        std::fprintf(stderr, "property broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
