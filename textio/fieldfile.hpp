#pragma once
// The checked reader under every text file the programs read back: fields
// and lines with their line numbers, the end of the data (a last line
// without its line end, junk after the data, a count that does not match
// what follows it) and one wording for each fault.
#include <filesystem>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "textio/listline.hpp"

namespace kova {

// The fault texts every reader shares.
inline constexpr const char* kFaultCut = "ファイルが途中で終わっています。";
inline constexpr const char* kFaultNumber = "数値が正しく読めません。";
inline constexpr const char* kFaultJunk = "データの後に余分な内容があります。";
inline constexpr const char* kFaultBytes = "読めない文字コードがあります。";
inline constexpr const char* kFaultItems = "項目の数が正しくありません。";
inline constexpr const char* kFaultText = "使用できない文字（\"、改行）があります。";
inline constexpr const char* kFaultOpen = "ファイルを開けません。";
inline constexpr const char* kFaultVersion = "ファイルの版が正しくありません。";
inline constexpr const char* kFaultQuote = "引用符（\"）の対応が正しくありません。";
inline constexpr const char* kFaultLineEnd = "行の終わりがCR LFではありません（CRだけで終わっています）。";

// A fault of a file: the 1-based line (0 for the file as a whole, which
// could not be opened) and what is wrong. what() is FaultText of both.
class FileFault : public std::runtime_error {
public:
    FileFault(int line, std::string reason);
    int Line() const { return line_; }
    const std::string& Reason() const { return reason_; }

private:
    int line_;
    std::string reason_;
};

// "12行目: 数値が正しく読めません。"; the reason alone for line 0.
std::string FaultText(int line, std::string_view reason);

// The bytes of a whole file of at most maxBytes; FileFault(0, kFaultOpen)
// when it is missing or cannot be opened or read; FileFault(0, ...) naming
// the file when it is no regular file or larger than maxBytes, so that a
// FIFO or a huge file is refused at once, before anything is read.
std::string ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes);

// What a reader adds under its own message: nothing for a file that could
// not be opened (its own message says so), else "\r" and the fault.
std::string FaultDetail(const FileFault& bad);

// Code page 932 bytes as UTF-8 text; FileFault(line, kFaultBytes) at the
// line of the first byte that is not valid.
std::string DecodeCp932Text(std::string_view bytes);

// The fields of one line, read from its start: separated by commas, blanks
// around them trimmed; a field that begins with a double quote runs to the
// next double quote. Every fault names the line.
class LineFields {
public:
    LineFields(std::string text, int line) : text_(std::move(text)), line_(line) {}

    int Line() const { return line_; }
    // 1-based place of the last field read within the line.
    int Item() const { return item_; }
    const std::string& Text() const { return text_; }
    // The next field; kFaultItems when the line has no more.
    std::string Field();
    // The next field as a number; kFaultNumber when it is missing or not
    // wholly a finite number.
    double Real();
    long long Int();
    // The text between the first and the last double quote of the line.
    std::string Quoted(const char* reason) const;
    // Nothing but blanks may be left on the line (kFaultItems).
    void End() const;
    [[noreturn]] void Fail(std::string_view reason) const;

private:
    std::string text_;
    int line_;
    std::size_t pos_ = 0;
    int item_ = 0;
    bool done_ = false;
    bool quoted_ = false;
};

// A whole text read field by field (across line ends, as FieldReader) or
// line by line. Counts that are followed by that many entries are read
// through Count, so that a wrong count can be named where it stands.
class FieldFile {
public:
    struct CountAt {
        int line, item;
        std::string name;
        long long value, lo, hi;
    };

    // Reads text where it stands, without a copy; text must outlive the
    // reader. The count read overrideAt-th reads as overrideValue.
    explicit FieldFile(std::string_view text, std::size_t overrideAt = SIZE_MAX, long long overrideValue = 0)
        : in_(text, FieldReader::Borrowed{}), overrideAt_(overrideAt), overrideValue_(overrideValue) {}

    // The line of the next character, and of the last field or line read.
    int Line() const { return in_.Line(); }
    int FieldLine() const { return in_.FieldLine(); }
    // How many bytes have been read.
    std::size_t Consumed() const { return in_.Pos(); }

    // The next field; kFaultCut when the text has ended.
    std::string Field();
    double Real();
    long long Int();
    // The rest of the current line.
    std::string WholeLine();
    LineFields NextLine();

    // A count of entries that follow it, already read and checked by the
    // caller to lie within lo..hi; name says what it counts ("盛土数").
    // Returns the value to use. The count is the last field read, of the
    // text or of the line l.
    long long Count(long long value, long long lo, long long hi, std::string_view name);
    long long Count(const LineFields& l, long long value, long long lo, long long hi, std::string_view name);
    const std::vector<CountAt>& Counts() const { return counts_; }

    [[noreturn]] void Fail(std::string_view reason) const;
    // Only blanks and line ends may follow the data (kFaultJunk).
    void End() const;

private:
    long long Counted(CountAt at);
    FieldReader in_;
    std::vector<CountAt> counts_;
    std::size_t overrideAt_;
    long long overrideValue_;
};

// Reads a whole UTF-8 text with parse and checks that it ends there. Any
// fault is thrown as FileFault. A line the reader cannot take that holds a
// CR alone is told as a line end that is not CR LF. A text whose last line
// lacks its line end was cut (perhaps inside a number), told at that line,
// unless the data ended before it: then it is junk after the data, told
// where the junk begins. When the text would read whole with one of the
// counts read before the fault changed by one, the fault is told at that
// count instead, with what the data holds. parse may run more than once
// and must fill only what its caller throws away on a fault.
void ReadFields(std::string_view text, const std::function<void(FieldFile&)>& parse);

// The counts of the last text that ReadFields read whole on this thread,
// in the order read: where each stands, so that a test can damage a valid
// file at every count of whatever reader read it.
const std::vector<FieldFile::CountAt>& LastCountsRead();

}  // namespace kova
