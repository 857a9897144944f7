#include "print/line_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "textio/cp932.hpp"

namespace kova::print {

namespace {

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

void FileBatch::Entry::Append(std::string_view bytes) {
    constexpr std::size_t kBlock = 60 << 10;
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < bytes.size()) {
        blocks.emplace_back();
        blocks.back().reserve(std::max(kBlock, bytes.size()));
    }
    blocks.back().append(bytes);
}

std::size_t FileBatch::Entry::Size() const {
    std::size_t n = 0;
    for (const std::string& b : blocks) n += b.size();
    return n;
}

FileBatch::Entry& FileBatch::Add(const std::filesystem::path& path) {
    Entry e;
    e.path = path;
    for (std::size_t j = 0; j < entries_.size(); ++j)
        if (!entries_[j].closed) e.open_before.emplace_back(j, entries_[j].Size());
    entries_.push_back(std::move(e));
    return entries_.back();
}

void FileBatch::WriteAll() {
    std::deque<Entry> entries;
    entries.swap(entries_);
    for (const Entry& e : entries) {
        const std::string name = e.path.filename().string();
        // The file is written over in place and then cut to its length: the
        // same bytes as writing it afresh, but a file of the last run is not
        // first given back block by block and then taken again.
        const int fd = ::open(e.path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            const std::string detail = std::strerror(errno);
            // Written directly, those files would hold no more than when
            // this one was to be created.
            for (const auto& [j, size] : e.open_before) {
                std::error_code ec;
                std::filesystem::resize_file(entries[j].path, size, ec);
            }
            throw PrintFileError(name, PrintFileError::Stage::Create, detail);
        }
        // On a failure the file holds what a fresh one would: the bytes
        // written so far.
        off_t written = 0;
        auto fail = [&](PrintFileError::Stage stage, int err) {
            if (::ftruncate(fd, written) != 0) {
                // A device cannot be cut; a file that cannot is left as is.
            }
            ::close(fd);
            throw PrintFileError(name, stage, std::strerror(err));
        };
        for (const std::string& b : e.blocks) {
            std::size_t done = 0;
            while (done < b.size()) {
                const ssize_t w = ::write(fd, b.data() + done, b.size() - done);
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) fail(PrintFileError::Stage::Write, w < 0 ? errno : ENOSPC);
                done += static_cast<std::size_t>(w);
                written += w;
            }
        }
        if (::ftruncate(fd, written) != 0) {
            // Only a regular file can be cut; on a device there is nothing
            // left over to cut.
            struct stat info {};
            if (::fstat(fd, &info) != 0 || S_ISREG(info.st_mode)) fail(PrintFileError::Stage::Write, errno);
        }
        if (::close(fd) != 0) throw PrintFileError(name, PrintFileError::Stage::Close, std::strerror(errno));
    }
}

LineFile::LineFile(const std::filesystem::path& path, FileBatch* batch) : name_(path.filename().string()) {
    if (batch) {
        held_ = &batch->Add(path);
        return;
    }
    fp_ = std::fopen(path.c_str(), "wb");
    if (!fp_) Fail(PrintFileError::Stage::Create, std::strerror(errno));
    // Drawings run to tens of thousands of short lines.
    std::setvbuf(fp_, nullptr, _IOFBF, 1 << 16);
}

LineFile::~LineFile() {
    if (fp_) std::fclose(fp_);
}

void LineFile::Fail(PrintFileError::Stage stage, const std::string& detail) {
    failed_ = true;
    throw PrintFileError(name_, stage, detail);
}

void LineFile::Line(std::string_view utf8) {
    if (!IsOpen() || failed_) Fail(PrintFileError::Stage::Write, "file is not open");
    std::string converted;
    std::string_view bytes = utf8;
    if (!IsAscii(utf8)) {
        try {
            converted = Utf8ToCp932(utf8);
        } catch (const TextError& e) {
            Fail(PrintFileError::Stage::Write, e.what());
        }
        bytes = converted;
    }
    if (held_) {
        // One append: a line never straddles two blocks.
        if (bytes.size() < 254) {
            char line[256];
            std::memcpy(line, bytes.data(), bytes.size());
            line[bytes.size()] = '\r';
            line[bytes.size() + 1] = '\n';
            held_->Append(std::string_view(line, bytes.size() + 2));
        } else {
            held_->Append(std::string(bytes) + "\r\n");
        }
        return;
    }
    errno = 0;
    // stdio buffers; a failing device shows itself on the write that flushes
    // the buffer, or at the latest when the file is closed.
    if (fwrite_unlocked(bytes.data(), 1, bytes.size(), fp_) != bytes.size() ||
        fwrite_unlocked("\r\n", 1, 2, fp_) != 2 || ferror_unlocked(fp_))
        Fail(PrintFileError::Stage::Write, errno ? std::strerror(errno) : "write failed");
}

void LineFile::AsciiLine(std::string_view bytes) {
    if (!IsOpen() || failed_) Fail(PrintFileError::Stage::Write, "file is not open");
    if (held_) {
        held_->Append(bytes);
        return;
    }
    errno = 0;
    if (fwrite_unlocked(bytes.data(), 1, bytes.size(), fp_) != bytes.size() || ferror_unlocked(fp_))
        Fail(PrintFileError::Stage::Write, errno ? std::strerror(errno) : "write failed");
}

void LineFile::Close() {
    if (held_) {
        // The batch writes the file; an encoding failure has already been
        // raised by Line.
        held_->closed = true;
        held_ = nullptr;
        if (failed_) Fail(PrintFileError::Stage::Close, "close failed");
        return;
    }
    if (!fp_) return;
    std::FILE* fp = fp_;
    fp_ = nullptr;
    errno = 0;
    bool bad = std::ferror(fp) != 0;
    bad = (std::fflush(fp) != 0) || bad;
    bad = (std::fclose(fp) != 0) || bad;
    if (bad || failed_)
        Fail(PrintFileError::Stage::Close, errno ? std::strerror(errno) : "close failed");
}

}  // namespace kova::print
