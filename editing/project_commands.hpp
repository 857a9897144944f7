#pragma once
// New, open, DXF open, save, save as, recent file and the close check.
#include <string>

#include "editing/session.hpp"

namespace kova {

inline constexpr const char* kFileQuestion = "現在開いているデータが保存されていません。保存しますか？";
inline constexpr const char* kCondQuestion = "検討条件が更新されています。保存しますか？";

class ProjectCommands {
public:
    ProjectCommands(Session& s, Services& sv, CommandHost& host) : s_(s), sv_(sv), host_(host) {}

    void New();
    void Open();
    // A copy: a save in the question may refill the recent list.
    void OpenRecent(std::string path);
    void DxfOpen();
    // True when the project file was written completely.
    bool Save();
    bool SaveAs();

    // What a Yes whose save did not complete means for the caller.
    enum class OnFailedSave { Stop, GoOn };
    // Writes "EDT"; when it differs from "ORG" asks `question`. False when
    // the caller must stop: Cancel, or Yes with a save that did not
    // complete when `failed` is Stop.
    bool CheckUnsavedChanges(const std::string& question, OnFailedSave failed);

    // The close check: true when the window may close.
    bool QueryClose();

    // Removes the results of the previous run and forgets them; false
    // (after naming the file) when one could not be removed.
    bool DeleteStaleResults(bool beforeRun);

    // The common end of new, open and recent file.
    void ViewReset();

private:
    bool OpenPath(const std::string& chosen);
    void WriteOrg();

    Session& s_;
    Services& sv_;
    CommandHost& host_;
};

}  // namespace kova
