#include "tests/support/viewer_grammar.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "print/forms.hpp"
#include "textio/cp932.hpp"

namespace kova::testsupport {
namespace {

namespace fs = std::filesystem;

std::string Where(const fs::path& p, std::size_t line) {
    return p.filename().string() + ":" + std::to_string(line) + ": ";
}

// Reads one number of a record: with width 4 it must be right-aligned in
// four columns (or written whole when wider); with width 0 it is bare.
bool ReadNumber(const std::string& s, std::size_t& pos, int width, int& out) {
    std::size_t blanks = 0;
    while (pos < s.size() && s[pos] == ' ') {
        ++blanks;
        ++pos;
    }
    std::size_t start = pos;
    if (pos < s.size() && s[pos] == '-') ++pos;
    std::size_t digits = pos;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos;
    if (pos == digits) return false;
    std::size_t len = pos - start;
    if (width == 0 && blanks != 0) return false;
    if (width > 0) {
        std::size_t w = static_cast<std::size_t>(width);
        if (len < w && blanks + len != w) return false;
        if (len >= w && blanks != 0) return false;
    }
    // No leading zeros ("%d" never writes them).
    if (pos - digits > 1 && s[digits] == '0') return false;
    try {
        out = std::stoi(s.substr(start, len));
    } catch (...) {
        return false;
    }
    return true;
}

// Parses "<letter>" followed by " %4d" x n4 and " %d" x n1.
bool ParseRecord(const std::string& s, int n4, int n1, std::vector<int>& v) {
    std::size_t pos = 1;
    v.clear();
    for (int i = 0; i < n4 + n1; ++i) {
        if (pos >= s.size() || s[pos] != ' ') return false;
        ++pos;
        int x = 0;
        if (!ReadNumber(s, pos, i < n4 ? 4 : 0, x)) return false;
        v.push_back(x);
    }
    return pos == s.size();
}

bool AllBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

bool IsFileName(const std::string& s) {
    if (s.empty()) return false;
    return std::none_of(s.begin(), s.end(),
                        [](char c) { return c == ' ' || static_cast<unsigned char>(c) < 0x20; });
}

bool CheckDateLine(const std::string& d, DateStyle style) {
    if (style == DateStyle::Engine) {
        if (d.size() != 39) return false;
        for (int i = 0; i < 6; ++i) {
            std::string chunk = d.substr(static_cast<std::size_t>(i) * 4, 4);
            std::size_t pos = 0;
            int v = 0;
            if (!ReadNumber(chunk, pos, 4, v) || pos != 4 || v < 0) return false;
        }
        return AllBlank(d.substr(24));
    }
    if (d.size() != 28 || d.substr(24) != "test") return false;
    for (int i = 0; i < 6; ++i) {
        std::string chunk = d.substr(static_cast<std::size_t>(i) * 4, 4);
        if (chunk[0] != ' ' || chunk[1] != ' ' || !std::isdigit(static_cast<unsigned char>(chunk[2])) ||
            !std::isdigit(static_cast<unsigned char>(chunk[3])))
            return false;
    }
    return true;
}

}  // namespace

const std::string* PageForm::FieldValue(int number) const {
    for (const auto& f : fields)
        if (f.first == number) return &f.second;
    return nullptr;
}

int DrawingFile::Count(char kind) const {
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [&](const DrawingRecord& r) { return r.kind == kind; }));
}

int DrawingFile::CountExact(char kind, const std::vector<int>& v) const {
    return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const DrawingRecord& r) {
        return r.kind == kind && r.v == v;
    }));
}

std::vector<const DrawingRecord*> DrawingFile::Texts(const std::string& text) const {
    std::vector<const DrawingRecord*> out;
    for (const auto& r : records)
        if (r.kind == 'K' && r.text == text) out.push_back(&r);
    return out;
}

std::vector<std::string> ReadViewerLines(const fs::path& path, std::vector<std::string>& errors) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errors.push_back(path.filename().string() + ": cannot be opened");
        return lines;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        errors.push_back(path.filename().string() + ": empty file");
        return lines;
    }
    std::size_t start = 0;
    std::size_t lineNo = 1;
    while (start < bytes.size()) {
        std::size_t crlf = bytes.find("\r\n", start);
        std::size_t end = crlf == std::string::npos ? bytes.size() : crlf;
        std::string raw = bytes.substr(start, end - start);
        if (crlf == std::string::npos)
            errors.push_back(Where(path, lineNo) + "last line does not end with CR LF");
        if (raw.find('\r') != std::string::npos || raw.find('\n') != std::string::npos)
            errors.push_back(Where(path, lineNo) + "stray CR or LF inside a line");
        try {
            lines.push_back(Cp932ToUtf8(raw));
        } catch (const TextError&) {
            errors.push_back(Where(path, lineNo) + "not valid code page 932");
            lines.push_back(raw);
        }
        start = crlf == std::string::npos ? bytes.size() : crlf + 2;
        ++lineNo;
    }
    return lines;
}

PageFile ParsePage(const fs::path& path, DateStyle style, std::vector<std::string>& errors) {
    PageFile page;
    page.lines = ReadViewerLines(path, errors);
    const auto& L = page.lines;
    if (L.size() < 2) {
        errors.push_back(path.filename().string() + ": no title and date line");
        return page;
    }
    page.title = L[0];
    page.dateLine = L[1];
    if (!CheckDateLine(L[1], style)) errors.push_back(Where(path, 2) + "bad date line [" + L[1] + "]");
    int pendingReserve = -1;
    for (std::size_t i = 2; i < L.size(); ++i) {
        const std::string& s = L[i];
        const std::string at = Where(path, i + 1);
        if (pendingReserve >= 0 && !(s.rfind("$0", 0) == 0 || s.rfind("$1", 0) == 0))
            errors.push_back(at + "row reservation not followed by a form line");
        if (s.rfind("$R", 0) == 0) {
            std::size_t pos = 4;
            int n = 0;
            if (s.size() < 5 || s.substr(2, 2) != "  " || !ReadNumber(s, pos, 0, n) ||
                pos != s.size() || n < 0) {
                errors.push_back(at + "bad row reservation [" + s + "]");
            } else {
                pendingReserve = n;
            }
            continue;
        }
        if (s.rfind("$0", 0) == 0 || s.rfind("$1", 0) == 0) {
            PageForm f;
            f.newPage = s[1] == '1';
            f.reserve = pendingReserve;
            pendingReserve = -1;
            if (s.size() > 2 && (s.size() < 5 || s.substr(2, 2) != "  "))
                errors.push_back(at + "columns 3-4 of a form line are not blank");
            if (s.size() <= 20) {
                f.form = s.size() > 4 ? s.substr(4) : "";
                if (!IsFileName(f.form)) errors.push_back(at + "bad form name [" + s + "]");
            } else {
                std::string formCols = s.substr(4, 16);
                std::size_t last = formCols.find_last_not_of(' ');
                f.form = last == std::string::npos ? "" : formCols.substr(0, last + 1);
                if (!f.form.empty() && !IsFileName(f.form))
                    errors.push_back(at + "bad form name [" + s + "]");
                if (f.form.empty() && !AllBlank(formCols))
                    errors.push_back(at + "form name does not start at column 5");
                f.drawing = s.substr(20);
                if (!IsFileName(f.drawing)) errors.push_back(at + "bad drawing name [" + s + "]");
            }
            page.forms.push_back(std::move(f));
            continue;
        }
        if (s.size() >= 4 && std::isdigit(static_cast<unsigned char>(s[0])) &&
            std::isdigit(static_cast<unsigned char>(s[1])) && s.substr(2, 2) == "  ") {
            int n = (s[0] - '0') * 10 + (s[1] - '0');
            if (n > 19) errors.push_back(at + "field number above 19 [" + s + "]");
            if (page.forms.empty()) {
                errors.push_back(at + "field line before any form line");
                continue;
            }
            page.forms.back().fields.emplace_back(n, s.substr(4));
            continue;
        }
        errors.push_back(at + "line of no known form [" + s + "]");
    }
    if (pendingReserve >= 0) errors.push_back(path.filename().string() + ": row reservation at end");
    return page;
}

DrawingFile ParseDrawing(const fs::path& path, const std::string& expectedSize, bool allowMarker,
                         std::vector<std::string>& errors) {
    DrawingFile d;
    std::vector<std::string> L = ReadViewerLines(path, errors);
    if (L.size() < 3) {
        errors.push_back(path.filename().string() + ": header incomplete");
        return d;
    }
    d.name = L[0];
    d.sizeLine = L[1];
    if (L[0] != path.filename().string())
        errors.push_back(Where(path, 1) + "name line [" + L[0] + "] is not the file's name");
    {
        std::size_t pos = 0;
        int a = 0, b = 0;
        bool ok = ReadNumber(L[1], pos, 0, a) && pos < L[1].size() && L[1][pos] == ',';
        if (ok) {
            ++pos;
            ok = ReadNumber(L[1], pos, 0, b) && pos == L[1].size();
        }
        if (!ok) errors.push_back(Where(path, 2) + "bad size line [" + L[1] + "]");
        if (!expectedSize.empty() && L[1] != expectedSize)
            errors.push_back(Where(path, 2) + "size line " + L[1] + ", expected " + expectedSize);
    }
    if (L[2] != "# 枠＆軸") errors.push_back(Where(path, 3) + "third line is not the frame header");
    for (std::size_t i = 3; i < L.size(); ++i) {
        const std::string& s = L[i];
        const std::string at = Where(path, i + 1);
        DrawingRecord r;
        r.kind = s.empty() ? 0 : s[0];
        bool ok = false;
        switch (r.kind) {
        case 'L':
        case 'Q': ok = ParseRecord(s, 4, 2, r.v); break;
        case 'K': ok = ParseRecord(s, 5, 1, r.v); break;
        case 'P': ok = allowMarker && ParseRecord(s, 6, 1, r.v); break;
        default: break;
        }
        if (!ok) {
            errors.push_back(at + "bad record [" + s + "]");
            continue;
        }
        if (r.kind == 'K') {
            if (i + 1 >= L.size()) {
                errors.push_back(at + "text record without its text line");
                continue;
            }
            r.text = L[++i];
        }
        d.records.push_back(std::move(r));
    }
    return d;
}

std::string ExpectedSizeLine(const std::string& n) {
    auto starts = [&](const char* p) { return n.rfind(p, 0) == 0; };
    if (n == "KT_ZUMEN.PZK" || n == "TNK_MAX.PZK" || starts("TNK_Z_")) return "45,66";
    if (starts("TNJ_H_") || starts("KAIKI_")) return "45,28";
    if (starts("YOSOKU")) return "45,30";
    return "";
}

std::vector<std::string> CheckViewerFolder(const fs::path& dir, DateStyle style, bool allowMarker) {
    std::vector<std::string> errors;
    std::set<std::string> pages, drawings;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        std::string ext = e.path().extension().string();
        if (ext == ".PDT") pages.insert(name);
        if (ext == ".PZK") drawings.insert(name);
    }
    for (const auto& p : pages) {
        PageFile page = ParsePage(dir / p, style, errors);
        for (const auto& f : page.forms) {
            // A form outside the catalogue would be printed raw.
            if (!f.form.empty() && !print::FindForm(f.form))
                errors.push_back(p + ": writes form " + f.form + " that has no layout");
            if (f.drawing.empty() || f.drawing == "TIJ_0003.PZK") continue;
            if (!drawings.count(f.drawing))
                errors.push_back(p + ": names drawing " + f.drawing + " that does not exist");
        }
    }
    for (const auto& d : drawings) {
        std::string size = ExpectedSizeLine(d);
        if (size.empty()) errors.push_back(d + ": drawing of unknown kind");
        ParseDrawing(dir / d, size, allowMarker, errors);
    }
    return errors;
}

std::string JoinErrors(const std::vector<std::string>& errors) {
    std::ostringstream os;
    for (const auto& e : errors) os << e << "\n";
    return os.str();
}

}  // namespace kova::testsupport
