// A message belongs to the window the user is in: every box TOLMPRED's
// windows show through the program's one message sink is parented to the
// modal dialog open at the time, else to the main window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "dialogs/grid/qex_flg.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/window/station_list_dialog.hpp"
#include "tests/predict/predict_test_util.hpp"
#include "tests/support/box_parents.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;
using namespace kova::predict;

namespace {

TEST(MessageParent, EveryBoxOfADialogBelongsToTheDialog) {
    QWidget main;
    main.resize(800, 600);
    main.show();
    QtMessages messages("Tolmadex", &main);
    ObsDataSet data;
    data.StationCount = kMaxStations;
    for (int i = 1; i <= kMaxStations; ++i) data.Stations[i].Name = "S" + std::to_string(i);

    // Each dialog with what makes it speak, as the user does it.
    struct Walk {
        const char* dialog;
        std::function<QDialog*()> open;
        std::function<void(QDialog*)> provoke;
        std::vector<std::string> texts;
    };
    const Walk walks[] = {
        {"station list", [&] { return new F1(data, messages, &main, {}); },
         [](QDialog* d) {
             auto* list = static_cast<F1*>(d);
             grid::QEX_FLG& g = *list->QEXFLG();
             g.SetCurrentCell(3, 1);
             g.InsertRow();  // a twenty-first station
             g.SetCurrentCell(2, 1);
             g.Model().setData(g.Model().index(1, 1), Q("a\"b"), Qt::EditRole);
             list->Text1()->setText(Q("題\"名"));
             list->Command1_Click();
         },
         {"観測所は20箇所までです。", "観測所2の名称に使用できない文字（\"）が含まれています。",
          "業務名称に使用できない文字（\"）が含まれています。"}},
        {"graph options", [&] { return new Dialog1(data, messages, &main); },
         [](QDialog* d) {
             auto* options = static_cast<Dialog1*>(d);
             options->T1(1)->setText(QStringLiteral("1e999"));
             options->O2(2)->setChecked(true);
             options->OKButton()->click();
         },
         {"「残留沈下量指定（ｍ）」は0～1000の範囲で指定してください。"}},
    };
    for (const Walk& w : walks) {
        SCOPED_TRACE(w.dialog);
        kova::test::BoxWatch watch;
        std::unique_ptr<QDialog> dialog(w.open());
        QDialog* d = dialog.get();
        kova::test::WhenModal<QDialog>([&](QDialog* shown) {
            EXPECT_EQ(shown, d);
            w.provoke(d);
            d->reject();
        });
        dialog->exec();
        std::vector<std::string> texts;
        for (const auto& box : watch.Boxes()) {
            texts.push_back(box.text);
            EXPECT_EQ(box.parent, d) << box.text;
        }
        EXPECT_EQ(texts, w.texts);
    }
    // With no dialog open, the main window's.
    kova::test::BoxWatch watch;
    messages.Notify("x");
    ASSERT_EQ(watch.Boxes().size(), 1u);
    EXPECT_EQ(watch.Boxes()[0].parent, &main);
}

}  // namespace
