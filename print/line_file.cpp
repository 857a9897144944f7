#include "print/line_file.hpp"

#include <cerrno>
#include <cstring>

#include "textio/cp932.hpp"

namespace kova::print {

LineFile::LineFile(const std::filesystem::path& path) : name_(path.filename().string()) {
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
    if (!fp_ || failed_) Fail(PrintFileError::Stage::Write, "file is not open");
    bool ascii = true;
    for (unsigned char c : utf8)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    std::string converted;
    std::string_view bytes = utf8;
    if (!ascii) {
        try {
            converted = Utf8ToCp932(utf8);
        } catch (const TextError& e) {
            Fail(PrintFileError::Stage::Write, e.what());
        }
        bytes = converted;
    }
    errno = 0;
    // stdio buffers; a failing device shows itself on the write that flushes
    // the buffer, or at the latest when the file is closed.
    if (fwrite_unlocked(bytes.data(), 1, bytes.size(), fp_) != bytes.size() ||
        fwrite_unlocked("\r\n", 1, 2, fp_) != 2 || ferror_unlocked(fp_))
        Fail(PrintFileError::Stage::Write, errno ? std::strerror(errno) : "write failed");
}

void LineFile::Close() {
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
