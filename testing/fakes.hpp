#pragma once
// Stand-ins for the desktop services, for tests, the screenshot programs and
// the fuzz properties: message boxes and file dialogs answered from a script,
// processes that are only recorded, settings in memory.
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "platform/settings.hpp"

namespace kova {

// Records every box; answers from a script, then with each box's default.
class RecordingMessages : public MessageSink {
public:
    MsgAnswer Show(const Message& m) override;
    void Script(MsgAnswer a) { answers_.push_back(a); }

    std::vector<Message> shown;
    // Runs as each box comes up, while it is up: what the screen shows then.
    std::function<void(const Message&)> onShow;

    std::size_t Count() const { return shown.size(); }
    const Message& Last() const { return shown.back(); }
    void Clear() { shown.clear(); }

private:
    std::deque<MsgAnswer> answers_;
};

// Records the requests and answers from a script (then: cancelled).
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Call {
        bool save;
        FileDialogRequest req;
    };
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& req) override;
    void Script(std::optional<std::filesystem::path> answer) { answers_.push_back(std::move(answer)); }
    std::vector<Call> calls;

private:
    std::optional<std::filesystem::path> Next();
    std::deque<std::optional<std::filesystem::path>> answers_;
};

// Records what was opened; answers with `works`.
class RecordingHelpViewer : public HelpViewer {
public:
    bool Open(const std::filesystem::path& file) override {
        opened.push_back(file);
        return works;
    }
    bool works = true;
    std::vector<std::filesystem::path> opened;
};

// Records every request and answers from a script (then: exited with 0).
class ScriptedProcesses : public ProcessRunner {
public:
    ProcessStatus RunAndWait(const ProcessRequest& req) override;
    void Script(ProcessStatus s) { answers_.push_back(std::move(s)); }
    std::vector<ProcessRequest> started;

private:
    std::deque<ProcessStatus> answers_;
};

// Keeps everything in memory, in the order of the real store.
class MemorySettings : public SettingsStore {
public:
    bool Save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    SettingPairs GetAll(const std::string& app, const std::string& section) const override;

private:
    std::map<std::pair<std::string, std::string>, SettingPairs> sections_;
};

}  // namespace kova
