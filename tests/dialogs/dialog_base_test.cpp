#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFontInfo>
#include <QTest>
#include <QWindow>

#include "dialogs/dialog_base.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "testing/tool_picks.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;

// Edits StageCount live; the check refuses OK while it is 4.
class StageLive : public LiveEditDialog {
public:
    explicit StageLive(EditorHost& h) : LiveEditDialog(h, nullptr, "live") { BeginLoad(); }
    int unloads = 0;

protected:
    void TakeSnapshot() override { saved_ = host_.SectionModel().StageCount; }
    void RestoreSnapshot() override { host_.SectionModel().StageCount = saved_; }
    bool CheckOnOk() override { return host_.SectionModel().StageCount != 4; }
    void Unload() override { ++unloads; }

private:
    i16 saved_ = 0;
};

enum class Close { Ok, Cancel, CloseBox, WindowClose, Reject };

void CloseBy(LiveEditDialog& d, Close how) {
    switch (how) {
    case Close::Ok: d.OkClicked(); break;
    case Close::Cancel: d.CancelClicked(); break;
    case Close::CloseBox: d.close(); break;
    case Close::WindowClose: d.windowHandle()->close(); break;  // through the window system
    case Close::Reject: d.reject(); break;                     // neither button nor close box
    }
}

TEST(LiveEditDialog, KeepsOrRestoresByHowItCloses) {
    const struct {
        Close how;
        i16 after;
    } cases[] = {{Close::Ok, 3}, {Close::Cancel, 1}, {Close::CloseBox, 1}, {Close::WindowClose, 1}, {Close::Reject, 3}};
    for (const auto& c : cases) {
        FakeEditorHost host;
        StageLive d(host);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        EXPECT_EQ(d.KeepEdits, 1);
        host.model->StageCount = 3;  // an edit that went straight into the model
        CloseBy(d, c.how);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(host.model->StageCount, c.after) << static_cast<int>(c.how);
        EXPECT_EQ(d.unloads, 1);
        EXPECT_EQ(host.refreshes, 1);  // also after a restore
    }
}

TEST(LiveEditDialog, FailingCheckStaysOpenWithTheEdits) {
    FakeEditorHost host;
    StageLive d(host);
    d.show();
    host.model->StageCount = 4;
    d.OkClicked();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(host.model->StageCount, 4);
    EXPECT_EQ(host.refreshes, 0);
    QTest::keyClick(&d, Qt::Key_Escape);  // Esc is no button
    EXPECT_TRUE(d.isVisible());
    d.CancelClicked();
    EXPECT_EQ(host.model->StageCount, 1);
}

class TitleCommit : public CommitDialog {
public:
    TitleCommit(EditorHost& h, std::string t) : CommitDialog(h, nullptr, "commit"), text(std::move(t)) {}
    std::string text;

protected:
    bool Commit() override {
        if (text.empty()) return false;
        host_.SectionModel().Cond.ProjectTitle = text;
        return true;
    }
};

TEST(CommitDialog, OnlyOkWrites) {
    FakeEditorHost host;
    {
        TitleCommit d(host, "工事");
        d.show();
        d.windowHandle()->close();
        EXPECT_EQ(host.model->Cond.ProjectTitle, "");
    }
    {
        TitleCommit d(host, "");
        d.show();
        d.OkClicked();
        EXPECT_TRUE(d.isVisible());
        d.text = "工事";
        d.OkClicked();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(host.model->Cond.ProjectTitle, "工事");
    }
    EXPECT_EQ(host.refreshes, 2);
}

class TwoTools : public ToolPalette {
public:
    TwoTools(EditorHost& h, QWidget* owner) : ToolPalette(h, owner, "境界線編集", "  ") {
        AddOptions({"追加", "一覧表"}, 120, 120, 1200, 400, 60);
        Load();
    }
    QDialog* modal = nullptr;

protected:
    void OptionClicked(int index) override {
        if (index == 0) host_.State().cmd_mode = 3;
        else RunModalFromOption(index, *modal);
    }
};

TEST(ToolPalette, LoadsAndUnloadsOnce) {
    FakeEditorHost host;
    QWidget owner;
    host.owner = &owner;
    owner.show();
    host.state->cmd_mode = 9;
    test::PickWithEveryTool(*host.state, test::kSomePicks);
    auto* p = new TwoTools(host, &owner);
    EXPECT_EQ(host.state->cmd_mode, 0);
    EXPECT_EQ(test::ToolsHolding(*host.state), std::vector<int>{});
    EXPECT_EQ(p->pos(), QPoint((1500 + 300) / 15, (1200 + 2000) / 15));
    p->show();
    p->Option(0)->click();
    EXPECT_EQ(host.state->cmd_mode, 3);
    EXPECT_TRUE(p->Option(0)->isChecked());

    // An option that opens a dialog is up again when the dialog has closed.
    p->modal = new QDialog(p);
    test::WhenModal<QDialog>([](QDialog* m) { m->reject(); });
    p->Option(1)->click();
    EXPECT_FALSE(p->Option(1)->isChecked());

    test::PickWithEveryTool(*host.state, test::kSomePicks);
    p->CloseClicked();
    EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
    EXPECT_EQ(host.state->cmd_mode, 0);
    EXPECT_EQ(test::ToolsHolding(*host.state), std::vector<int>{});
    EXPECT_EQ(host.StatusText(1), "  ");
    const auto statusWrites = host.status.size();
    owner.close();  // the main window's closing finds it already unloaded
    EXPECT_EQ(host.status.size(), statusWrites);
    delete p;
}

// A main window that may refuse to close (Cancel at its save question).
class RefusingOwner : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (refuse) e->ignore();
        else e->accept();
    }
};

// The unload runs when the palette really closes: not when the main window
// only receives a close it then refuses, and still when the palette closes
// later.
TEST(ToolPalette, MainWindowClosingUnloadsIt) {
    FakeEditorHost host;
    RefusingOwner owner;
    host.owner = &owner;
    owner.show();
    auto* p = new TwoTools(host, &owner);
    p->show();
    p->Option(0)->click();
    owner.close();
    EXPECT_TRUE(owner.isVisible());
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(host.state->cmd_mode, 3);
    EXPECT_TRUE(host.status.empty());
    p->close();
    EXPECT_EQ(host.state->cmd_mode, 0);
    EXPECT_EQ(host.status.size(), 1u);
    EXPECT_EQ(host.StatusText(1), "  ");
    p->close();
    EXPECT_EQ(host.status.size(), 1u);
    delete p;
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// Without the IPA fonts Japanese draws as boxes and every other test still
// passes: the dialogs' font must resolve to an installed IPA family.
TEST(FormDialog, JapaneseTextUsesAnInstalledIpaFont) {
    test::FakeEditorHost host;
    StageLive d(host);
    d.show();
    EXPECT_TRUE(QFontInfo(d.font()).family().contains(QStringLiteral("IPA"))) << QFontInfo(d.font()).family().toStdString();
}

}  // namespace
}  // namespace kova
