#include "testing/fakes.hpp"

namespace kova {

MsgAnswer RecordingMessages::Show(const Message& m) {
    shown.push_back(m);
    if (onShow) onShow(m);
    if (!answers_.empty()) {
        MsgAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return DefaultAnswer(m);
}

std::optional<std::filesystem::path> ScriptedFileDialogs::Next() {
    if (answers_.empty()) return std::nullopt;
    auto a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

std::optional<std::filesystem::path> ScriptedFileDialogs::OpenFile(const FileDialogRequest& req) {
    calls.push_back({false, req});
    return Next();
}

std::optional<std::filesystem::path> ScriptedFileDialogs::SaveFile(const FileDialogRequest& req) {
    calls.push_back({true, req});
    return Next();
}

ProcessStatus ScriptedProcesses::RunAndWait(const ProcessRequest& req) {
    started.push_back(req);
    if (answers_.empty()) return ProcessStatus{ProcessState::Exited, 0, {}};
    ProcessStatus s = std::move(answers_.front());
    answers_.pop_front();
    return s;
}

bool MemorySettings::Save(const std::string& app, const std::string& section,
                          const std::string& key, const std::string& value) {
    PutSetting(sections_[{app, section}], key, value);
    return true;
}

SettingPairs MemorySettings::GetAll(const std::string& app, const std::string& section) const {
    auto it = sections_.find({app, section});
    return it == sections_.end() ? SettingPairs{} : it->second;
}

}  // namespace kova
