#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

#include "shell/recent_menu.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

TEST(RecentFileMenu, SitsBeforeTheExitSeparatorAndReportsTheChosenEntry) {
    MemorySettings store;
    QMenu menu;
    QAction* print = menu.addAction(QStringLiteral("帳票印刷（&P）"));
    QAction* sepBeforeExit = menu.addSeparator();
    menu.addAction(QStringLiteral("システムの終了"));
    RecentFileMenu recent(&menu, sepBeforeExit, RecentFileList(store, "Tolm_xxx"));
    recent.Refresh();
    QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 9);
    EXPECT_EQ(actions[0], print);
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(actions[1 + i], recent.Action(i));
        EXPECT_FALSE(recent.Action(i)->isVisible()) << i;
    }
    EXPECT_EQ(actions[7], sepBeforeExit);

    recent.Update("/d/R&D/obs.tlm");
    recent.Update("/d/site.tlm");
    EXPECT_TRUE(recent.Action(0)->isVisible());
    EXPECT_TRUE(recent.Action(2)->isVisible());
    EXPECT_FALSE(recent.Action(3)->isVisible());
    EXPECT_EQ(recent.Action(1)->text(), QStringLiteral("/d/site.tlm"));
    EXPECT_EQ(recent.Action(2)->text(), QStringLiteral("/d/R&&D/obs.tlm"));  // shows one "&"
    EXPECT_EQ(recent.Path(2), "/d/R&D/obs.tlm");

    QSignalSpy spy(&recent, &RecentFileMenu::Chosen);
    recent.Action(2)->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
    // Reopening compares the path itself, not the escaped caption.
    recent.Update("/d/R&D/obs.tlm");
    EXPECT_EQ(recent.Path(1), "/d/R&D/obs.tlm");
    EXPECT_FALSE(recent.Action(3)->isVisible());
}

}  // namespace
