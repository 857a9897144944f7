#pragma once
// Per-user settings in place of a registry: text values addressed by
// application, section and value name. A section lists its values in the
// order in which they were first created; rewriting a value keeps its place.
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kova {

using SettingPairs = std::vector<std::pair<std::string, std::string>>;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Stores a value; false when the store could not be written (callers
    // that keep no check may ignore it).
    virtual bool Save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
    // The stored value, empty when absent.
    std::string Get(const std::string& app, const std::string& section, const std::string& key) const;
    // Every name/value pair of a section, oldest first.
    virtual SettingPairs GetAll(const std::string& app, const std::string& section) const = 0;
};

// Sets a value of a section: a value rewritten keeps its place, a new one
// goes last.
void PutSetting(SettingPairs& pairs, const std::string& key, const std::string& value);

// One small INI-style file per application, "<folder>/<app>.ini", UTF-8 so
// that any file name survives. Every call reads the file afresh and every
// save replaces it atomically, so separate runs always see the latest list.
// An unreadable or damaged file reads as far as it makes sense.
class IniSettings : public SettingsStore {
public:
    explicit IniSettings(std::filesystem::path folder);
    // $XDG_CONFIG_HOME/kovadex, by default ~/.config/kovadex.
    static std::filesystem::path DefaultFolder();

    bool Save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    SettingPairs GetAll(const std::string& app, const std::string& section) const override;

    std::filesystem::path FileFor(const std::string& app) const;
    // What to tell when app's settings file is left unread (no regular
    // file, or too large; the defaults hold), empty when it reads or is
    // missing.
    std::string Refusal(const std::string& app) const;

private:
    std::filesystem::path folder_;
};

}  // namespace kova
