#pragma once
// The real main window in a temporary program folder, with every outside
// service faked: message boxes and file dialogs answered from scripts,
// settings in memory, the engine a shell script (or the real one).
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/main_window.hpp"
#include "editor/section_canvas.hpp"
#include "model/model.hpp"
#include "testing/qt/editor_services.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

namespace kova::test {

namespace fs = std::filesystem;

// Keeps a file from being removed while it lives: a read-only folder, or
// for root (whom that does not stop) the immutable flag. Works() is false
// where neither can be had.
class Undeletable {
public:
    explicit Undeletable(std::filesystem::path file) : file_(std::move(file)) {
        if (::geteuid() != 0) {
            works_ = ::chmod(file_.parent_path().c_str(), 0555) == 0;
            return;
        }
        works_ = SetImmutable(true);
    }
    ~Undeletable() {
        if (!works_) return;
        if (::geteuid() != 0)
            ::chmod(file_.parent_path().c_str(), 0755);
        else
            SetImmutable(false);
    }
    bool Works() const { return works_; }

private:
    bool SetImmutable(bool on) {
        int fd = ::open(file_.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }
    std::filesystem::path file_;
    bool works_ = false;
};

class EditorFixture : public ::testing::Test, protected EditorServices {
protected:
    void SetUp() override {
        app = dir.path() / "app";
        fs::create_directories(app);
        fs::copy_file(fs::path(KOVA_BIN_DIR) / "BKHough1.CSV", app / "BKHough1.CSV");
        WriteBytes(app / "SYSVER.DAT", "\"2.1.0\"\r\n");
        engine = app / "SETLCORE";
        lockFile = dir.path() / "lock" / "KOVACALC.lock";
    }
    void TearDown() override { form.reset(); }

    // A fixture of its own may give the window other services.
    virtual EditorDeps Deps() {
        EditorDeps d = ServiceDeps(msg, app, engine, lockFile);
        d.cmdLine = cmdLine;
        d.openToolForm = [this](Form1&, int i) { opened.push_back(i); };
        d.showConditions = [this](Form1&) {
            ++conditionsShown;
            return !cancelConditions;
        };
        return d;
    }

    // Creates, loads and shows the window.
    Form1& Start() {
        form = std::make_unique<Form1>(Deps());
        EXPECT_TRUE(form->Load());
        form->show();
        return *form;
    }

    // The engine: a shell script run by the real process runner.
    void EngineScript(const std::string& body) {
        WriteBytes(engine, "#!/bin/sh\n" + body + "\n");
        ::chmod(engine.c_str(), 0755);
    }

    // n rows "x,y,v" with x = 0, 1, ...
    static std::string Rows(int n, double v = 0.25) {
        std::string s;
        for (int i = 0; i < n; ++i) s += std::to_string(i) + ".000000,1.500000," + std::to_string(v) + "\n";
        return s;
    }

    // A section with something to compute (a soil layer and a calculation
    // position), as the project stands: an empty one is not calculated.
    void Computable() {
        Model& m = form->SectionModel();
        m.SoilLayerCount = 1;
        m.SoilLayer[0].Name = "Ac";
        m.CalcPosCount = 1;
        m.Cond.CalcPosName[0] = "P0";
    }

    void AddPoint(double x, double y) {
        Model& m = form->SectionModel();
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)] = BoundaryPoint{x, y};
        ++m.BndPtCount;
    }

    std::string Caption() const { return form->windowTitle().toStdString(); }
    bool Exists(const std::string& name) const { return fs::exists(app / name); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const Message& m : msg.shown) t.push_back(m.text);
        return t;
    }

    TempDir dir;
    fs::path app, engine, lockFile;
    std::string cmdLine;
    RecordingMessages msg;
    std::vector<int> opened;
    int conditionsShown = 0;
    bool cancelConditions = false;
    std::unique_ptr<Form1> form;
};

}  // namespace kova::test
