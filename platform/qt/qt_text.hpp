#pragma once
// UTF-8 std::string <-> QString, and the line breaks of message texts.
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace kova {

inline QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string U(const QString& s) { return s.toStdString(); }
inline QString QPath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
inline std::filesystem::path PathOf(const QString& s) { return std::filesystem::path(s.toStdString()); }

// A CR (with or without a following LF) breaks the line.
QString DisplayText(std::string_view s);

// Menu and button captions treat "&" as a mnemonic mark; a file name shown
// as a caption must show its "&" as is.
QString LiteralCaption(std::string_view s);

}  // namespace kova
