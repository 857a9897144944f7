#include "platform/qt/filedialog_qt.hpp"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

#include "platform/qt/messages_qt.hpp"
#include "platform/qt/qt_text.hpp"

namespace kova {

namespace {
constexpr const char* kSection = "File Dialogs";
constexpr const char* kKey = "LastFolder";
}  // namespace

QString QtFilter(const std::string& filter) {
    QStringList entries;
    for (const FilterEntry& e : ParseFilter(filter)) {
        QStringList pats;
        for (const std::string& p : e.patterns) pats << Q(p);
        QString joined = pats.join(QLatin1Char(' '));
        QString desc = Q(e.description).trimmed();
        QString tail = QLatin1Char('(') + joined + QLatin1Char(')');
        // Qt reads the patterns from the parentheses at the end.
        if (!desc.endsWith(tail)) desc = (desc.isEmpty() ? QString() : desc + QLatin1Char(' ')) + tail;
        entries << desc;
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::filesystem::path> QtFileDialogs::OpenFile(const FileDialogRequest& req) {
    return Run(req, false);
}

std::optional<std::filesystem::path> QtFileDialogs::SaveFile(const FileDialogRequest& req) {
    return Run(req, true);
}

std::optional<std::filesystem::path> QtFileDialogs::Run(const FileDialogRequest& req, bool save) {
    // Like a message box, it belongs to the dialog the user is in.
    QFileDialog dlg(MessageParent(owner_.data()));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::ReadOnly, false);
    if (save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    QString filter = QtFilter(req.filter);
    if (!filter.isEmpty()) dlg.setNameFilter(filter);
    // The programs run in their program folder, which is no place of the
    // user's: the dialog starts where the user was, or in the documents.
    std::filesystem::path last = lastFolder_;
    if (last.empty() && settings_) last = settings_->Get(app_, kSection, kKey);
    const std::filesystem::path start =
        StartFolder(req.initialName, last,
                    PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)), PathOf(QDir::homePath()));
    dlg.setDirectory(QPath(start));
    if (!req.initialName.empty()) dlg.selectFile(QPath(start / std::filesystem::path(req.initialName).filename()));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    QStringList files = dlg.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    const std::filesystem::path chosen = PathOf(files.front());
    lastFolder_ = chosen.parent_path();
    if (settings_) settings_->Save(app_, kSection, kKey, lastFolder_.string());
    return chosen;
}

}  // namespace kova
