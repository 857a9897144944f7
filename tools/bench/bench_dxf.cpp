// Imports one DXF file as the editor does, status text included, and
// prints the time it took and what landed. Run through tools/bench_dxf.sh,
// which also gives the peak memory.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "model/dxf.hpp"
#include "model/model.hpp"
#include "testing/fakes.hpp"

using namespace kova;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kova_bench_dxf FILE PROGRAM_DIR\n");
        return 2;
    }
    auto m = std::make_unique<Model>();
    RecordingMessages ui;
    std::string last;
    const auto t0 = std::chrono::steady_clock::now();
    const DxfImport r = ImportDxf(*m, argv[2], argv[1], ui, [&](const std::string& s) { last = s; });
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("import %.2f s, result %d, %d points, %d lines, status \"%s\"\n", s, static_cast<int>(r),
                m->BndPtCount, m->BndLineCount, last.c_str());
    for (const Message& msg : ui.shown) std::printf("told: %s\n", msg.text.c_str());
    return 0;
}
