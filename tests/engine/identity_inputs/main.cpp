// engine_identity_inputs DIR FIRST COUNT: writes the generated variants
// FIRST .. FIRST+COUNT-1 of the byte-identity check as DIR/gen_N/CAL_TNK.DAT,
// for tools/engine_identity.py to run an engine build on.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "tests/engine/identity_variants.hpp"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: engine_identity_inputs DIR FIRST COUNT\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const int first = std::atoi(argv[2]), count = std::atoi(argv[3]);
    for (int n = first; n < first + count; ++n) {
        const std::filesystem::path folder = dir / ("gen_" + std::to_string(n));
        std::filesystem::create_directories(folder);
        enginetest::WriteLines(folder / "CAL_TNK.DAT", enginetest::IdentityVariant(n).Lines());
    }
    return 0;
}
