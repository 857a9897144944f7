// The file commands on a recording host: what each answer to the
// unsaved-changes question leaves on the window's side.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "predict/obsdata.hpp"
#include "predict/commands/tlm_commands.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

namespace kova::predict {
namespace {

std::filesystem::path Sample(const std::string& name) {
    return std::filesystem::path(KOVA_TEST_DATA) / "predict" / name;
}

class RecordingHost : public TlmCommandHost {
public:
    void CommitGridEdit() override { calls.push_back("commit"); }
    void SetCaption(const std::string& fileName) override { calls.push_back("caption " + fileName); }
    void ResetForNewData() override { calls.push_back("reset"); }
    void ShowNewData() override { calls.push_back("new"); }
    void ShowLoadedData() override { calls.push_back("loaded"); }
    void AddRecentFile(const std::string& path) override { calls.push_back("recent " + path); }
    std::optional<std::filesystem::path> RecentFile(int index) override {
        if (index < 1 || index > static_cast<int>(recent.size())) return std::nullopt;
        return recent[static_cast<std::size_t>(index - 1)];
    }
    void SetWindowEnabled(bool enabled) override { calls.push_back(enabled ? "enabled" : "disabled"); }

    std::vector<std::string> calls;
    std::vector<std::filesystem::path> recent;
};

struct Commands {
    kova::test::TempDir app;
    kova::test::TempDir work;
    RecordingMessages msg;
    ScriptedFileDialogs files;
    ScriptedProcesses processes;
    RecordingHost host;
    ObsDataSet data;
    TlmCommands c{data, TlmCommandServices{&msg, &files, &processes, app.path()}, host};

    Commands() {
        c.Start();
        host.calls.clear();
    }
    // What the host saw since the last call.
    std::vector<std::string> Take() { return std::exchange(host.calls, {}); }
};

TEST(TlmCommands, NoChangeAsksNothingAndAChangeAsks) {
    Commands f;
    EXPECT_EQ(f.c.FileName(), kUntitled);
    EXPECT_TRUE(f.c.CheckUnsavedChanges(kAskSaveText));
    EXPECT_EQ(f.msg.Count(), 0u);
    EXPECT_TRUE(f.c.QueryClose());
    EXPECT_EQ(f.msg.Count(), 0u);

    f.data.JobTitle = "変更";
    f.msg.Script(MsgAnswer::No);
    EXPECT_TRUE(f.c.CheckUnsavedChanges(kAskSaveText));
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, kAskSaveText);
    // "No" saves nothing: the next check asks again.
    f.msg.Script(MsgAnswer::No);
    EXPECT_TRUE(f.c.QueryClose());
    EXPECT_EQ(f.msg.Count(), 2u);
    EXPECT_EQ(f.msg.Last().text, kAskSaveOnCloseText);
}

TEST(TlmCommands, CancelKeepsEverything) {
    Commands f;
    f.host.recent = {Sample("sample.tlm")};
    f.data.JobTitle = "変更";
    f.Take();
    for (int command = 0; command < 4; ++command) {
        f.msg.Script(MsgAnswer::Cancel);
        switch (command) {
        case 0: f.c.New(); break;
        case 1: f.c.Open(); break;
        case 2: f.c.OpenRecent(1); break;
        case 3: EXPECT_FALSE(f.c.QueryClose()); break;
        }
        // The open edit is stored before the question, then nothing more.
        EXPECT_EQ(f.Take(), std::vector<std::string>{"commit"}) << command;
    }
    EXPECT_EQ(f.msg.Count(), 4u);
    EXPECT_TRUE(f.files.calls.empty());
    EXPECT_EQ(f.data.JobTitle, "変更");
    EXPECT_EQ(f.c.FileName(), kUntitled);
}

TEST(TlmCommands, YesSavesBeforeTheCommandGoesOn) {
    Commands f;
    f.data.JobTitle = "未保存";
    f.msg.Script(MsgAnswer::Yes);
    f.files.Script(std::nullopt);  // Save As cancelled: the command stops
    f.c.New();
    EXPECT_EQ(f.data.JobTitle, "未保存");
    EXPECT_EQ(f.c.FileName(), kUntitled);

    f.Take();
    f.msg.Script(MsgAnswer::Yes);
    f.files.Script(f.work / "site");
    f.c.New();
    const std::string saved = (f.work / "site.tlm").string();
    EXPECT_EQ(ReadDataFile(saved).JobTitle, "未保存");
    EXPECT_EQ(f.Take(), (std::vector<std::string>{"commit", "commit", "caption " + saved, "recent " + saved, "reset",
                                                  "caption " + std::string(kUntitled), "new"}));
    EXPECT_EQ(f.data.JobTitle, "無題");
    // The new data set is the reference: nothing to ask.
    EXPECT_TRUE(f.c.QueryClose());
    EXPECT_EQ(f.msg.Count(), 2u);
}

TEST(TlmCommands, WhatCannotBeReadOrComparedChangesNothingOrAsks) {
    Commands f;
    // A recent item that is gone, and a file that cannot be read.
    f.c.OpenRecent(1);
    EXPECT_EQ(f.Take(), std::vector<std::string>{"commit"});
    f.files.Script(f.work / "missing.tlm");
    f.c.Open();
    EXPECT_EQ(f.Take(), std::vector<std::string>{"commit"});
    EXPECT_EQ(f.msg.Count(), 1u);  // the read failure
    EXPECT_EQ(f.c.FileName(), kUntitled);

    // Without the reference snapshot no one can tell: the check asks.
    std::filesystem::remove(SnapshotPath(f.app.path(), "ORG"));
    f.msg.Script(MsgAnswer::Cancel);
    EXPECT_FALSE(f.c.QueryClose());
    EXPECT_EQ(f.msg.Last().text, kAskSaveOnCloseText);
}

}  // namespace
}  // namespace kova::predict
