#pragma once
// A text file written line by line in code page 932 with CR LF, checked when
// it is created, on every write and when it is closed. Used by the page and
// drawing writers; every failure raises PrintFileError naming the file.
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "print/print_common.hpp"

namespace kova::print {

// Files prepared in memory and put on disk later, in the order they were
// opened: reports can be prepared on several threads and still reach the
// disk, and fail, as if they had been written one after the other.
class FileBatch {
public:
    // Creates, writes and closes every file in the order opened and empties
    // the batch. Stops at the first file that fails with PrintFileError
    // naming it (Create, Write or Close as for a LineFile); a file that
    // cannot be created leaves the files still open when it was opened as
    // far as they had been written then, as direct writers would.
    void WriteAll();
    bool Empty() const { return entries_.empty(); }

private:
    friend class LineFile;
    // A file's bytes in blocks of moderate size: no block is ever copied to
    // grow, and freed blocks serve the next files.
    struct Entry {
        std::filesystem::path path;
        std::vector<std::string> blocks;
        bool closed = false;
        // The files of the batch open when this one was opened, with their
        // sizes then.
        std::vector<std::pair<std::size_t, std::size_t>> open_before;
        void Append(std::string_view bytes);
        std::size_t Size() const;
    };
    // A new file of the batch; the reference stays valid while the batch lives.
    Entry& Add(const std::filesystem::path& path);
    std::deque<Entry> entries_;
};

class LineFile {
public:
    // Creates (or replaces) the file. Throws PrintFileError (Stage::Create).
    // With a batch, the lines go into the batch instead and the file is
    // created when the batch is written.
    explicit LineFile(const std::filesystem::path& path, FileBatch* batch = nullptr);
    // Closes a file still open without checking: only reached when an error
    // is already on its way.
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // Writes one UTF-8 line, encoded, with CR LF. Throws PrintFileError
    // (Stage::Write) when the text cannot be encoded or written, or the file
    // is no longer open.
    void Line(std::string_view utf8);
    // Writes bytes that the caller knows to be ASCII and to end in CR LF.
    void AsciiLine(std::string_view bytes);
    // Flushes and closes. Throws PrintFileError (Stage::Close). Closing twice
    // is harmless.
    void Close();

    bool IsOpen() const { return fp_ != nullptr || held_ != nullptr; }
    // The file's own name, without folder.
    const std::string& Name() const { return name_; }

private:
    [[noreturn]] void Fail(PrintFileError::Stage stage, const std::string& detail);
    std::FILE* fp_ = nullptr;
    FileBatch::Entry* held_ = nullptr;  // this file in a batch
    std::string name_;
    bool failed_ = false;
};

}  // namespace kova::print
