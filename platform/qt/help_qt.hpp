#pragma once
// Opens a help file with the desktop's default viewer.
#include "platform/help.hpp"

namespace kova {

class QtHelpViewer : public HelpViewer {
public:
    bool Open(const std::filesystem::path& file) override;
};

}  // namespace kova
