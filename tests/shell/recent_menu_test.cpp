#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

#include "shell/recent_menu.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

// The file menu of both front ends around the recent-file entries.
struct FileMenu {
    QMenu menu;
    QAction* print;
    QAction* sepBeforeExit;
    QAction* exit;
    FileMenu() {
        print = menu.addAction(QStringLiteral("帳票印刷（&P）"));
        sepBeforeExit = menu.addSeparator();
        exit = menu.addAction(QStringLiteral("システムの終了"));
    }
};

TEST(RecentFileMenu, SitsBetweenPrintAndTheExitSeparatorHiddenUntilFilled) {
    MemorySettings store;
    FileMenu fm;
    RecentFileMenu recent(&fm.menu, fm.sepBeforeExit, RecentFileList(store, "Kova_xxx"));
    recent.Refresh();
    QList<QAction*> actions = fm.menu.actions();
    ASSERT_EQ(actions.size(), 9);
    EXPECT_EQ(actions[0], fm.print);
    EXPECT_TRUE(actions[1]->isSeparator());
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(actions[1 + i], recent.Action(i));
        EXPECT_FALSE(recent.Action(i)->isVisible()) << i;
    }
    EXPECT_EQ(actions[7], fm.sepBeforeExit);
    EXPECT_EQ(actions[8], fm.exit);
}

TEST(RecentFileMenu, ShowsTheStoredFilesAndReportsTheChosenEntry) {
    MemorySettings store;
    FileMenu fm;
    RecentFileMenu recent(&fm.menu, fm.sepBeforeExit, RecentFileList(store, "Tolm_xxx"));
    recent.Update("/d/R&D/obs.tlm");
    recent.Update("/d/site.tlm");
    EXPECT_TRUE(recent.Action(0)->isVisible());
    EXPECT_TRUE(recent.Action(1)->isVisible());
    EXPECT_TRUE(recent.Action(2)->isVisible());
    EXPECT_FALSE(recent.Action(3)->isVisible());
    EXPECT_EQ(recent.Action(1)->text(), QStringLiteral("/d/site.tlm"));
    EXPECT_EQ(recent.Action(2)->text(), QStringLiteral("/d/R&&D/obs.tlm"));  // shows one "&"
    EXPECT_EQ(recent.Path(2), "/d/R&D/obs.tlm");
    EXPECT_EQ(store.Get("Tolm_xxx", "Recent Files", "RecentFile2"), "/d/R&D/obs.tlm");

    QSignalSpy spy(&recent, &RecentFileMenu::Chosen);
    recent.Action(2)->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);

    // Reopening the second entry moves it up; the comparison uses the path
    // itself, not the escaped caption.
    recent.Update("/d/R&D/obs.tlm");
    EXPECT_EQ(recent.Path(1), "/d/R&D/obs.tlm");
    EXPECT_EQ(recent.Path(2), "/d/site.tlm");
    EXPECT_FALSE(recent.Action(3)->isVisible());
}

}  // namespace
