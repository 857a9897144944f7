#include "textio/cp932.hpp"

#include <cerrno>
#include <iconv.h>

namespace kova {
namespace {

// glibc's "CP932" is Microsoft's table: 0x8160 is U+FF5E, which the
// programs write; "SHIFT_JIS" would map it to U+301C.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw TextError(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Run(std::string_view in, const char* what) {
        std::string out;
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t done = 0;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (srcLeft > 0) {
            char* dst = out.data() + done;
            std::size_t dstLeft = out.size() - done;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) {
                    out.resize(out.size() * 2);
                    continue;
                }
                std::size_t at = in.size() - srcLeft;
                throw TextError(std::string(what) + " at byte " + std::to_string(at));
            }
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t cd_;
};

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    thread_local Converter conv("CP932", "UTF-8");
    return conv.Run(utf8, "text has a character that code page 932 cannot hold");
}

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    thread_local Converter conv("UTF-8", "CP932");
    return conv.Run(cp932, "bytes are not valid code page 932");
}

bool IsCp932Encodable(std::string_view utf8) {
    try {
        Utf8ToCp932(utf8);
        return true;
    } catch (const TextError&) {
        return false;
    }
}

std::size_t Cp932Length(std::string_view utf8) { return Utf8ToCp932(utf8).size(); }

std::string_view TruncateCp932Bytes(std::string_view cp932, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < cp932.size()) {
        unsigned char c = static_cast<unsigned char>(cp932[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        std::size_t len = lead ? 2 : 1;
        if (i + len > maxBytes || i + len > cp932.size()) break;
        i += len;
    }
    return cp932.substr(0, i);
}

std::string TruncateCp932(std::string_view utf8, std::size_t maxBytes) {
    std::string bytes = Utf8ToCp932(utf8);
    if (bytes.size() <= maxBytes) return std::string(utf8);
    return Cp932ToUtf8(TruncateCp932Bytes(bytes, maxBytes));
}

}  // namespace kova
