#include "platform/settings.hpp"

#include <cstdlib>
#include <system_error>

#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/textfile.hpp"

namespace fs = std::filesystem;

namespace kova {

namespace {

SettingPairs::iterator FindKey(SettingPairs& pairs, const std::string& key) {
    for (auto it = pairs.begin(); it != pairs.end(); ++it)
        if (it->first == key) return it;
    return pairs.end();
}

// The characters that would break the line structure (or start a comment
// line) are written as \xHH, so a name or value may hold anything.
bool NeedsEscape(char c) {
    return c == '\\' || c == '\n' || c == '\r' || c == '=' || c == '[' || c == ']' || c == ';';
}

std::string Escape(const std::string& s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : s) {
        if (NeedsEscape(c)) {
            auto u = static_cast<unsigned char>(c);
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x') {
            int hi = HexDigit(s[i + 2]), lo = HexDigit(s[i + 3]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Sections of one application file, in file order.
using IniFile = std::vector<std::pair<std::string, SettingPairs>>;

IniFile Parse(const std::string& text) {
    IniFile file;
    SettingPairs* cur = nullptr;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            std::string name = Unescape(std::string_view(line).substr(1, line.size() - 2));
            cur = nullptr;
            for (auto& s : file)
                if (s.first == name) cur = &s.second;
            if (!cur) {
                file.emplace_back(name, SettingPairs{});
                cur = &file.back().second;
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (!cur || eq == std::string::npos) continue;  // damaged line: skip it
        PutSetting(*cur, Unescape(std::string_view(line).substr(0, eq)),
            Unescape(std::string_view(line).substr(eq + 1)));
    }
    return file;
}

std::string Format(const IniFile& file) {
    std::string out;
    for (const auto& [name, pairs] : file) {
        out += "[" + Escape(name) + "]\n";
        for (const auto& [k, v] : pairs) out += Escape(k) + "=" + Escape(v) + "\n";
    }
    return out;
}

// A settings file holds a few dozen short keys; anything larger, or no
// regular file, is left unread and the defaults hold. Why it was refused
// goes to refusal, for the program to tell; a missing file is no refusal.
IniFile Load(const fs::path& path, std::string* refusal = nullptr) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path, 1024u * 1024u);
    } catch (const FileFault& bad) {
        if (refusal && bad.Reason() != kFaultOpen) *refusal = bad.Reason();
        return {};
    }
    return Parse(bytes);
}

const SettingPairs* FindSection(const IniFile& file, const std::string& section) {
    for (const auto& s : file)
        if (s.first == section) return &s.second;
    return nullptr;
}

}  // namespace

void PutSetting(SettingPairs& pairs, const std::string& key, const std::string& value) {
    auto it = FindKey(pairs, key);
    if (it != pairs.end())
        it->second = value;
    else
        pairs.emplace_back(key, value);
}

IniSettings::IniSettings(fs::path folder) : folder_(std::move(folder)) {}

fs::path IniSettings::DefaultFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return fs::path(xdg) / "kovadex";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".config" / "kovadex";
}

fs::path IniSettings::FileFor(const std::string& app) const {
    std::string name = app;
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    return folder_ / (name + ".ini");
}

bool IniSettings::Save(const std::string& app, const std::string& section,
                       const std::string& key, const std::string& value) {
    fs::path path = FileFor(app);
    IniFile file = Load(path);
    SettingPairs* pairs = nullptr;
    for (auto& s : file)
        if (s.first == section) pairs = &s.second;
    if (!pairs) {
        file.emplace_back(section, SettingPairs{});
        pairs = &file.back().second;
    }
    PutSetting(*pairs, key, value);
    std::error_code ec;
    fs::create_directories(folder_, ec);
    try {
        WriteBytesAtomic(path, Format(file));
    } catch (const TextError&) {
        return false;
    }
    return true;
}

std::string SettingsStore::Get(const std::string& app, const std::string& section,
                               const std::string& key) const {
    for (const auto& [k, v] : GetAll(app, section))
        if (k == key) return v;
    return {};
}

SettingPairs IniSettings::GetAll(const std::string& app, const std::string& section) const {
    IniFile file = Load(FileFor(app));
    const SettingPairs* pairs = FindSection(file, section);
    return pairs ? *pairs : SettingPairs{};
}

std::string IniSettings::Refusal(const std::string& app) const {
    std::string why;
    Load(FileFor(app), &why);
    return why.empty() ? why : "設定ﾌｧｲﾙが読み込み出来ません。\r" + why;
}

}  // namespace kova
