#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "base/text.hpp"
#include "base/text_file.hpp"

namespace grotmere {
namespace {

TEST(TextToInt, ReadsTheNumberFormsOfTheDataFiles) {
    EXPECT_EQ(text_to_int("12]"), 12);
    EXPECT_EQ(text_to_int(""), 0);
    EXPECT_EQ(text_to_int(" -7"), -7);
    EXPECT_EQ(text_to_int("$FF"), 255);
    EXPECT_EQ(text_to_int("$ff"), 255);
    EXPECT_EQ(text_to_int("%101"), 5);
    EXPECT_EQ(text_to_int("+42"), 42);
    EXPECT_EQ(text_to_int("\t 8x"), 8);
    EXPECT_EQ(text_to_int("abc"), 0);
    EXPECT_EQ(text_to_int("-"), 0);
    EXPECT_EQ(text_to_int("- 5"), 0);  // the digits must follow the sign
    EXPECT_EQ(text_to_int("%12"), 1);  // a binary number stops at the 2
    EXPECT_EQ(text_to_int("-$10"), -16);
}

TEST(TextToInt, WrapsToThirtyTwoBits) {
    EXPECT_EQ(text_to_int("2147483647"), 2147483647);
    EXPECT_EQ(text_to_int("2147483648"), INT32_MIN);
    EXPECT_EQ(text_to_int("-2147483648"), INT32_MIN);
    EXPECT_EQ(text_to_int("4294967296"), 0);
    EXPECT_EQ(text_to_int("4294967297"), 1);
    EXPECT_EQ(text_to_int("$FFFFFFFF"), -1);
    EXPECT_EQ(text_to_int("99999999999999999999999"), static_cast<int32_t>(0xF67FFFFFU))
        << "long digit runs keep wrapping and never overflow a wider type";
}

TEST(TextHelpers, CaseAndStripping) {
    EXPECT_EQ(int_to_text(-15), "-15");
    EXPECT_EQ(int_to_text(INT32_MIN), "-2147483648");
    EXPECT_EQ(lower_case("TPlayer \xC4Z"), "tplayer \xC4z") << "only A to Z change";
    EXPECT_TRUE(equals_ignoring_case("RS", "rs"));
    EXPECT_FALSE(equals_ignoring_case("rs", "rs "));

    std::string text = "\t a\tb\t";
    strip_char(text, '\t', 0);
    EXPECT_EQ(text, " ab");
    std::string spaced = "   a b ";
    strip_char(spaced, ' ', 1);
    EXPECT_EQ(spaced, "a b ");
    std::string blank = "   ";
    strip_char(blank, ' ', 1);
    EXPECT_EQ(blank, "");
}

TEST(TextHelpers, DecimalAndJoinedTextsAsTheOtherConversions) {
    for (int32_t value : {0, 7, -1, 2147483647, -2147483647 - 1})
        EXPECT_EQ(std::string_view(Decimal(value)), int_to_text(value));
    std::string text(100, 'x');
    const char* storage = text.data();
    assign_joined(text, {"GOLD: ", Decimal(12), " pieces."});
    append_joined(text, {"!"});
    EXPECT_EQ(text, "GOLD: 12 pieces.!");
    EXPECT_EQ(text.data(), storage) << "a refilled text keeps its storage";
}

TEST(TextHelpers, Latin1BecomesValidUtf8) {
    EXPECT_EQ(latin1_to_utf8("abc"), "abc");
    EXPECT_EQ(latin1_to_utf8("\xE4\xFF\x80"), "\xC3\xA4\xC3\xBF\xC2\x80");
}

TextFile file_of(std::string bytes) {
    return TextFile(std::vector<char>(bytes.begin(), bytes.end()));
}

TEST(ReadLine, EndsLinesAtLineFeedNulOrEndOfFile) {
    const char bytes[] = "one\r\ntwo\0three\nla\rst";
    TextFile file = file_of(std::string(bytes, sizeof bytes - 1));
    EXPECT_EQ(read_line(file), "one");
    EXPECT_EQ(read_line(file), "two");
    EXPECT_EQ(read_line(file), "three");
    EXPECT_EQ(at_end(file), 0);
    EXPECT_EQ(read_line(file), "last") << "carriage returns are dropped wherever they stand";
    EXPECT_EQ(at_end(file), 1);
    EXPECT_EQ(read_line(file), "") << "reading past the end gives empty lines";
    EXPECT_EQ(read_line(file), "");
}

TEST(ReadLine, PositionAndSeek) {
    TextFile file = file_of("ab\ncd\n\nef");
    read_line(file);
    EXPECT_EQ(byte_position(file), 3);
    EXPECT_EQ(read_line(file), "cd");
    EXPECT_EQ(read_line(file), "") << "an empty line in the middle";
    EXPECT_EQ(at_end(file), 0);
    seek(file, 1);
    EXPECT_EQ(read_line(file), "b");
    seek(file, 1000);
    EXPECT_EQ(at_end(file), 1);
    seek(file, -5);
    EXPECT_EQ(read_line(file), "ab");
}

TEST(ReadLine, KeepsEveryByteAsOneCharacter) {
    TextFile file = file_of("\xC3\xA4\xFF\n");
    EXPECT_EQ(read_line(file), "\xC3\xA4\xFF");
}

TEST(OpenTextFile, ReportsNoneForWhatCannotBeRead) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("grotmere_text_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    EXPECT_EQ(open_text_file((dir / "missing.txt").string()), nullptr);
    EXPECT_EQ(open_text_file(dir.string()), nullptr) << "a directory is no text file";
    std::ofstream((dir / "file.txt").string()) << "x\ny";
    TextFileHandle file = open_text_file((dir / "file.txt").string());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(read_line(*file), "x");
    close_file(file);
    EXPECT_EQ(file, nullptr);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace grotmere
