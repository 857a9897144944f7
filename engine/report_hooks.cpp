// The run's report call points: each writes its files and turns a file that
// cannot be written into a message and the end of the run (exit code 1),
// so that no report is ever left silently incomplete.
#include "engine/errors.hpp"
#include "engine/print_hooks.hpp"
#include "engine/report.hpp"
#include "engine/report_common.hpp"
#include "print/print_common.hpp"
#include "textio/cp932.hpp"

namespace kova::engine {
namespace {

template <class Fn>
void guarded(MessageSink& messages, Fn&& write) {
    try {
        write();
    } catch (const print::PrintFileError& e) {
        messages.Show(Message{"帳票ﾌｧｲﾙ(" + e.FileName() + ")に書き込み出来ません。", "error",
                              MsgIcon::Exclamation, MsgButtons::Ok, 0});
        throw RunAborted(e.what());
    } catch (const TextError& e) {
        messages.Show(Message{"帳票ﾌｧｲﾙに書き込み出来ません。", "error", MsgIcon::Exclamation,
                              MsgButtons::Ok, 0});
        throw RunAborted(e.what());
    } catch (const NonFiniteReportValue& e) {
        messages.Show(Message{"帳票に出力する値が計算できません（数値が有限ではありません）。", "error",
                              MsgIcon::None, MsgButtons::Ok, 0});
        throw RunAborted(e.what());
    }
}

// Runs write with st's reports going into files; what goes wrong is kept.
template <class Fn>
void prepare_into(EngineState& st, print::FileBatch& files, std::exception_ptr& failure, Fn&& write) {
    print::FileBatch* const before = st.report_files;
    st.report_files = &files;
    try {
        write();
    } catch (...) {
        failure = std::current_exception();
    }
    st.report_files = before;
}

// As if the files had been written directly: those opened before the
// failure are on disk (the last one cut short where it failed), then the
// failure.
void write_prepared(print::FileBatch& files, const std::exception_ptr& failure, MessageSink& messages) {
    guarded(messages, [&] {
        files.WriteAll();
        if (failure) std::rethrow_exception(failure);
    });
}

}  // namespace

void print_condition_report(EngineState& st, MessageSink& messages) {
    guarded(messages, [&] { write_condition_report(st); });
}

void prepare_position_report(EngineState& st, int position, print::FileBatch& files,
                             std::exception_ptr& failure) {
    prepare_into(st, files, failure, [&] {
        // The time curves first: unlike the profile drawing, they wait for
        // nothing.
        prepare_time_settlement(st);
        write_point_report(st, position);
    });
    st.time_curves.position = -1;
}

void print_position_report(print::FileBatch& files, const std::exception_ptr& failure,
                           MessageSink& messages) {
    write_prepared(files, failure, messages);
}

void prepare_max_profile(EngineState& st, print::FileBatch& files, std::exception_ptr& failure) {
    prepare_into(st, files, failure, [&] { draw_settlement_profile(st, kMaxProfileCode); });
}

void print_max_profile(print::FileBatch& files, const std::exception_ptr& failure, MessageSink& messages) {
    write_prepared(files, failure, messages);
}

}  // namespace kova::engine
