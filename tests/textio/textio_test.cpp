#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <vector>

#include "tests/support/tempdir.hpp"
#include "textio/storable_text.hpp"
#include "textio/cformat.hpp"
#include "textio/cp932.hpp"
#include "textio/fieldfile.hpp"
#include "textio/fieldlist.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace fs = std::filesystem;
using namespace kova;

namespace {

using test::TempDir;
std::string Bytes(const fs::path& p) { return test::ReadBytes(p); }

}  // namespace

TEST(FormatReal, Table) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {1000, "1000"},       {1.0, "1"},           {1e-5, "1E-05"},         {-0.0, "0"},
        {0, "0"},             {0.5, "0.5"},         {-2.25, "-2.25"},        {1.0 / 3, "0.333333333333333"},
        {1.23e17, "1.23E+17"}, {0.0001, "0.0001"},  {123456.789, "123456.789"}, {-1.5e-7, "-1.5E-07"},
        {1e15, "1E+15"},      {999999999999999.0, "999999999999999"}, {12.3456, "12.3456"},
        {0.1 + 0.2, "0.3"},   {2.0 / 3, "0.666666666666667"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatReal(c.v), c.text) << c.v;
    EXPECT_THROW(FormatReal(NAN), std::invalid_argument);
    EXPECT_THROW(FormatReal(INFINITY), std::invalid_argument);
}

TEST(FormatReal, RandomValuesFormatParseFormatToTheSameText) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> ex(-12, 20);
    for (int i = 0; i < 20000; ++i) {
        double v = mant(rng) * std::pow(10.0, ex(rng));
        std::string a = FormatReal(v);
        double back;
        ASSERT_TRUE(ParseReal(a, back)) << a;
        EXPECT_EQ(FormatReal(back), a);
        // 15 significant digits keep the value to within a relative 1e-14.
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << a;
    }
}

TEST(ParseNumbers, AcceptedAndRefused) {
    double d;
    EXPECT_TRUE(ParseReal(".5", d));
    EXPECT_EQ(d, 0.5);
    EXPECT_TRUE(ParseReal("1E-05", d));
    EXPECT_EQ(d, 1e-5);
    EXPECT_TRUE(ParseReal("+3", d));
    EXPECT_EQ(d, 3);
    for (const char* bad : {"", "abc", "1.2.3", "1e999", "nan", "inf", "1,5", " 1"})
        EXPECT_FALSE(ParseReal(bad, d)) << bad;
    long long i;
    EXPECT_TRUE(ParseInt("-32768", -32768, 32767, i));
    EXPECT_EQ(i, -32768);
    EXPECT_FALSE(ParseInt("32768", -32768, 32767, i));
    EXPECT_TRUE(ParseInt("3.0", 0, 10, i));
    EXPECT_EQ(i, 3);
    EXPECT_FALSE(ParseInt("3.5", 0, 10, i));
    EXPECT_FALSE(ParseInt("", 0, 10, i));
}

TEST(ListLine, JoinsItems) {
    ListLine l;
    l.Str("a,b").Int(-3).Real(2.5).Str("");
    EXPECT_EQ(l.Text(), "\"a,b\",-3,2.5,\"\"");
}

TEST(FieldReader, StreamAcrossLinesAndQuotes) {
    FieldReader in("000003\r\n  title, with comma  \r\n\"na,me\" junk,  12 ,.5\n1E-05\r\n\"\",7");
    auto v = in.Field();
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, "000003");
    auto line = in.WholeLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "  title, with comma  ");
    std::string s;
    ASSERT_TRUE(in.String(s));
    EXPECT_EQ(s, "na,me");
    std::int16_t i16;
    ASSERT_TRUE(in.Int16(i16));
    EXPECT_EQ(i16, 12);
    double d;
    ASSERT_TRUE(in.Real(d));
    EXPECT_EQ(d, 0.5);
    ASSERT_TRUE(in.Real(d));
    EXPECT_EQ(d, 1e-5);
    ASSERT_TRUE(in.String(s));
    EXPECT_EQ(s, "");
    ASSERT_TRUE(in.Int16(i16));
    EXPECT_EQ(i16, 7);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(in.Field());
    EXPECT_FALSE(in.Int16(i16));
}

TEST(FieldReader, RefusesOverflowAndText) {
    FieldReader in("40000,x,1e400");
    std::int16_t i16;
    EXPECT_FALSE(in.Int16(i16));
    double d;
    EXPECT_FALSE(in.Real(d));
    EXPECT_FALSE(in.Real(d));
}

TEST(Cp932, KnownBytes) {
    EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");
    EXPECT_EQ(Utf8ToCp932("－"), "\x81\x7C");
    EXPECT_EQ(Utf8ToCp932("─"), "\x84\x9F");
    EXPECT_EQ(Utf8ToCp932("ﾌｧｲﾙ"), "\xCC\xA7\xB2\xD9");
    EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(Cp932ToUtf8("\xCC\xA7\xB2\xD9"), "ﾌｧｲﾙ");
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("業務名称 ABC")), "業務名称 ABC");
}

TEST(Cp932, RefusesWhatItCannotHold) {
    EXPECT_THROW(Utf8ToCp932("😀"), TextError);
    EXPECT_THROW(Utf8ToCp932("ä"), TextError);
    EXPECT_FALSE(IsCp932Encodable("Ω😀"));
    EXPECT_TRUE(IsCp932Encodable("Ω"));
    EXPECT_THROW(Cp932ToUtf8("\x81"), TextError);      // lead byte without trail
    EXPECT_THROW(Cp932ToUtf8("\x81\x20"), TextError);  // invalid trail byte
}

TEST(Cp932, TruncatesOnCharacterBoundary) {
    EXPECT_EQ(TruncateCp932("あいう", 5), "あい");
    EXPECT_EQ(TruncateCp932("aあ", 2), "a");
    EXPECT_EQ(TruncateCp932("ﾌｧｲﾙ", 3), "ﾌｧｲ");
    EXPECT_EQ(TruncateCp932("abc", 10), "abc");
    EXPECT_EQ(Cp932Length("ﾌｧｲﾙ業務"), 8u);
}

TEST(TextFile, WritesCrLfAndReadsEitherLineEnd) {
    TempDir tmp;
    fs::path dir = tmp.path();
    TextFileBuilder b;
    b.Line("条件ﾌｧｲﾙ");
    b.Line("");
    b.Line("x");
    WriteCp932FileAtomic(dir / "a.txt", b.Utf8());
    EXPECT_EQ(Bytes(dir / "a.txt"), "\x8F\xF0\x8C\x8F\xCC\xA7\xB2\xD9\r\n\r\nx\r\n");
    auto lines = ReadCp932Lines(dir / "a.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "条件ﾌｧｲﾙ");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(SplitLines("a\nb\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFile, FailedWriteLeavesTheOldFile) {
    TempDir tmp;
    fs::path dir = tmp.path();
    WriteCp932FileAtomic(dir / "a.txt", "old\r\n");
    EXPECT_THROW(WriteCp932FileAtomic(dir / "a.txt", "new 😀\r\n"), TextError);
    EXPECT_EQ(Bytes(dir / "a.txt"), "old\r\n");
    EXPECT_FALSE(fs::exists(dir / "a.txt.tmp~"));
    EXPECT_THROW(WriteCp932FileAtomic(dir / "missing" / "a.txt", "x"), TextError);
    EXPECT_THROW(ReadCp932File(dir / "nope.txt"), TextError);
}

// The one whole-file reader behind the text files, the field files and the
// snapshot comparison: every byte (NUL and CR included) appended after what
// the buffer held, and a file that opens but cannot be read (a folder) told
// apart from one that does not open.
TEST(TextFile, WholeFileReaderKeepsEveryByteAndNamesItsFault) {
    TempDir tmp;
    fs::path dir = tmp.path();
    std::string bytes(200000, 'a');
    bytes[7] = '\0';
    bytes[65536] = '\r';
    std::ofstream(dir / "big.bin", std::ios::binary) << bytes;
    std::string out = "kept";
    EXPECT_EQ(ReadWholeFile(dir / "big.bin", out), ReadFault::None);
    EXPECT_EQ(out, "kept" + bytes);
    EXPECT_EQ(ReadWholeFile(dir / "nope.bin", out), ReadFault::Open);
    EXPECT_EQ(ReadWholeFile(dir, out), ReadFault::NotRegular);
    EXPECT_THROW(ReadFileBytes(dir, 1u << 20), FileFault);
}

TEST(CFormat, IgnoresTheProcessLocale) {
    // A locale with a decimal comma, when the machine has one.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(CFormat("%10.3f|%d", 1.5, 7), "     1.500|7");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!comma) GTEST_SKIP() << "no decimal-comma locale installed";
}

TEST(StorableText, RefusesWhatALineOrCodePage932CannotHold) {
    // The refusal names the first character refused, and names one exactly
    // when the text is refused.
    const struct {
        const char* text;
        bool ok;
        const char* named;
    } cases[] = {
        {"", true, ""},
        {"盛土 1 ｱｲｳ～－", true, ""},
        {"a\tb", false, "タブ"},
        {"a\rb", false, "改行"},
        {"a\nb\"", false, "改行"},
        {"\"名前\"", false, "\""},
        {"𠮷野家", false, "𠮷"},
        {"①", true, ""},
        {"盛土\xE7", false, "不正なバイト"},  // a character cut short
        {"x\x80y", false, "不正なバイト"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kova::IsStorableText(c.text), c.ok) << c.text;
        EXPECT_EQ(kova::ForbiddenCharacter(c.text), c.named) << c.text;
    }
    EXPECT_EQ(kova::ForbiddenTextMessage("備考", "盛土\"開始"), "備考に使用できない文字（\"）が含まれています。");
}

// A small count-then-rows format read through the checked reader: every
// fault comes with its line and one wording; a count that is one off is
// told at the count.
TEST(ReadFields, EachFaultNamedOnceAtItsLine) {
    auto read = [](const std::string& text) -> std::string {
        auto parse = [](FieldFile& f) {
            LineFields head = f.NextLine();
            long long n = f.Count(head, head.Int(), 0, 9, "行数");
            for (long long i = 0; i < n; ++i) {
                LineFields row = f.NextLine();
                row.Real();
                row.Real();
                row.End();
            }
            LineFields second = f.NextLine();
            long long m = f.Count(second, second.Int(), 0, 9, "個数");
            second.End();
            for (long long i = 0; i < m; ++i) {
                LineFields one = f.NextLine();
                one.Field();
                one.End();
            }
        };
        try {
            ReadFields(text, parse);
        } catch (const FileFault& e) {
            return e.what();
        }
        return "";
    };
    const std::string rows = "1,2\r\n3, 4 \r\n";
    const struct {
        std::string text, fault;
    } cases[] = {
        {"2\r\n" + rows + "1\r\n\"a,b\"\r\n", ""},
        {"2\r\n" + rows + "1\r\n\"a,b\"\r\n\r\n \r\n", ""},
        {"3\r\n" + rows + "1\r\n5\r\n", "1行目: 行数が3になっていますが、続くデータは2件分です。"},
        {"1\r\n" + rows + "1\r\n5\r\n", "1行目: 行数が1になっていますが、続くデータは2件分です。"},
        {"2\r\n" + rows + "2\r\n5\r\n", "4行目: 個数が2になっていますが、続くデータは1件分です。"},
        {"2\r\n" + rows + "1\r\n5", "5行目: ファイルが途中で終わっています。"},
        {"2\r\n" + rows + "1\r\n", "4行目: 個数が1になっていますが、続くデータは0件分です。"},
        {"", "1行目: ファイルが途中で終わっています。"},
        {"2\r\n1,2\r\n3,x\r\n1\r\n5\r\n", "3行目: 数値が正しく読めません。"},
        {"2\r\n1,\"2\"\r\n3,4\r\n1\r\n5\r\n", "2行目: 数値が正しく読めません。"},
        {"2\r\n1\r\n3,4\r\n1\r\n5\r\n", "2行目: 数値が正しく読めません。"},
        {"2\r\n1,2,\r\n3,4\r\n1\r\n5\r\n", "2行目: 項目の数が正しくありません。"},
        {"2\r\n" + rows + "1\r\n5\r\n\r\nz\r\n", "7行目: データの後に余分な内容があります。"},
    };
    for (const auto& c : cases) EXPECT_EQ(read(c.text), c.fault) << c.text;

    LineFields open("\"abc,1", 4);
    EXPECT_THROW(open.Field(), FileFault);
    try {
        DecodeCp932Text("ok\r\n\x82\xa0\r\nx\x81\x7F\r\n");
        ADD_FAILURE() << "invalid bytes decoded";
    } catch (const FileFault& e) {
        EXPECT_EQ(std::string(e.what()), "3行目: 読めない文字コードがあります。");
    }
}

namespace {

// A record of a key-line file, its codec over the checked field reader.
struct Rec {
    std::int16_t a = 7;
    double b = 0, c = -1;
};
using RecField = Field<Rec, int, std::int16_t, double>;
const RecField kRecFields[] = {
    {At<&Rec::a>, 0, "a"}, {At<&Rec::b>, 0}, {nullptr, 0, "heading"}, {At<&Rec::c>, 0, "c", "", 0, 2}};

struct KeyLinesIn {
    FieldFile& f;
    std::optional<LineFields> l;
    std::vector<int> counts;  // values asked for, line by line
    void Line(const RecField& first, int n) {
        counts.push_back(n);
        if (!first.at) return (void)f.WholeLine();
        l.emplace(f.NextLine());
        if (first.HasKey()) l->Field();
    }
    void Read(std::int16_t& v, const RecField&) { v = static_cast<std::int16_t>(l->Int()); }
    void Read(double& v, const RecField&) { v = l->Real(); }
};

struct KeyLinesOut {
    std::string text;
    ListLine l;
    void Key(std::string_view k) { l.Str(k); }
    void Write(std::int16_t v, const RecField&) { l.Int(v); }
    void Write(double v, const RecField&) { l.Real(v); }
    void EndLine() { text += l.Text() + "\n", l = ListLine(); }
};

}  // namespace

// Rows without a key continue the line before; a row of a later version
// is neither read from an older file nor does it shift the others.
TEST(FieldList, LinesByKeyAndVersion) {
    Rec r{3, 2.5, 4};
    KeyLinesOut out;
    WriteRecord(out, kRecFields, r);
    EXPECT_EQ(out.text, "\"a\",3,2.5\n\"heading\"\n\"c\",4\n");
    for (int version : {1, 2}) {
        Rec back;
        std::vector<int> counts;
        ReadFields(out.text, [&](FieldFile& f) {
            KeyLinesIn in{f, {}, {}};
            ReadRecord(in, kRecFields, back, version);
            if (version == 1) f.WholeLine();  // the line a version 1 file would not hold
            counts = in.counts;
        });
        EXPECT_EQ(back.a, 3);
        EXPECT_EQ(back.b, 2.5);
        EXPECT_EQ(back.c, version == 2 ? 4 : -1);
        EXPECT_EQ(counts, version == 2 ? std::vector<int>({2, 0, 1}) : std::vector<int>({2, 0}));
    }
}
