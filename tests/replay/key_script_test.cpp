#include <gtest/gtest.h>

#include "replay/key_script.hpp"

namespace grotmere {
namespace {

using Kind = InputEvent::Kind;

TEST(KeyScript, NamesAndCodes) {
    EXPECT_EQ(key_code_for("a"), 65);
    EXPECT_EQ(key_code_for("z"), 90);
    EXPECT_EQ(key_code_for("1"), 49) << "a single character is always that key";
    EXPECT_EQ(key_code_for("kp0"), 96);
    EXPECT_EQ(key_code_for("kp9"), 105);
    EXPECT_EQ(key_code_for("f1"), 112);
    EXPECT_EQ(key_code_for("f12"), 123);
    EXPECT_EQ(key_code_for("pageup"), 33);
    EXPECT_EQ(key_code_for("pagedown"), 34);
    EXPECT_EQ(key_code_for("end"), 35);
    EXPECT_EQ(key_code_for("home"), 36);
    EXPECT_EQ(key_code_for("left"), 37);
    EXPECT_EQ(key_code_for("up"), 38);
    EXPECT_EQ(key_code_for("right"), 39);
    EXPECT_EQ(key_code_for("down"), 40);
    EXPECT_EQ(key_code_for("escape"), 27);
    EXPECT_EQ(key_code_for("space"), 32);
    EXPECT_EQ(key_code_for("return"), 13);
    EXPECT_EQ(key_code_for("tab"), 9);
    EXPECT_EQ(key_code_for("backspace"), 8);
    EXPECT_EQ(key_code_for("lshift"), 160);
    EXPECT_EQ(key_code_for("ralt"), 165);
    EXPECT_EQ(key_code_for("27"), 27);
    EXPECT_EQ(key_code_for("160"), 160);
    EXPECT_EQ(key_code_for("09"), 9);
    EXPECT_EQ(key_code_for("255"), 255);
    for (const char* bad : {"00", "256", "1000", "f13", "kp10", "shift", "", "-"}) {
        EXPECT_FALSE(key_code_for(bad)) << bad;
    }
}

TEST(KeyScript, OneLinePerPass) {
    ScriptParse parsed =
        parse_key_script("right\n\n# a comment\n+lshift 1 -lshift\r\npass 3\nclose focus");
    ASSERT_FALSE(parsed.error);
    const KeyScript& script = parsed.script;
    EXPECT_EQ(script.total_passes(), 7);
    PassInput first = script.input_for_pass(0);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].kind, Kind::Hit);
    EXPECT_EQ(first[0].code, 39);
    EXPECT_TRUE(script.input_for_pass(1).empty());
    PassInput third = script.input_for_pass(2);
    ASSERT_EQ(third.size(), 3u);
    EXPECT_EQ(third[0].kind, Kind::Press);
    EXPECT_EQ(third[0].code, 160);
    EXPECT_EQ(third[1].kind, Kind::Hit);
    EXPECT_EQ(third[1].code, 49);
    EXPECT_EQ(third[2].kind, Kind::Release);
    for (int64_t pass = 3; pass < 6; ++pass)
        EXPECT_TRUE(script.input_for_pass(pass).empty());
    PassInput last = script.input_for_pass(6);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].kind, Kind::Close);
    EXPECT_EQ(last[1].kind, Kind::Focus);
    EXPECT_TRUE(script.input_for_pass(7).empty());
}

TEST(KeyScript, ABadLineIsNamedByItsNumber) {
    for (const char* text : {"a\n\nbogus\n", "a\n\npass\n", "a\n\npass -1\n", "a\n\npass 2 3\n",
                             "a\n\n+\n", "a\n\ncheck 1 ff\n", "a\n\ncheck 2 12345678901234567\n",
                             "a\n\ncheck 2\n", "a\nb \\\npass 1\n", "a\nb \\\ncheck 1 ff\n"}) {
        ScriptParse parsed = parse_key_script(text);
        ASSERT_TRUE(parsed.error) << text;
        EXPECT_EQ(parsed.error->line, 3) << text;
    }
}

TEST(KeyScript, CheckpointsAndPassesGoingOnOverLines) {
    ScriptParse parsed = parse_key_script(
        "seed 2\n# b, data 00ff\nleft \\\n+lshift \\\nup\ncheck 1 ff\npass 99\ncheck 100 "
        "0123456789abcdef\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    EXPECT_EQ(parsed.script.data_hash, "00ff");
    EXPECT_EQ(parsed.script.total_passes(), 100);
    EXPECT_EQ(parsed.script.input_for_pass(0).size(), 3u);
    ASSERT_EQ(parsed.script.checkpoints.size(), 2u);
    EXPECT_EQ(parsed.script.checkpoints[1].pass, 100);
    EXPECT_EQ(parsed.script.checkpoints[1].digest, 0x0123456789abcdefULL);
    EXPECT_EQ(parsed.script.checkpoints[1].line, 8);
}

TEST(KeyScript, ASeedComesOnceBeforeAnyPass) {
    ScriptParse parsed = parse_key_script("# recorded\nseed 4294967295\nright\n");
    ASSERT_FALSE(parsed.error);
    EXPECT_EQ(parsed.script.seed, -1) << "a seed is any 32-bit pattern";
    EXPECT_EQ(parsed.script.total_passes(), 1);
    EXPECT_FALSE(parse_key_script("right\n").script.seed);
    for (const char* text : {"a\nseed 3\n", "seed 1\nseed 2\n", "seed\n", "seed x\n",
                             "seed 4294967296\n", "seed 1 2\n"}) {
        EXPECT_TRUE(parse_key_script(text).error) << text;
    }
}

// A recording writes every key by its word; the word must read back as the same key.
TEST(KeyScript, EveryCodeHasAWordThatReadsBack) {
    for (int32_t code = 1; code <= 255; ++code) {
        const std::string word = key_word_for(code);
        EXPECT_EQ(key_code_for(word), code) << word;
        EXPECT_EQ(word.find(' '), std::string::npos);
    }
    EXPECT_EQ(key_word_for(37), "left");
    EXPECT_EQ(key_word_for(9), "tab");
    EXPECT_EQ(key_word_for(7), "07");
}

TEST(KeyScript, PassCountsUpToTheBound) {
    ScriptParse fits = parse_key_script("pass 999999999\na\n# no pass\n");
    ASSERT_FALSE(fits.error);
    EXPECT_EQ(fits.script.total_passes(), kMostScriptPasses);
    ScriptParse over = parse_key_script("pass 999999999\n\na\n");
    ASSERT_TRUE(over.error);
    EXPECT_EQ(over.error->line, 3);
    ScriptParse huge = parse_key_script("pass 1000000001\n");
    ASSERT_TRUE(huge.error);
    EXPECT_EQ(huge.error->line, 1);
}

}  // namespace
}  // namespace grotmere
