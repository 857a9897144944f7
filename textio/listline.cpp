#include "textio/listline.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace kova {

std::string FormatReal(double v) {
    if (!std::isfinite(v)) throw std::invalid_argument("non-finite number cannot be written");
    if (v == 0.0) return "0";  // -0 too
    char buf[64];
    // 15 significant digits: d.dddddddddddddde±XX
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string sci(buf, res.ptr);
    bool neg = sci[0] == '-';
    if (neg) sci.erase(0, 1);
    std::size_t ePos = sci.find('e');
    int exp = std::stoi(sci.substr(ePos + 1));
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = neg ? "-" : "";
    if (exp < -4 || exp >= 15) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
        out += e;
    } else if (exp < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exp - 1), '0');
        out += digits;
    } else {
        std::size_t intLen = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intLen) {
            out += digits;
            out.append(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen);
            out += '.';
            out += digits.substr(intLen);
        }
    }
    return out;
}

bool ParseReal(std::string_view text, double& out) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return false;
    if (!std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseInt(std::string_view text, long long lo, long long hi, long long& out) {
    std::string_view t = text;
    if (!t.empty() && t[0] == '+') t.remove_prefix(1);
    long long v = 0;
    auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || res.ec != std::errc() || res.ptr != t.data() + t.size()) {
        double d;
        if (!ParseReal(text, d) || d != std::trunc(d) || d < -9.2e18 || d > 9.2e18) return false;
        v = static_cast<long long>(d);
    }
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

void ListLine::Sep() {
    if (!first_) text_ += ',';
    first_ = false;
}

ListLine& ListLine::Str(std::string_view s) {
    Sep();
    text_ += '"';
    text_ += s;
    text_ += '"';
    return *this;
}

ListLine& ListLine::Int(long long v) {
    Sep();
    text_ += std::to_string(v);
    return *this;
}

ListLine& ListLine::Real(double v) {
    Sep();
    text_ += FormatReal(v);
    return *this;
}

void FieldReader::ConsumeLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
}

std::optional<std::string> FieldReader::Field() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    fieldItem_ = fieldLine_ == line_ ? fieldItem_ + 1 : 1;
    fieldLine_ = line_;
    std::string value;
    auto atSep = [&](std::size_t p) {
        return text_[p] == ',' || text_[p] == '\n' ||
               (text_[p] == '\r' && (p + 1 >= text_.size() || text_[p + 1] == '\n'));
    };
    if (text_[pos_] == '"') {
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string::npos) close = text_.size();
        value = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close < text_.size() ? close + 1 : close;
        while (pos_ < text_.size() && !atSep(pos_)) ++pos_;
    } else {
        std::size_t start = pos_;
        while (pos_ < text_.size() && !atSep(pos_)) ++pos_;
        value = text_.substr(start, pos_ - start);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    }
    if (pos_ < text_.size()) {
        if (text_[pos_] == ',')
            ++pos_;
        else
            ConsumeLineEnd();
    }
    return value;
}

std::optional<std::string> FieldReader::WholeLine() {
    if (pos_ >= text_.size()) return std::nullopt;
    fieldLine_ = line_;
    fieldItem_ = 0;
    std::size_t nl = text_.find('\n', pos_);
    std::size_t end = nl == std::string::npos ? text_.size() : nl;
    std::size_t stop = end;
    if (stop > pos_ && text_[stop - 1] == '\r') --stop;
    std::string line(text_.substr(pos_, stop - pos_));
    pos_ = nl == std::string::npos ? text_.size() : nl + 1;
    ++line_;
    return line;
}

int FieldReader::JunkLine() const {
    std::size_t junk = text_.find_first_not_of(" \t\r\n", pos_);
    if (junk == std::string::npos) return 0;
    return line_ + static_cast<int>(std::count(text_.begin() + static_cast<long>(pos_), text_.begin() + static_cast<long>(junk), '\n'));
}

bool EndsWithLineEnd(std::string_view text) { return text.empty() || text.back() == '\n'; }

bool FieldReader::Int16(std::int16_t& out) {
    long long v;
    if (!Int(-32768, 32767, v)) return false;
    out = static_cast<std::int16_t>(v);
    return true;
}

bool FieldReader::Int(long long lo, long long hi, long long& out) {
    auto f = Field();
    return f && ParseInt(*f, lo, hi, out);
}

bool FieldReader::Real(double& out) {
    auto f = Field();
    return f && ParseReal(*f, out);
}

bool FieldReader::String(std::string& out) {
    auto f = Field();
    if (!f) return false;
    out = std::move(*f);
    return true;
}

}  // namespace kova
