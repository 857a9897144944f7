#include "shell/version_file.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/tempdir.hpp"

namespace kova {
namespace {

TEST(VersionFile, FirstFieldQuotedBareOrMissing) {
    struct Case {
        const char* bytes;  // nullptr: no file
        const char* want;
    };
    const Case cases[] = {
        {"\"1.0.0\"\r\n", "1.0.0"},
        {"  1.0.0  \r\n", "1.0.0"},
        {"2.1, build 7\r\n", "2.1"},
        {"\"3.0, beta\",x\r\n", "3.0, beta"},
        {"", ""},
        {"\r\n\"late\"\r\n", ""},
        {"\x82\xa0\r\n", "あ"},  // code page 932
        {"\x81\r\n", ""},        // not code page 932: unreadable
        {nullptr, ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        if (c.bytes) std::ofstream(dir / kVersionFileName, std::ios::binary) << c.bytes;
        EXPECT_EQ(ReadVersionText(dir.path()), c.want) << (c.bytes ? c.bytes : "(missing)");
    }
}

}  // namespace
}  // namespace kova
