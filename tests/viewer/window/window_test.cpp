// The viewer's window and its painting on Qt: the reports of a folder in
// order, the PDF of the chosen one through the save dialog, faults named,
// and text turned the way the drawing records ask.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "testing/fakes.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cp932.hpp"
#include "viewer/app/document.hpp"
#include "viewer/app/viewer_window.hpp"

using namespace kova::viewer;
namespace fs = std::filesystem;

namespace {

// The one application of the test program, ended before the program's own
// exit (a window once shown leaves devices that must go with it).
QApplication& App() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

const std::string kHead = "   5  12  19  14   3   7               \r\n";

void Write(const fs::path& p, const std::string& utf8) { kova::test::WriteBytes(p, kova::Utf8ToCp932(utf8)); }

TEST(ViewerWindow, ListsTheReportsInOrderAndSavesTheChosenOneAsPdf) {
    App();
    kova::test::TempDir dir;
    Write(dir / "TL_PRD1.PDT", "沈下算出点-No.1\r\n" + kHead + "$1  TOLMCURV.PFM\r\n00  題\r\n");
    Write(dir / "TK_DT_01.PDT", "沈下算出点-No.01\r\n" + kHead + "$1  A.PFM\r\n00  x\r\n$1  B.PFM\r\n00  y\r\n");
    Write(dir / "TK_DATA.PDT", "検討条件\r\n" + kHead + "$1  SJK_0000.PFM\r\n00  x\r\nbroken\r\n");
    kova::ScriptedFileDialogs files;
    kova::RecordingMessages messages;
    ViewerWindow w(dir.path(), files, messages);
    ASSERT_EQ(w.ReportCount(), 3);
    EXPECT_TRUE(w.List()->item(0)->text().startsWith("TK_DATA.PDT"));
    EXPECT_TRUE(w.List()->item(1)->text().startsWith("TK_DT_01.PDT"));
    EXPECT_TRUE(w.List()->item(2)->text().startsWith("TL_PRD1.PDT"));
    EXPECT_EQ(w.Current(), 0);
    EXPECT_TRUE(w.FaultText().contains("TK_DATA.PDT 5行目")) << w.FaultText().toStdString();

    w.List()->setCurrentRow(1);
    EXPECT_EQ(w.Current(), 1);
    EXPECT_EQ(w.ShownPages(), 2);
    EXPECT_TRUE(w.FaultText().isEmpty());

    const fs::path firstFolder = w.SaveFolder();
    files.Script(dir / "out.pdf");
    w.SavePdf();
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_TRUE(files.calls[0].save);
    // The report's own name, in the folder saved to last (the documents at first).
    EXPECT_EQ(fs::path(files.calls[0].req.initialName).filename(), "TK_DT_01.pdf");
    EXPECT_EQ(fs::path(files.calls[0].req.initialName).parent_path(), firstFolder);
    EXPECT_EQ(w.SaveFolder(), dir.path());
    ASSERT_TRUE(fs::exists(dir / "out.pdf"));
    EXPECT_EQ(kova::test::ReadBytes(dir / "out.pdf").substr(0, 5), "%PDF-");
    EXPECT_TRUE(messages.shown.empty());

    // A file that cannot be written is said so.
    files.Script(dir / "no" / "such" / "out.pdf");
    w.SavePdf();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("out.pdf"), std::string::npos);
    // Cancelled: nothing happens.
    w.SavePdf();
    EXPECT_EQ(messages.shown.size(), 1u);
}

// One program's set alone; every report at once into one PDF; the zoom
// follows the pane until chosen; a long report paints only what is seen.
TEST(ViewerWindow, SetsAllReportsZoomAndPagesPaintedAsTheyComeIntoView) {
    App();
    kova::test::TempDir dir;
    Write(dir / "TL_PRD1.PDT", "沈下算出点-No.1\r\n" + kHead + "$1  TOLMCURV.PFM\r\n00  題\r\n");
    std::string longBody;
    for (int i = 0; i < 3000; ++i) longBody += "$1  A.PFM\r\n00  p" + std::to_string(i) + "\r\n";
    Write(dir / "TK_DT_01.PDT", "沈下算出点-No.01\r\n" + kHead + longBody);
    Write(dir / "TK_DATA.PDT", "検討条件\r\n" + kHead + "$1  SJK_0000.PFM\r\n00  x\r\n");
    kova::ScriptedFileDialogs files;
    kova::RecordingMessages messages;
    {
        ViewerWindow tl(dir.path(), files, messages, nullptr, ReportSet::Prediction);
        ASSERT_EQ(tl.ReportCount(), 1);
        EXPECT_TRUE(tl.List()->item(0)->text().startsWith("TL_PRD1.PDT"));
        ViewerWindow tk(dir.path(), files, messages, nullptr, ReportSet::Calculation);
        EXPECT_EQ(tk.ReportCount(), 2);
    }
    ViewerWindow w(dir.path(), files, messages);
    w.resize(900, 700);
    w.show();
    App().processEvents();
    // Fitting the width: the page and its margins fill the pane.
    EXPECT_TRUE(w.Fitting());
    const double fit = w.Zoom();
    w.resize(1200, 700);
    App().processEvents();
    EXPECT_GT(w.Zoom(), fit);
    w.ActualSize();
    EXPECT_FALSE(w.Fitting());
    EXPECT_NEAR(w.Zoom(), w.logicalDpiX() / 254.0, 1e-9);
    w.ZoomBy(1.25);
    EXPECT_NEAR(w.Zoom(), w.logicalDpiX() / 254.0 * 1.25, 1e-9);
    w.resize(900, 700);
    App().processEvents();
    EXPECT_NEAR(w.Zoom(), w.logicalDpiX() / 254.0 * 1.25, 1e-9);  // a chosen zoom stays
    w.FitWidth();

    w.Show(1);
    EXPECT_EQ(w.ShownPages(), 3000);
    const int before = w.PaintedPages();
    w.grab();
    EXPECT_GT(w.PaintedPages(), before);
    EXPECT_LE(w.PaintedPages() - before, 4);
    // End and Ctrl+End bring the last page into the pane, whichever pane has
    // the focus; the list keeps the chosen report.
    for (Qt::KeyboardModifiers mod : {Qt::NoModifier, Qt::ControlModifier}) {
        w.Show(1);
        ASSERT_EQ(w.TopPage(), 0);
        QTest::keyClick(w.List(), Qt::Key_End, mod);
        EXPECT_EQ(w.TopPage(), 2999) << int(mod);
        EXPECT_EQ(w.Current(), 1);
    }

    w.SetAllReports(true);
    files.Script(dir / "all.pdf");
    w.SavePdf();
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_EQ(fs::path(files.calls[0].req.initialName).filename(), "TK_ALL.pdf");
    const std::string pdf = kova::test::ReadBytes(dir / "all.pdf");
    std::size_t pages = 0;
    for (std::size_t at = 0; (at = pdf.find("/Type /Page\n", at)) != std::string::npos; ++at) ++pages;
    EXPECT_EQ(pages, 3002u);
    // A page range of the printed set, numbered through the set.
    const LaidReport a = LoadLaid(dir / "TK_DATA.PDT"), b = LoadLaid(dir / "TL_PRD1.PDT");
    const auto set = PrintSet({&a, &b, &a});
    ASSERT_EQ(set.size(), 3u);
    struct Range {
        int from, to;
        std::vector<int> places;
    } ranges[] = {{0, 0, {1, 2, 3}}, {2, 3, {2, 3}}, {2, 9, {2, 3}}, {3, 2, {}}, {1, 1, {1}}};
    for (const Range& r : ranges) {
        std::vector<int> got;
        for (const PrintPage& p : PageRange(set, r.from, r.to)) {
            got.push_back(p.place.page);
            EXPECT_EQ(p.place.pages, 3);
        }
        EXPECT_EQ(got, r.places) << r.from << "-" << r.to;
    }
}

TEST(ViewerWindow, AFolderWithoutReportsSaysSo) {
    App();
    kova::test::TempDir dir;
    kova::ScriptedFileDialogs files;
    kova::RecordingMessages messages;
    ViewerWindow w(dir.path(), files, messages);
    EXPECT_EQ(w.ReportCount(), 0);
    EXPECT_TRUE(w.FaultText().contains("*.PDT"));
    w.SavePdf();
    EXPECT_TRUE(files.calls.empty());
}

// The box around the dark pixels of an image.
QRect Ink(const QImage& img) {
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                l = std::min(l, x), r = std::max(r, x);
                t = std::min(t, y), b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

QRect InkOfText(int angle) {
    // A frame of 2100 x 3000 units on a page 2100 pixels wide: one unit a pixel.
    DrawingFile d = ReadDrawing(kova::Utf8ToCp932("D.PZK\r\n24,31\r\n# 枠＆軸\r\nK 1000 1500  100  100 " +
                                                  std::to_string(angle) + " 2\r\nABCDEFGH\r\n"),
                                "D.PZK");
    LaidPage page;
    page.drawings.push_back({"D.PZK", &d, Frame{0, 0, 2100, 3000}});
    return Ink(RenderPage(page, 2100));
}

TEST(QtPicturePage, TextSitsOnItsLowerLeftCornerAndTurnsUpward) {
    App();
    // Eight half-width characters of a 100-unit cell run 400 units.
    QRect flat = InkOfText(0);
    ASSERT_FALSE(flat.isNull());
    EXPECT_GE(flat.left(), 995);
    EXPECT_LE(flat.right(), 1405);
    EXPECT_GE(flat.top(), 1395);
    EXPECT_LE(flat.bottom(), 1505);
    EXPECT_GT(flat.width(), 300);

    QRect up = InkOfText(90);
    ASSERT_FALSE(up.isNull());
    EXPECT_GE(up.left(), 895);
    EXPECT_LE(up.right(), 1005);
    EXPECT_GE(up.top(), 1095);
    EXPECT_LE(up.bottom(), 1505);
    EXPECT_GT(up.height(), 300);
    EXPECT_LT(up.width(), 110);
}

}  // namespace
