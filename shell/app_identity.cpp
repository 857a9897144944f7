#include "shell/app_identity.hpp"

namespace kova {

const ShellApp& KovaApp() {
    static const ShellApp app{"Kovadex", "Kova_xxx", "KOVACALC", 585, 3630, 2325,
                              "盛土による軟弱地盤の沈下予測", false};
    return app;
}

const ShellApp& TolmApp() {
    static const ShellApp app{"Tolmadex", "Tolm_xxx", "TOLMPRED", 390, 4020, 2565,
                              "双曲線法による観測沈下の予測", true};
    return app;
}

}  // namespace kova
