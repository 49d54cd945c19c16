#include <gtest/gtest.h>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/trank.hpp"
#include "actors/waffe.hpp"
#include "base/random.hpp"
#include "tests/records/definition_test_support.hpp"
#include "world/door.hpp"
#include "world/key.hpp"
#include "world/teleport.hpp"

namespace grotmere {
namespace {

using testing::RecordTest;
using testing::ScratchDir;
using testing::WorkingDirectory;

using DefinitionLoaderTest = RecordTest;

// The draw a fresh generator with this seed makes first.
int32_t first_draw(int32_t seed, int32_t low, int32_t high) {
    seed_random(seed);
    int32_t value = random_range(low, high);
    seed_random(seed);
    return value;
}

TEST_F(DefinitionLoaderTest, LoadsTheWorkedExamples) {
    load("TKey { key_id = 3 }\nTKey { key_id = [1,2,3] }\nTKey { key_id = [4_6] }\n");
    ASSERT_EQ(count(), 5) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 3);
    EXPECT_EQ(record<TKey>(0)->anzahl, 1);
    EXPECT_EQ(record<TKey>(0)->preis, -1000);
    EXPECT_EQ(record<TKey>(1)->key_id, 1);
    EXPECT_EQ(record<TKey>(2)->key_id, 2);
    EXPECT_EQ(record<TKey>(3)->key_id, 3);
    EXPECT_GE(record<TKey>(4)->key_id, 4);
    EXPECT_LE(record<TKey>(4)->key_id, 6);
    EXPECT_TRUE(problems.empty()) << problem_texts();
}

TEST_F(DefinitionLoaderTest, CommentsAreWholeLinesAndASlashElsewhereIsADelimiter) {
    load(
        "/ a comment TKey { key_id = 1 }\n"
        "   \t / an indented comment TKey { key_id = 2 }\n"
        "TWaffe { name = Axe/Sword dmg = 4 }\n"
        "TWaffe { name = \"Axe/Sword\" }\n");
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TWaffe>(0)->name, "Axe");
    EXPECT_EQ(record<TWaffe>(0)->dmg, 4);
    EXPECT_EQ(record<TWaffe>(1)->name, "Axe/Sword");
}

TEST_F(DefinitionLoaderTest, QuotedTextsKeepSpacesAndDelimitersButLoseTabsAndLineBreaks) {
    load(
        "TTrank { name = \"Potion  of   {Might} = x+1\"\n"
        "wirkung = \"attack+20'3|\thp+10\" }\n"
        "TTrank { name = \"Long\n"
        "      Name\" }\n");
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TTrank>(0)->name, "Potion  of   {Might} = x+1");
    EXPECT_EQ(record<TTrank>(0)->wirkung, "attack+20'3|hp+10");
    EXPECT_EQ(record<TTrank>(1)->name, "LongName");
}

TEST_F(DefinitionLoaderTest, ReadsSignedValuesAndIgnoresCaseInNames) {
    load(
        "tgegner {\n  HP = -   5\n  rs = -2\n  NAME = Rat\n  attack=+7\n}\n"
        "tdoor { PREIS = 5 }\n");
    ASSERT_EQ(count(), 2) << problem_texts();
    auto rat = record<TGegner>(0);
    EXPECT_EQ(rat->hp, -5);
    EXPECT_EQ(rat->RS, -2);
    EXPECT_EQ(rat->name, "Rat");
    // "+" is a value of its own, not a sign.
    EXPECT_EQ(rat->attack, 0);
    EXPECT_EQ(record<TDoor>(1)->preis, 5);
    EXPECT_EQ(record<TDoor>(1)->TGegenstand::preis, 0);
}

TEST_F(DefinitionLoaderTest, ListsOfDifferentLengthsMakeOneCopyPerPosition) {
    load("TKey { preis = 7 key_id = [1,2] name = [a,b,c] }");
    ASSERT_EQ(count(), 3) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->name, "a");
    EXPECT_EQ(record<TKey>(0)->key_id, 1);
    EXPECT_EQ(record<TKey>(1)->key_id, 2);
    EXPECT_EQ(record<TKey>(2)->name, "c");
    EXPECT_EQ(record<TKey>(2)->key_id, 0);  // beyond the shorter list: the record's own value
    EXPECT_EQ(record<TKey>(2)->preis, 7);
}

TEST_F(DefinitionLoaderTest, ARangeBesideAListIsDrawnOnceForAllCopies) {
    int32_t expected = first_draw(77, 1, 1000000);
    load("TGegner { hp = [1_1000000] name = [a,b,c] }");
    ASSERT_EQ(count(), 3) << problem_texts();
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(record<TGegner>(i)->hp, expected);
}

TEST_F(DefinitionLoaderTest, ListsOfQuotedTexts) {
    load(
        "TKey { name = [\"Iron Key\",\"Brass  Key\",\"a,b\"] key_id = [1,2,3] }\n"
        "TKey { name = [ \"Spaced\" , \"Out\" ] }\n");
    ASSERT_EQ(count(), 5) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->name, "Iron Key");
    EXPECT_EQ(record<TKey>(1)->name, "Brass  Key");
    EXPECT_EQ(record<TKey>(2)->name, "a,b");
    EXPECT_EQ(record<TKey>(2)->key_id, 3);
    EXPECT_EQ(record<TKey>(3)->name, "Spaced");
    EXPECT_EQ(record<TKey>(4)->name, "Out");
}

TEST_F(DefinitionLoaderTest, RecordsOfSeveralTypesShareOneLineAndOneList) {
    load(
        "TKey { key_id = 1 } TWaffe { name = Bow } \"dropped\" TTrank { \"dropped\" name = P }\n"
        "\n   \t  \n\n");
    ASSERT_EQ(count(), 3) << problem_texts();
    EXPECT_NE(record<TKey>(0), nullptr);
    EXPECT_EQ(record<TWaffe>(1)->name, "Bow");
    EXPECT_EQ(record<TTrank>(2)->name, "P");
}

TEST_F(DefinitionLoaderTest, TheLastTypeNameBeforeTheBraceCounts) {
    current_map = "bifs/here.map";
    load("TKey TTeleport { x = 4 }");
    ASSERT_EQ(count(), 1) << problem_texts();
    EXPECT_EQ(record<TTeleport>(0)->x, 4);
    EXPECT_EQ(record<TTeleport>(0)->target_map, "bifs/here.map");
}

// --- the choices for what the format leaves open ----------------------------------------------

TEST_F(DefinitionLoaderTest, AnUnknownTypeIsSkippedUpToItsBrace) {
    load("TKey { key_id = 1 }\nTFoo { name = \"a } b\" key_id = 5 }\nTKey { key_id = 2 }");
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TKey>(1)->key_id, 2);
    EXPECT_TRUE(has_problem(2, "unknown record type \"TFoo\"")) << problem_texts();
    EXPECT_EQ(problems[0].to_text(),
              "test.bif:2: warning: unknown record type \"TFoo\"; skipped up to its \"}\"");
}

TEST_F(DefinitionLoaderTest, AValueForAKeyThatIsNoUsableFieldIsIgnored) {
    load("TGegner {\n = 2\n nonsense = 3\n hp = 4\n buffs = 1\n}\n");
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(record<TGegner>(0)->hp, 4);
    EXPECT_NE(record<TGegner>(0)->buffs, nullptr);
    EXPECT_TRUE(has_problem(2, "a value without a key")) << problem_texts();
    EXPECT_TRUE(has_problem(3, "no field \"nonsense\""));
    EXPECT_TRUE(has_problem(5, "\"buffs\" of TGegner is neither a number nor a text"));
    EXPECT_EQ(problems.size(), 3u) << problem_texts();
}

TEST_F(DefinitionLoaderTest, StrayBracesAndEqualsOutsideRecordsAreIgnored) {
    load("}\n=\n{ key_id = 9 }\nTKey { key_id = 1 } { key_id = 8 }\nTKey { key_id = 2 }");
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 1);
    EXPECT_EQ(record<TKey>(1)->key_id, 2);
    EXPECT_TRUE(has_problem(1, "\"}\" outside a record"));
    EXPECT_TRUE(has_problem(2, "\"=\" outside a record"));
    EXPECT_TRUE(has_problem(3, "without a record type name"));
    EXPECT_TRUE(has_problem(4, "without a record type name"));
    EXPECT_EQ(problems.size(), 4u) << problem_texts();
}

TEST_F(DefinitionLoaderTest, BracketValuesTheFormatLeavesOpenTakeTheirPlainReading) {
    load(
        "TKey { key_id = [5] name = [x] }\n"  // one element: set like a plain value
        "TKey { key_id = [-3_-3] }\n"         // signs inside a range
        "TKey { key_id = [1, -2] }\n"         // a space and a sign inside a list
        "TKey { key_id = [] name = ok }\n");  // nothing to read
    ASSERT_EQ(count(), 5) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 5);
    EXPECT_EQ(record<TKey>(0)->name, "x");
    EXPECT_EQ(record<TKey>(1)->key_id, -3);
    EXPECT_EQ(record<TKey>(2)->key_id, 1);
    EXPECT_EQ(record<TKey>(3)->key_id, -2);
    EXPECT_EQ(record<TKey>(4)->name, "ok");
    EXPECT_TRUE(has_problem(4, "empty bracket value")) << problem_texts();
    EXPECT_EQ(problems.size(), 1u) << problem_texts();
}

TEST_F(DefinitionLoaderTest, AnUnclosedBracketStandsAloneAndKeepsTheNextPair) {
    int32_t expected = first_draw(5, 1, 9);
    load("TKey { key_id = [1_9 name = Bob }\nTKey { name = [\"a\" x = 3 }");
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, expected);
    EXPECT_EQ(record<TKey>(0)->name, "Bob");
    EXPECT_TRUE(has_problem(1, "no closing \"]\""));
    EXPECT_EQ(record<TKey>(1)->name, "a");
    EXPECT_TRUE(has_problem(2, "text list is not closed"));
}

TEST_F(DefinitionLoaderTest, ARangeForAKeyNamingNoFieldIsNotDrawn) {
    int32_t expected = first_draw(31, 1, 1000000);
    load("TKey { key_ld = [1_6] key_id = [1_1000000] }");
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(record<TKey>(0)->key_id, expected);
    EXPECT_TRUE(has_problem(1, "range not drawn")) << problem_texts();
}

TEST_F(DefinitionLoaderTest, ARecordWithoutItsClosingBraceIsNotAdded) {
    load("TKey { key_id = 1 }\nTKey {\n key_id = 2\n name = \"never closed }");
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(has_problem(4, "ends inside the TKey record begun on line 2")) << problem_texts();
    load("TFoo { name = x");
    EXPECT_TRUE(has_problem(1, "ends inside the record skipped on line 1")) << problem_texts();
}

TEST_F(DefinitionLoaderTest, AMapRecordIsRefused) {
    load("TKarte { }\nTKey { key_id = 1 }");
    ASSERT_EQ(count(), 1);
    EXPECT_NE(record<TKey>(0), nullptr);
    EXPECT_TRUE(has_problem(1, "TKarte record cannot come from a data file")) << problem_texts();
}

TEST_F(DefinitionLoaderTest, AnIncludeWithoutItsClosingBracketIsIgnored) {
    load("<nowhere/at all\nTKey { key_id = 1 }");
    ASSERT_EQ(count(), 1);
    EXPECT_TRUE(has_problem(1, "has no closing \">\"")) << problem_texts();
}

TEST_F(DefinitionLoaderTest, HugeNumbersWrapAndStrayBytesBreakNothing) {
    using namespace std::string_literals;
    load(
        "TKey { key_id = 4294967297 preis = [-2147483648_2147483647] }\n"
        "\x01\xff\xfe TKey { name = \"\xe4\" }\n"
        "TKey { key_id = 1 \0 name = lost }\nTKey { key_id = 2 }"s);
    ASSERT_EQ(count(), 4) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 1);
    EXPECT_EQ(record<TKey>(1)->name, "\xe4");
    EXPECT_EQ(record<TKey>(2)->key_id, 1);
    EXPECT_EQ(record<TKey>(2)->name, "lost");  // a NUL byte only ends a line
    EXPECT_EQ(record<TKey>(3)->key_id, 2);
}

// --- files ----------------------------------------------------------------------------------

// The game runs in its folder, and includes may not leave it: these tests run in theirs.
class DefinitionFileTest : public RecordTest {
protected:
    ScratchDir dir;
    WorkingDirectory here{dir.root()};
};

TEST_F(DefinitionFileTest, IncludesLoadAtTheirPlaceAndNestInRecordsOrder) {
    std::string inner = "deep/inner.bif";
    std::string middle = "middle.bif";
    dir.write(inner, "TKey { key_id = 3 }");
    dir.write(middle, "TKey { key_id = 2 }\n<" + inner +
                          ">\n"
                          "TKey { key_id = 4 }");
    std::string outer = dir.write("outer.bif", "TKey { key_id = 1 } <" + middle +
                                                   ">\n"
                                                   "TKey { name = <" +
                                                   inner + "> key_id = 5 }\n");
    problems = read_definitions(records, outer, 0);
    ASSERT_EQ(count(), 5) << problem_texts();
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(record<TKey>(i)->key_id, i + 1);
    // Inside a record body an include is only a value.
    EXPECT_EQ(record<TKey>(4)->name, "<deep");
    EXPECT_TRUE(problems.empty()) << problem_texts();
}

TEST_F(DefinitionFileTest, IncludeCyclesAreCutWithAWarning) {
    std::string a = "a.bif";
    std::string b = "b.bif";
    dir.write(b, "TKey { key_id = 2 }\n<" + a + ">\n");
    dir.write(a, "TKey { key_id = 1 }\n<" + b + ">\n<./a.bif>\n");
    problems = read_definitions(records, a, 0);
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(problems.size(), 2u) << problem_texts();
    EXPECT_TRUE(has_problem(2, "is already being read (an include cycle)")) << problem_texts();
    EXPECT_EQ(problems[0].file, b);
    EXPECT_EQ(problems[1].file, a);
}

TEST_F(DefinitionFileTest, IncludesNestedTooDeepAreCut) {
    for (int32_t i = 0; i < 20; ++i) {
        dir.write(
            "f" + std::to_string(i) + ".bif",
            "TKey { key_id = " + std::to_string(i) + " }\n<f" + std::to_string(i + 1) + ".bif>\n");
    }
    problems = read_definitions(records, dir.path("f0.bif"), 0);
    EXPECT_EQ(count(), kMaxIncludeDepth);
    ASSERT_EQ(problems.size(), 1u) << problem_texts();
    EXPECT_TRUE(has_problem(2, "nested deeper than 16"));
}

TEST_F(DefinitionFileTest, AMissingIncludeWarnsAndTheRestLoads) {
    std::string file = dir.write("main.bif", "<missing.bif>\nTKey { }\n");
    problems = read_definitions(records, file, 0);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(has_problem(1, "cannot open included file")) << problem_texts();
}

TEST_F(DefinitionFileTest, AnOffsetSkipsTheStartAndLinesStillCountFromTheTop) {
    std::string head = "80\n25\n1111\n";
    std::string file = dir.write("map.map", head + "TKey { key_id = 6 }\nTFoo { }\n");
    problems = read_definitions(records, file, static_cast<int32_t>(head.size()));
    ASSERT_EQ(count(), 1) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 6);
    EXPECT_TRUE(has_problem(5, "TFoo")) << problem_texts();
}

TEST_F(DefinitionFileTest, ProblemsGoToStandardErrorAndTheWorldNeverToStandardOutput) {
    std::string file = dir.write("bad.bif", "TKey { key_id = 1 }\nTFoo { }\n");
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(load_definitions(item_prototypes, file, 0), 0);
    EXPECT_EQ(load_definitions(item_prototypes, dir.path("absent.bif"), 0), 0);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(err.find(file + ":2: warning: unknown record type \"TFoo\""), std::string::npos);
    EXPECT_NE(err.find(dir.path("absent.bif") + ": warning: cannot open"), std::string::npos);
    EXPECT_EQ(item_prototypes->count(), 1);
    ASSERT_EQ(load_problems.size(), 2u);
    EXPECT_EQ(load_problems[0].line, 2);
}

}  // namespace
}  // namespace grotmere
