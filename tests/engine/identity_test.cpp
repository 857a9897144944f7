// Every file the engine writes, against the hashes of an earlier engine's
// files on the same inputs (tests/data/engine_identity/manifest.txt, written
// by tools/engine_identity.py from that engine's build): the stored sections,
// the benchmark sections and a few hundred generated variants. Work that only
// makes the engine faster must leave every byte as it was; the run-stamp line
// of the page files is the one line left out.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/identity_variants.hpp"

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct Expected {
    std::string key;
    int code = 0;
    std::map<std::string, std::string> files;  // name -> hash
};

std::vector<Expected> ReadManifest() {
    std::vector<Expected> out;
    std::ifstream in(fs::path(KOVA_TEST_DATA) / "engine_identity" / "manifest.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        if (line[0] == ' ') {
            std::string name, hash;
            s >> name >> hash;
            if (!out.empty()) out.back().files[name] = hash;
        } else {
            Expected e;
            s >> e.key >> e.code;
            out.push_back(e);
        }
    }
    return out;
}

std::string Fnv1a64(const std::string& bytes) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001B3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// The hash of a result file; a page file's second line, the run's date and
// time, is left out.
std::string FileHash(const std::string& name, std::string bytes) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".PDT") == 0) {
        const auto first = bytes.find("\r\n");
        if (first != std::string::npos) {
            const auto second = bytes.find("\r\n", first + 2);
            bytes.erase(first + 2, second == std::string::npos ? std::string::npos : second + 2 - (first + 2));
        }
    }
    return Fnv1a64(bytes);
}

std::vector<std::string> InputLines(const std::string& key) {
    if (key.rfind("gen:", 0) == 0) return IdentityVariant(std::stoi(key.substr(4))).Lines();
    return {};
}

// Big sections take seconds under the sanitizers: there, the benchmark
// sections beyond the typical one and most generated variants are left to
// the plain build.
bool Checked(const Expected& e, int index) {
    if (!kSanitized) return true;
    if (e.key.rfind("file:engine_bench/", 0) == 0) return e.key == "file:engine_bench/typical.DAT";
    if (e.key.rfind("gen:", 0) == 0) return index % 8 == 0;
    return true;
}

}  // namespace

TEST(EngineIdentity, EveryFileAsTheManifestSays) {
    const std::vector<Expected> manifest = ReadManifest();
    ASSERT_GT(manifest.size(), 300u);
    int checked = 0;
    for (std::size_t i = 0; i < manifest.size(); ++i) {
        const Expected& e = manifest[i];
        if (!Checked(e, static_cast<int>(i))) continue;
        SCOPED_TRACE(e.key);
        std::function<void(const fs::path&)> prepare;
        if (e.key.rfind("file:", 0) == 0) prepare = EngineRun::Copy(e.key.substr(5));
        // One thread, a few, and one per hardware thread in turn: the files
        // are the same whatever the number.
        EngineRun run(InputLines(e.key), std::array<int, 3>{1, 3, 0}[i % 3], prepare);
        EXPECT_EQ(run.code, e.code);
        std::map<std::string, std::string> got;
        for (const auto& f : fs::directory_iterator(run.dir.path)) {
            const std::string name = f.path().filename().string();
            if (name == "CAL_TNK.DAT" || !f.is_regular_file()) continue;
            got[name] = FileHash(name, run.Bytes(name));
        }
        for (const auto& [name, hash] : e.files) {
            auto it = got.find(name);
            if (it == got.end())
                ADD_FAILURE() << name << " not written";
            else
                EXPECT_EQ(it->second, hash) << name << " differs";
        }
        for (const auto& [name, hash] : got)
            if (!e.files.count(name)) ADD_FAILURE() << name << " written, not expected";
        ++checked;
    }
    EXPECT_GT(checked, kSanitized ? 40 : 300);
}
