// The page files the engine and the prediction program write, held field by
// field against the catalogue of forms: every field a form is written with
// shows under a caption of that form, and every field the form captions is
// written. A column dropped from a layout, or a field a writer no longer
// fills, fails here. The engine runs on the inputs of its byte-identity
// check (the stored sections and every generated variant), the prediction
// program on its examples; one variant gains a position without soil.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "predict/commands/calc_run.hpp"
#include "print/forms.hpp"
#include "testing/fakes.hpp"
#include "tests/engine/identity_variants.hpp"
#include "tests/support/viewer_grammar.hpp"

namespace fs = std::filesystem;
using kova::print::FormRole;

namespace {

// The fields a form of this role shows: its columns', a text's field 0, a
// time row's days, layer and settlements.
std::set<int> ShownFields(const kova::print::FormLayout& l) {
    std::set<int> shown;
    for (const kova::print::FormColumn& c : l.columns) shown.insert(c.field);
    switch (l.role) {
    case FormRole::Heading:
    case FormRole::Note:
    case FormRole::Statement:
        if (shown.empty()) shown.insert(kova::print::field::Text::Value);
        break;
    case FormRole::TimeRow:
        for (int f = 0; f <= kova::print::kTimeFinalField; ++f) shown.insert(f);
        break;
    default: break;
    }
    return shown;
}

// Forms whose every shown field is written each time (a heading, a note or
// a statement may stand without its text).
bool FillsEveryField(FormRole r) {
    return r == FormRole::Title || r == FormRole::Row || r == FormRole::Total || r == FormRole::TimeRow;
}

// Every page file of a folder against the catalogue; the forms met are added
// to `seen`.
void CheckFolder(const fs::path& dir, kova::testsupport::DateStyle style, std::set<std::string>& seen,
                 std::vector<std::string>& faults) {
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().extension() != ".PDT") continue;
        std::vector<std::string> errors;
        const kova::testsupport::PageFile page = kova::testsupport::ParsePage(e.path(), style, errors);
        for (const std::string& err : errors) faults.push_back(err);
        for (const kova::testsupport::PageForm& f : page.forms) {
            const std::string where = e.path().filename().string() + " " + (f.form.empty() ? "(no form)" : f.form);
            std::set<int> written;
            for (const auto& [number, value] : f.fields) written.insert(number);
            if (f.form.empty()) {
                if (!written.empty()) faults.push_back(where + ": fields without a form");
                continue;
            }
            const kova::print::FormLayout* l = kova::print::FindForm(f.form);
            if (!l) {
                faults.push_back(where + ": not in the catalogue");
                continue;
            }
            seen.insert(f.form);
            const std::set<int> shown = ShownFields(*l);
            for (int n : written)
                if (!shown.count(n)) faults.push_back(where + ": field " + std::to_string(n) + " has no caption");
            if (FillsEveryField(l->role))
                for (int n : shown)
                    if (!written.count(n)) faults.push_back(where + ": field " + std::to_string(n) + " not written");
        }
    }
}

std::vector<std::string> ManifestKeys() {
    std::vector<std::string> keys;
    std::ifstream in(fs::path(KOVA_TEST_DATA) / "engine_identity" / "manifest.txt");
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#' && line[0] != ' ') keys.push_back(line.substr(0, line.find(' ')));
    return keys;
}

}  // namespace

TEST(FormFields, EveryFieldWrittenHasItsCaptionAndEveryCaptionItsField) {
    std::set<std::string> seen;
    std::vector<std::string> faults;

    const std::vector<std::string> keys = ManifestKeys();
    ASSERT_GT(keys.size(), 300u);
    for (const std::string& key : keys) {
        std::vector<std::string> lines;
        std::function<void(const fs::path&)> prepare;
        if (key.rfind("file:", 0) == 0)
            prepare = enginetest::EngineRun::Copy(key.substr(5));
        else {
            enginetest::Input in = enginetest::IdentityVariant(std::stoi(key.substr(4)));
            // One position beyond the soil, for the page that says so.
            if (key == "gen:0") in.positions.push_back({5000, "外"});
            lines = in.Lines();
        }
        enginetest::EngineRun run(lines, 1, prepare);
        const std::size_t before = faults.size();
        CheckFolder(run.dir.path, kova::testsupport::DateStyle::Engine, seen, faults);
        for (std::size_t i = before; i < faults.size(); ++i) faults[i] = key + ": " + faults[i];
        if (faults.size() > 40) break;
    }

    for (const auto& e : fs::directory_iterator(fs::path(KOVA_TEST_DATA) / ".." / ".." / "examples")) {
        if (e.path().extension() != ".tlm") continue;
        kova::test::TempDir dir;
        kova::predict::ObsDataSet data;
        kova::RecordingMessages msgs;
        ASSERT_TRUE(kova::predict::LoadDataFile(data, e.path(), msgs)) << e.path();
        kova::predict::RunCalculation(data, dir.path(), msgs, {3, 4, 15, 9, 5, 30});
        CheckFolder(dir.path(), kova::testsupport::DateStyle::Prediction, seen, faults);
    }

    ASSERT_TRUE(faults.empty()) << kova::testsupport::JoinErrors(faults);
    // Every form of the catalogue was met, so every caption was held against
    // a written field.
    for (const kova::print::FormLayout& l : kova::print::AllForms())
        EXPECT_TRUE(seen.count(std::string(l.form))) << l.form << " never written";
}
