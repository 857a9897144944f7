#include "textio/fieldfile.hpp"

#include <algorithm>
#include <optional>

#include "textio/cformat.hpp"
#include "textio/cp932.hpp"
#include "textio/textfile.hpp"

namespace kova {

FileFault::FileFault(int line, std::string reason)
    : std::runtime_error(FaultText(line, reason)), line_(line), reason_(std::move(reason)) {}

std::string FaultText(int line, std::string_view reason) {
    if (line <= 0) return std::string(reason);
    return std::to_string(line) + "行目: " + std::string(reason);
}

std::string ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    std::string bytes;
    std::uintmax_t size = 0;
    const std::string name = path.filename().string();
    switch (ReadWholeFile(path, bytes, maxBytes, &size)) {
    case ReadFault::None:
        return bytes;
    case ReadFault::NotRegular:
        throw FileFault(0, name + "が通常のファイルではありません（フォルダーや特殊なファイルです）。");
    case ReadFault::TooLarge:
        throw FileFault(0, CFormat("%sが大きすぎます（%ju バイト。読める最大は %ju バイトです）。", name.c_str(), size,
                                   maxBytes));
    case ReadFault::Open:
    case ReadFault::Read:
        break;
    }
    throw FileFault(0, kFaultOpen);
}

std::string FaultDetail(const FileFault& bad) {
    if (bad.Line() <= 0 && bad.Reason() == kFaultOpen) return {};
    return "\r" + FaultText(bad.Line(), bad.Reason());
}

std::string DecodeCp932Text(std::string_view bytes) {
    try {
        return Cp932ToUtf8(bytes);
    } catch (const TextError&) {
    }
    // No trail byte takes the value of LF, so each line converts on its own.
    int line = 1;
    for (std::size_t start = 0; start < bytes.size(); ++line) {
        std::size_t nl = bytes.find('\n', start);
        if (nl == std::string_view::npos) nl = bytes.size();
        try {
            Cp932ToUtf8(bytes.substr(start, nl - start));
        } catch (const TextError&) {
            break;
        }
        start = nl + 1;
    }
    throw FileFault(line, kFaultBytes);
}

// ---- one line ----------------------------------------------------------------

std::string LineFields::Field() {
    if (done_) Fail(kFaultItems);
    ++item_;
    auto blank = [&](std::size_t p) { return p < text_.size() && (text_[p] == ' ' || text_[p] == '\t'); };
    while (blank(pos_)) ++pos_;
    std::string value;
    quoted_ = pos_ < text_.size() && text_[pos_] == '"';
    if (quoted_) {
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string::npos) Fail(kFaultQuote);
        value = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        while (blank(pos_)) ++pos_;
        if (pos_ < text_.size() && text_[pos_] != ',') Fail(kFaultQuote);
    } else {
        std::size_t end = std::min(text_.find(',', pos_), text_.size());
        value = text_.substr(pos_, end - pos_);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
        pos_ = end;
    }
    if (pos_ < text_.size())
        ++pos_;  // the comma
    else
        done_ = true;
    return value;
}

double LineFields::Real() {
    if (done_) Fail(kFaultNumber);
    double v = 0;
    // A number is never written in quotes.
    if (!ParseReal(Field(), v) || quoted_) Fail(kFaultNumber);
    return v;
}

long long LineFields::Int() {
    if (done_) Fail(kFaultNumber);
    long long v = 0;
    if (!ParseInt(Field(), -9000000000000000000LL, 9000000000000000000LL, v) || quoted_) Fail(kFaultNumber);
    return v;
}

std::string LineFields::Quoted(const char* reason) const {
    std::size_t a = text_.find('"');
    std::size_t b = text_.rfind('"');
    if (a == std::string::npos || b == a) Fail(reason);
    return text_.substr(a + 1, b - a - 1);
}

void LineFields::End() const {
    if (done_) return;
    // A comma with nothing after it still leaves an (empty) field.
    if (pos_ > 0 && text_[pos_ - 1] == ',') Fail(kFaultItems);
    if (text_.find_first_not_of(" \t", pos_) != std::string::npos) Fail(kFaultItems);
}

void LineFields::Fail(std::string_view reason) const { throw FileFault(line_, std::string(reason)); }

// ---- the whole text ----------------------------------------------------------

std::string FieldFile::Field() {
    auto f = in_.Field();
    if (!f) throw FileFault(in_.Line(), kFaultCut);
    return std::move(*f);
}

double FieldFile::Real() {
    double v = 0;
    if (!ParseReal(Field(), v)) Fail(kFaultNumber);
    return v;
}

long long FieldFile::Int() {
    long long v = 0;
    if (!ParseInt(Field(), -9000000000000000000LL, 9000000000000000000LL, v)) Fail(kFaultNumber);
    return v;
}

std::string FieldFile::WholeLine() {
    auto l = in_.WholeLine();
    if (!l) throw FileFault(in_.Line(), kFaultCut);
    return std::move(*l);
}

LineFields FieldFile::NextLine() {
    std::string text = WholeLine();
    return LineFields(std::move(text), in_.FieldLine());
}

long long FieldFile::Count(long long value, long long lo, long long hi, std::string_view name) {
    return Counted(CountAt{in_.FieldLine(), in_.FieldItem(), std::string(name), value, lo, hi});
}

long long FieldFile::Count(const LineFields& l, long long value, long long lo, long long hi, std::string_view name) {
    return Counted(CountAt{l.Line(), l.Item(), std::string(name), value, lo, hi});
}

long long FieldFile::Counted(CountAt at) {
    const long long value = at.value;
    counts_.push_back(std::move(at));
    return counts_.size() - 1 == overrideAt_ ? overrideValue_ : value;
}

namespace {
thread_local std::vector<FieldFile::CountAt> lastCounts;
}  // namespace

const std::vector<FieldFile::CountAt>& LastCountsRead() { return lastCounts; }

void FieldFile::Fail(std::string_view reason) const { throw FileFault(in_.FieldLine(), std::string(reason)); }

void FieldFile::End() const {
    if (int junk = in_.JunkLine()) throw FileFault(junk, kFaultJunk);
}

namespace {

constexpr int kMendTries = 96;
// Longer than any entry a count counts (a block of every vertex, a station
// of every observation, each line far under 1 KB).
constexpr std::size_t kLongestEntry = 1024u * 1024u;

// The number of the last line: the one after the last LF when the text
// does not end there.
int LastLine(std::string_view text) {
    const int lf = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return EndsWithLineEnd(text) ? lf : lf + 1;
}

// Whether line `line` holds a CR that is not followed by its LF (a CR that
// ends the text is a CR LF cut in two, not a line end of its own), and
// whether an LF ends that line.
struct LoneCr {
    bool held = false;
    bool lineEnded = false;
};
LoneCr LoneCrOn(std::string_view text, int line) {
    std::size_t start = 0;
    for (int l = 1; l < line; ++l) {
        start = text.find('\n', start);
        if (start == std::string_view::npos) return {};
        ++start;
    }
    const std::size_t lf = text.find('\n', start);
    const std::size_t end = std::min(lf, text.size());
    for (std::size_t cr = text.find('\r', start); cr < end; cr = text.find('\r', cr + 1))
        if (cr + 1 < end) return {true, lf != std::string_view::npos};
    return {};
}

// A fault as the user must hear it. A line that the reader could not take
// and that holds a CR alone was ended by CR only (the files use CR LF),
// unless an LF ends it and a text field took the CR: that field tells it.
// In a text whose last line lacks its line end, running out of data, or a
// fault on that line, is a cut file, told at its last line. Junk after the
// data is told as such even after a cut last line: the data had ended
// before it.
FileFault AsTold(std::string_view text, const FileFault& bad) {
    const bool junk = bad.Reason() == kFaultJunk;
    const int last = LastLine(text);
    // Running out of data names the line after the last.
    const int line = std::min(bad.Line(), last);
    if (!junk && line > 0) {
        const LoneCr cr = LoneCrOn(text, line);
        const bool inField = cr.lineEnded && bad.Reason().find(kFaultText) != std::string::npos;
        if (cr.held && !inField) return FileFault(line, kFaultLineEnd);
    }
    if (!junk && !EndsWithLineEnd(text) && (bad.Reason() == kFaultCut || bad.Line() >= last))
        return FileFault(last, kFaultCut);
    return bad;
}

// A count off by one shows only where its entries run into what follows
// them; the user must be sent to the count itself. Tries each count one up
// and one down, last read first, as far as the tries go; where more than
// one count would read the text whole, the first in the file is the one
// whose entries were misread first. Every try reads the same bytes in
// place. After junk, a count one up would have to take all of it as one
// more entry: junk longer than all the data before it, and than any entry
// the tables hold, is no misread entry and is told where it begins without
// a try, so that a valid file followed by any amount of junk is read once.
std::optional<FileFault> Mended(std::string_view text, const std::function<void(FieldFile&)>& parse,
                                const std::vector<FieldFile::CountAt>& counts, const FileFault& bad,
                                std::size_t dataEnd) {
    const std::size_t junk = text.size() - dataEnd;
    if (bad.Reason() == kFaultJunk && junk > dataEnd && junk > kLongestEntry) return std::nullopt;
    std::optional<FileFault> mended;
    int tries = 0;
    for (std::size_t k = counts.size(); k-- > 0 && tries < kMendTries;) {
        const FieldFile::CountAt& c = counts[k];
        for (long long v : {c.value + 1, c.value - 1}) {
            if (v < c.lo || v > c.hi) continue;
            ++tries;
            FieldFile again(text, k, v);
            try {
                parse(again);
                again.End();
            } catch (const FileFault&) {
                continue;
            }
            mended = FileFault(c.line, c.name + "が" + std::to_string(c.value) + "になっていますが、続くデータは" +
                                           std::to_string(v) + "件分です。");
            break;
        }
    }
    return mended;
}

}  // namespace

void ReadFields(std::string_view text, const std::function<void(FieldFile&)>& parse) {
    FieldFile f(text);
    std::optional<FileFault> bad;
    try {
        parse(f);
        f.End();
    } catch (const FileFault& fault) {
        bad = fault;
    }
    if (!bad) {
        // Read whole, up to a last line without its line end: cut there,
        // perhaps inside its last number.
        if (!EndsWithLineEnd(text)) throw AsTold(text, FileFault(LastLine(text), kFaultCut));
        lastCounts = f.Counts();
        return;
    }
    const FileFault told = AsTold(text, *bad);
    // A file cut short, or one ended by CR only, is no miscount.
    if ((told.Reason() == kFaultCut && !EndsWithLineEnd(text)) || told.Reason() == kFaultLineEnd) throw told;
    if (std::optional<FileFault> mended = Mended(text, parse, f.Counts(), told, f.Consumed())) throw *mended;
    throw told;
}

}  // namespace kova
