#include "shell/version_file.hpp"

#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova {

std::string ReadVersionText(const std::filesystem::path& appPath) {
    std::string text;
    try {
        text = ReadCp932File(appPath / kVersionFileName);
    } catch (const TextError&) {
        return {};
    }
    FieldReader reader(std::move(text));
    return reader.Field().value_or(std::string{});
}

}  // namespace kova
