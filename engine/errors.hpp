#pragma once
// A condition that ends the run with exit code 1. It is thrown after its
// message has been shown, so the run can unwind to its caller instead of
// ending the process from deep inside.
#include <stdexcept>

namespace kova::engine {

class RunAborted : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kova::engine
