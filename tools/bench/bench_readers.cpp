// Reads one project (.kov) or observation (.tlm) file as the programs do and
// prints what they would tell, for timing a reader on a hostile file under
// /usr/bin/time (tools/bench_readers.sh).
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "predict/obsdata.hpp"
#include "testing/fakes.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER FILE.kov|FILE.tlm\n", argv[0]);
        return 2;
    }
    const std::filesystem::path file = argv[2];
    if (file.extension() == ".tlm") {
        try {
            kova::predict::ReadDataFile(file);
            std::puts("read");
        } catch (const kova::predict::ObsFileError& e) {
            std::printf("refused: %s\n", e.what());
        }
        return 0;
    }
    auto m = std::make_unique<kova::Model>();
    kova::ProgramState ps;
    ps.AppPath = argv[1];
    kova::RecordingMessages ui;
    if (kova::ReadCondFile(*m, ps, file, ui))
        std::puts("read");
    else
        std::printf("refused: %s\n", ui.Count() ? ui.Last().text.c_str() : "");
    return 0;
}
