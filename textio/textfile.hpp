#pragma once
// Whole-file reading and writing of the code page 932 text files with CR LF.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "textio/cp932.hpp"

namespace kova {

enum class ReadFault { None, Open, NotRegular, TooLarge, Read };
// Appends the bytes of a whole file to out. Open: it is missing or cannot
// be opened (errno tells why); NotRegular: a folder, FIFO or
// device is in its place, refused without waiting on it; TooLarge: it holds
// more than maxBytes and is not read; Read: reading it failed part way.
// size, when given, receives the size seen (also for TooLarge).
ReadFault ReadWholeFile(const std::filesystem::path& path, std::string& out,
                        std::uintmax_t maxBytes = UINTMAX_MAX, std::uintmax_t* size = nullptr);

// Reads a whole file as UTF-8 text. Throws TextError when the file cannot be
// opened or read, or its bytes are not valid code page 932.
std::string ReadCp932File(const std::filesystem::path& path);

// Splits text into lines; LF and CR LF both end a line. A last line without
// a line end still counts; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Reads a whole file into lines (see ReadCp932File and SplitLines).
std::vector<std::string> ReadCp932Lines(const std::filesystem::path& path);

// Builds a text file line by line: every line ends with CR LF.
class TextFileBuilder {
public:
    void Line(std::string_view utf8) {
        text_.append(utf8);
        text_.append("\r\n");
    }
    const std::string& Utf8() const { return text_; }

private:
    std::string text_;
};

// Encodes UTF-8 text to code page 932 and writes it to path, replacing the
// file atomically (temporary file in the same folder, then rename), so a
// failed write never leaves a half-written file behind. Throws TextError
// when the text cannot be encoded or the file cannot be written.
void WriteCp932FileAtomic(const std::filesystem::path& path, std::string_view utf8);

// Writes raw bytes atomically; throws TextError on failure.
void WriteBytesAtomic(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kova
