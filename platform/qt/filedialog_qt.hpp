#pragma once
// The open and save dialogs on Qt.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/filedialog.hpp"
#include "platform/settings.hpp"

class QFileDialog;

namespace kova {

// Qt's filter text for a filter in the programs' notation: one entry per
// line of ";;", patterns in parentheses (not repeated when the description
// already ends with them).
QString QtFilter(const std::string& filter);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    // Where the folder the user last chose a file in is remembered between
    // runs (section "File Dialogs", key "LastFolder" of `app`).
    void RememberIn(SettingsStore* settings, std::string app) {
        settings_ = settings;
        app_ = std::move(app);
    }
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& req) override;

private:
    std::optional<std::filesystem::path> Run(const FileDialogRequest& req, bool save);
    QPointer<QWidget> owner_;
    SettingsStore* settings_ = nullptr;
    std::string app_;
    std::filesystem::path lastFolder_;
};

}  // namespace kova
