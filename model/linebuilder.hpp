#pragma once
// A text file builder that takes list lines directly.
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace kova {

class LineBuilder : public TextFileBuilder {
public:
    using TextFileBuilder::Line;
    void Line(const ListLine& l) { TextFileBuilder::Line(l.Text()); }
};

}  // namespace kova
