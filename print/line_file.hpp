#pragma once
// A text file written line by line in code page 932 with CR LF, checked when
// it is created, on every write and when it is closed. Used by the page and
// drawing writers; every failure raises PrintFileError naming the file.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "print/print_common.hpp"

namespace kova::print {

class LineFile {
public:
    // Creates (or replaces) the file. Throws PrintFileError (Stage::Create).
    explicit LineFile(const std::filesystem::path& path);
    // Closes a file still open without checking: only reached when an error
    // is already on its way.
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // Writes one UTF-8 line, encoded, with CR LF. Throws PrintFileError
    // (Stage::Write) when the text cannot be encoded or written, or the file
    // is no longer open.
    void Line(std::string_view utf8);
    // Flushes and closes. Throws PrintFileError (Stage::Close). Closing twice
    // is harmless.
    void Close();

    bool IsOpen() const { return fp_ != nullptr; }
    // The file's own name, without folder.
    const std::string& Name() const { return name_; }

private:
    [[noreturn]] void Fail(PrintFileError::Stage stage, const std::string& detail);
    std::FILE* fp_ = nullptr;
    std::string name_;
    bool failed_ = false;
};

}  // namespace kova::print
