#include "viewer/reader/reader.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

#include "textio/cp932.hpp"
#include "textio/textfile.hpp"
#include "viewer/reader/grammar.hpp"

namespace kova::viewer {
namespace {

struct Line {
    std::string_view raw;  // code page 932, without line end
    int number = 0;
};

// Splits at LF (a CR before it belongs to the line end). A last line
// without its line end is kept (the file may have been cut short);
// unterminated notes that the file did not end cleanly. Lines are decoded
// where they are read: a drawing's record lines are plain ASCII and are
// parsed as they stand, which keeps a large drawing quick to read.
std::vector<Line> SplitLines(std::string_view bytes, bool& unterminated) {
    std::vector<Line> out;
    out.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    unterminated = false;
    std::size_t start = 0;
    int n = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        out.push_back({raw, ++n});
        if (lf == std::string_view::npos) {
            unterminated = true;
            break;
        }
        start = lf + 1;
    }
    return out;
}

// A line as UTF-8, or nothing when it is no code page 932.
std::optional<std::string> Decoded(const Line& l) {
    try {
        return Cp932ToUtf8(l.raw);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool Ascii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void Note(std::optional<Fault>& fault, const std::string& file, int line, std::string what) {
    if (!fault) fault = Fault{file, line, std::move(what)};
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

std::string_view TrimRight(std::string_view s) {
    std::size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

// Whitespace-separated integers of s; false when anything else is there or
// a number leaves the int range.
bool Numbers(std::string_view s, std::vector<long long>& out) {
    out.clear();
    std::size_t pos = 0;
    while (true) {
        while (pos < s.size() && s[pos] == ' ') ++pos;
        if (pos == s.size()) return true;
        long long v = 0;
        const char* b = s.data() + pos;
        const char* e = s.data() + s.size();
        auto [p, ec] = std::from_chars(b, e, v);
        if (ec != std::errc() || (p != e && *p != ' ')) return false;
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
        out.push_back(v);
        pos = static_cast<std::size_t>(p - s.data());
    }
}

// Parses a form line ("$1" or "$0" already checked).
bool ParseFormLine(std::string_view s, FormBlock& f, std::string& why) {
    f.newPage = s[1] == '1';
    if (s.size() == 2) return true;
    const std::size_t formAt = kFormNameColumn - 1;
    const std::size_t drawingAt = kDrawingColumn - 1;
    if (s.size() <= formAt || s.substr(2, formAt - 2) != "  ") {
        why = "columns 3-4 of the form line are not blank";
        return false;
    }
    if (s.size() <= drawingAt) {
        f.form = std::string(TrimRight(s.substr(formAt)));
        return true;
    }
    std::string_view formCols = s.substr(formAt, drawingAt - formAt);
    std::string_view drawingCols = s.substr(drawingAt);
    f.form = std::string(TrimRight(formCols));
    if (!f.form.empty() && formCols[0] == ' ') {
        why = "the form name does not start in column 5";
        return false;
    }
    if (f.form.find(' ') != std::string::npos) {
        // A form name longer than 16 characters runs into the drawing's columns.
        why = "the form name runs into column 21";
        return false;
    }
    if (!drawingCols.empty() && drawingCols[0] == ' ') {
        why = "the drawing name does not start in column 21";
        return false;
    }
    f.drawing = std::string(TrimRight(drawingCols));
    return true;
}

}  // namespace

std::string Fault::Text() const {
    if (line <= 0) return file + ": " + what;
    return file + " " + std::to_string(line) + "行目: " + what;
}

std::optional<std::string> DateText(std::string_view dateLine) {
    std::vector<long long> v;
    // Six numbers of four columns each; the trailer follows.
    if (dateLine.size() < 24 || !Numbers(dateLine.substr(0, 24), v) || v.size() != 6) return std::nullopt;
    for (long long x : v)
        if (x < 0 || x > 99) return std::nullopt;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d:%02d", static_cast<int>(v[0]),
                  static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]),
                  static_cast<int>(v[4]), static_cast<int>(v[5]));
    return std::string(buf);
}

std::optional<std::pair<int, int>> FrameOfSizeLine(std::string_view s) {
    std::size_t comma = s.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    std::vector<long long> a, b;
    if (!Numbers(s.substr(0, comma), a) || !Numbers(s.substr(comma + 1), b) || a.size() != 1 ||
        b.size() != 1)
        return std::nullopt;
    // A frame of at least one hundred units and at most the drawing range.
    if (a[0] < 4 || a[0] > 330 || b[0] < 2 || b[0] > 328) return std::nullopt;
    return std::make_pair(FrameWidth(static_cast<int>(a[0])), FrameHeight(static_cast<int>(b[0])));
}

PageFile ReadPage(std::string_view bytes, const std::string& name) {
    PageFile page;
    page.name = name;
    bool unterminated = false;
    std::vector<Line> lines = SplitLines(bytes, unterminated);
    auto& fault = page.fault;
    if (lines.size() < 2) {
        if (!lines.empty())
            if (auto t = Decoded(lines[0])) page.title = *t;
        Note(fault, name, static_cast<int>(lines.size()) + 1, "タイトル行と日付行がありません");
        return page;
    }
    if (auto t = Decoded(lines[0])) page.title = *t;
    else Note(fault, name, 1, "シフトJISとして読めません");
    const auto date = Decoded(lines[1]);
    if (date) page.dateLine = *date;
    if (!date || !DateText(page.dateLine)) Note(fault, name, 2, "日付行が読めません");

    int pendingReserve = -1;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const auto text = Decoded(l);
        if (!text) {
            Note(fault, name, l.number, "シフトJISとして読めません");
            continue;
        }
        const std::string& s = *text;
        if (StartsWith(s, kReserveMark)) {
            std::vector<long long> v;
            if (s.size() > 4 && s.substr(2, 2) == "  " && Numbers(std::string_view(s).substr(4), v) &&
                v.size() == 1 && v[0] >= 0)
                pendingReserve = static_cast<int>(v[0]);
            else
                Note(fault, name, l.number, "行の確保の行が読めません");
            continue;
        }
        if (StartsWith(s, kNewPageMark) || StartsWith(s, kSamePageMark)) {
            FormBlock f;
            std::string why;
            f.line = l.number;
            if (!ParseFormLine(s, f, why)) {
                Note(fault, name, l.number, why);
                continue;
            }
            f.reserve = pendingReserve;
            pendingReserve = -1;
            page.forms.push_back(std::move(f));
            continue;
        }
        if (s.size() >= 4 && s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9' &&
            s.substr(2, 2) == "  ") {
            int n = (s[0] - '0') * 10 + (s[1] - '0');
            if (n > kLastFieldNumber) {
                Note(fault, name, l.number, "項目番号が19を超えています");
                continue;
            }
            if (page.forms.empty()) {
                Note(fault, name, l.number, "書式の行より前に項目があります");
                continue;
            }
            page.forms.back().fields.push_back(Field{n, s.substr(4)});
            continue;
        }
        if (s.empty() && i + 1 == lines.size()) continue;  // nothing after the last line end
        Note(fault, name, l.number, "読めない行です");
    }
    if (unterminated && !lines.empty()) Note(fault, name, lines.back().number, "最後の行が途中で切れています");
    return page;
}

DrawingFile ReadDrawing(std::string_view bytes, const std::string& name) {
    DrawingFile d;
    d.name = name;
    bool unterminated = false;
    std::vector<Line> lines = SplitLines(bytes, unterminated);
    auto& fault = d.fault;
    if (lines.size() < 3) {
        Note(fault, name, static_cast<int>(lines.size()) + 1, "図面の見出し行が足りません");
    }
    if (!lines.empty()) d.nameLine = Decoded(lines[0]).value_or(std::string());
    if (lines.size() >= 2) {
        const auto size = Decoded(lines[1]);
        d.sizeLine = size.value_or(std::string());
        auto frame = size ? FrameOfSizeLine(d.sizeLine) : std::nullopt;
        if (frame) {
            d.width = frame->first;
            d.height = frame->second;
        } else {
            Note(fault, name, 2, "大きさの行が読めません");
        }
    }
    if (lines.size() >= 3) {
        const auto head = Decoded(lines[2]);
        if (!head || *head != kDrawingHeader) Note(fault, name, 3, "3行目が「# 枠＆軸」ではありません");
    }

    std::vector<long long> v;
    d.records.reserve(lines.size());
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const std::string_view s = l.raw;
        // A record is ASCII; any other line is none, if it can be read at all.
        if (!Ascii(s)) {
            Note(fault, name, l.number, Decoded(l) ? "読めない記録です" : "シフトJISとして読めません");
            continue;
        }
        if (s.empty() && i + 1 == lines.size()) continue;
        DrawingRecord r;
        r.kind = s.empty() ? 0 : s[0];
        r.line = l.number;
        int want = 0;
        switch (r.kind) {
        case kLineRecord:
        case kBoxRecord: want = kLineNumbers; break;
        case kTextRecord: want = kTextNumbers; break;
        case kMarkerRecord: want = kMarkerNumbers; break;
        default: break;
        }
        if (want == 0 || s.size() < 2 || s[1] != ' ' || !Numbers(s.substr(1), v) ||
            static_cast<int>(v.size()) != want) {
            Note(fault, name, l.number, "読めない記録です");
            continue;
        }
        for (int k = 0; k < want; ++k) r.v[static_cast<std::size_t>(k)] = v[static_cast<std::size_t>(k)];
        r.count = want;
        if (r.kind == kTextRecord) {
            // The text is the next line, whatever it holds; a file that ends
            // here lost it.
            if (i + 1 >= lines.size()) {
                Note(fault, name, l.number, "文字の記録に文字の行がありません");
                continue;
            }
            const Line& t = lines[++i];
            auto text = Decoded(t);
            if (!text) {
                Note(fault, name, t.number, "シフトJISとして読めません");
                continue;
            }
            r.text = std::move(*text);
        }
        d.records.push_back(std::move(r));
    }
    if (unterminated && !lines.empty()) Note(fault, name, lines.back().number, "最後の行が途中で切れています");
    return d;
}

namespace {

// A file read whole and parsed; one that cannot be read is a fault of its own.
template <typename File>
File ReadFileWith(const std::filesystem::path& path, File (*parse)(std::string_view, const std::string&)) {
    // The engine writes a few hundred pages at most, each far under 64 KB;
    // a larger file is no page or drawing file and is refused unread.
    constexpr std::uintmax_t kMaxBytes = 64u * 1024u * 1024u;
    std::string bytes;
    std::uintmax_t size = 0;
    const std::string name = path.filename().string();
    const ReadFault read = ReadWholeFile(path, bytes, kMaxBytes, &size);
    if (read == ReadFault::None) return parse(bytes, name);
    File f;
    f.name = name;
    f.fault = Fault{name, 0,
                    read == ReadFault::NotRegular ? "通常のファイルではありません（フォルダーや特殊なファイルです）"
                    : read == ReadFault::TooLarge
                        ? "大きすぎます（" + std::to_string(size) + " バイト。読める最大は " + std::to_string(kMaxBytes) +
                              " バイトです）"
                        : "開けません"};
    return f;
}

}  // namespace

PageFile ReadPageFile(const std::filesystem::path& path) { return ReadFileWith(path, ReadPage); }

DrawingFile ReadDrawingFile(const std::filesystem::path& path) { return ReadFileWith(path, ReadDrawing); }

}  // namespace kova::viewer
