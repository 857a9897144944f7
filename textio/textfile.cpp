#include "textio/textfile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kova {

ReadFault ReadWholeFile(const std::filesystem::path& path, std::string& out, std::uintmax_t maxBytes,
                        std::uintmax_t* size) {
    // Non-blocking, so that a FIFO without a writer cannot hold the program
    // in open(); its type is then told by the open file itself, with no
    // window for a swap between a check and the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ReadFault::Open;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return ReadFault::Open;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadFault::NotRegular;
    }
    const auto bytes = static_cast<std::uintmax_t>(st.st_size);
    if (size) *size = bytes;
    if (bytes > maxBytes) {
        ::close(fd);
        return ReadFault::TooLarge;
    }
    out.reserve(out.size() + static_cast<std::size_t>(bytes));
    char buf[65536];
    std::uintmax_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return ReadFault::Read;
        }
        if (n == 0) break;
        total += static_cast<std::uintmax_t>(n);
        // A file that grows while it is read is held to the same cap.
        if (total > maxBytes) {
            ::close(fd);
            if (size) *size = total;
            return ReadFault::TooLarge;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadFault::None;
}

std::string ReadCp932File(const std::filesystem::path& path) {
    std::string bytes;
    const ReadFault fault = ReadWholeFile(path, bytes);
    if (fault == ReadFault::Open) throw TextError("cannot open " + path.string() + ": " + std::strerror(errno));
    if (fault == ReadFault::NotRegular) throw TextError(path.string() + " is not a regular file");
    if (fault != ReadFault::None) throw TextError("cannot read " + path.string());
    try {
        return Cp932ToUtf8(bytes);
    } catch (const TextError& e) {
        throw TextError(path.string() + ": " + e.what());
    }
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text.substr(start, stop - start));
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return lines;
}

std::vector<std::string> ReadCp932Lines(const std::filesystem::path& path) {
    return SplitLines(ReadCp932File(path));
}

void WriteBytesAtomic(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path tmp = path;
    tmp += ".tmp~";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw TextError("cannot create " + path.string() + ": " + std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            throw TextError("cannot write " + path.string() + ": " + std::strerror(err));
        }
        done += static_cast<std::size_t>(w);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp.c_str());
        throw TextError("cannot write " + path.string());
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw TextError("cannot replace " + path.string() + ": " + std::strerror(err));
    }
}

void WriteCp932FileAtomic(const std::filesystem::path& path, std::string_view utf8) {
    std::string bytes;
    try {
        bytes = Utf8ToCp932(utf8);
    } catch (const TextError& e) {
        throw TextError(path.string() + ": " + e.what());
    }
    WriteBytesAtomic(path, bytes);
}

}  // namespace kova
