#include "shell/fixed_dialog.hpp"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "tests/support/fixed_dialog_check.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

enum class Owner { None, Hidden, Shown };

// Every kind of fixed window over every kind of owner, at odd and even
// sizes: fixed at its twips, children where their twips say, Enter and Esc
// deaf even with a default button, centred on a shown owner and otherwise
// on the screen.
TEST(FixedDialog, SizePlaceKeysAndCentreOverKindsAndOwners) {
    for (Qt::WindowType kind : {Qt::Dialog, Qt::Tool})
        for (Owner o : {Owner::None, Owner::Hidden, Owner::Shown})
            for (const QSize twips : {QSize(4815, 2655), QSize(6030, 4320)}) {
                SCOPED_TRACE(::testing::Message() << int(kind) << "/" << int(o) << "/" << twips.width());
                QWidget owner;
                owner.setGeometry(120, 90, 800, 600);
                if (o == Owner::Shown) {
                    owner.show();
                    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
                }
                FixedDialog d(o == Owner::None ? nullptr : &owner, QStringLiteral("固定"), kind);
                EXPECT_EQ(d.windowTitle(), QStringLiteral("固定"));
                EXPECT_EQ(d.windowFlags() & Qt::WindowType_Mask, kind);
                d.SetClientTwips(twips.width(), twips.height());
                const TwipsScale s = d.Twips();
                EXPECT_NEAR(s.ToTwipsX(d.width()), twips.width(), s.perPixelX / 2);
                EXPECT_NEAR(s.ToTwipsY(d.height()), twips.height(), s.perPixelY / 2);
                auto* ok = new QPushButton(QStringLiteral("OK"), &d);
                ok->setDefault(true);
                d.PlaceTwips(ok, 2760, 2160, 1310, 405);
                EXPECT_NEAR(s.ToTwipsX(ok->x()), 2760, s.perPixelX / 2);
                EXPECT_NEAR(s.ToTwipsY(ok->height()), 405, s.perPixelY / 2);

                d.CentreOn(o == Owner::None ? nullptr : &owner);
                const QRect area = o == Owner::Shown ? owner.frameGeometry() : d.screen()->availableGeometry();
                EXPECT_TRUE(test::CentredIn(&d, area)) << d.pos().x() << "," << d.pos().y();
                test::ExpectFixedDialog(&d);
                test::ExpectFixedAndDeafToEnterAndEsc(&d);
            }
}

}  // namespace
