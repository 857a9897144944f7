// Leaves report files to look at or time in a folder, as the programs do:
//   kova_cal_input PROJECT.kov FOLDER   the calculation input CAL_TNK.DAT
//                                       the editor writes before the engine
//   kova_cal_input --tlm FILE FOLDER    TOLMPRED's calculation run on an
//                                       observation file (its page files
//                                       and drawings)
#include <cstring>

#include "model/calcinput.hpp"
#include "model/model.hpp"
#include "model/projectfile.hpp"
#include "platform/message.hpp"
#include "predict/obsdata.hpp"
#include "predict/commands/calc_run.hpp"

int main(int argc, char** argv) {
    kova::StderrMessages msgs("kova_cal_input");
    if (argc == 4 && std::strcmp(argv[1], "--tlm") == 0) {
        kova::predict::ObsDataSet data = kova::predict::ReadDataFile(argv[2]);
        auto outcome = kova::predict::RunCalculation(data, argv[3], msgs, kova::print::StampNow());
        return outcome.Printable() ? 0 : 1;
    }
    if (argc != 3) return 2;
    kova::Model m;
    kova::ProgramState ps;
    if (!kova::ReadCondFile(m, ps, argv[1], msgs)) return 1;
    return kova::WriteCalcInput(m, argv[2], msgs) ? 0 : 1;
}
