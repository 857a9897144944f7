#pragma once
#include "tests/support/tempdir.hpp"

namespace kova::testing {
using kova::test::ReadBytes;
using kova::test::TempDir;
using kova::test::WriteBytes;
}  // namespace kova::testing
