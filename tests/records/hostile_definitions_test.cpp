// Data files written by a hostile or careless author: huge lists, lost quotes, numbers beyond 32
// bits, includes that reach outside the game's folder, names of records only the game makes.
// Each loads in bounded time, keeps what the rules give, and says what was wrong with file and
// line.
#include <gtest/gtest.h>

#include <chrono>

#include "actors/waffe.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/time_bound.hpp"
#include "world/key.hpp"

namespace grotmere {
namespace {

using testing::RecordTest;
using testing::ScratchDir;
using testing::WorkingDirectory;

class HostileDefinitionsTest : public RecordTest {
protected:
    double seconds_to_load(const std::string& text) {
        auto start = std::chrono::steady_clock::now();
        load(text);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

TEST_F(HostileDefinitionsTest, ListsOfManyElementsLoadInTimeLinearInTheirLength) {
    constexpr int32_t kElements = 100000;
    std::string plain = "TKey { key_id = [";
    std::string spaced = "TKey { key_id = [";
    std::string texts = "TKey { name = [";
    for (int32_t i = 1; i <= kElements; ++i) {
        plain += std::to_string(i) + (i < kElements ? "," : "] }\n");
        spaced += std::to_string(i) + (i < kElements ? ", " : "] }\n");
        if (i <= kElements / 5)
            texts += "\"t" + std::to_string(i) + (i < kElements / 5 ? "\"," : "\"] }\n");
    }
    EXPECT_LT(seconds_to_load(plain + spaced + texts), testing::seconds_allowed(10.0));
    ASSERT_EQ(count(), 2 * kElements + kElements / 5) << problem_texts().substr(0, 500);
    EXPECT_EQ(record<TKey>(kElements - 1)->key_id, kElements);
    EXPECT_EQ(record<TKey>(2 * kElements - 1)->key_id, kElements);
    EXPECT_EQ(record<TKey>(2 * kElements + 6)->name, "t7");
    EXPECT_TRUE(problems.empty()) << problem_texts().substr(0, 500);
}

TEST_F(HostileDefinitionsTest, AQuotedTextLeftOpenSaysWhereItBegan) {
    load(
        "TKey { key_id = 1 }\n"
        "TKey { name = \"Sword\n"
        "  key_id = 2\n"
        "}\n"
        "TKey { name = \"Axe\" key_id = 3 }\n"
        "TKey { name = \"Bow\" key_id = 4 }\n");
    EXPECT_TRUE(has_problem(2, "quoted text begun here runs on to line 5")) << problem_texts();
    // A text that only runs over lines is fine.
    records.clear();
    load("TKey { name = \"two\n lines\" }");
    EXPECT_TRUE(problems.empty()) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->name, "twolines");
    load("TKey { name = \"never closed\n key_id = 2 }\n");
    EXPECT_TRUE(has_problem(2, "ends inside the quoted text begun on line 1")) << problem_texts();
}

TEST_F(HostileDefinitionsTest, NumbersBeyondThirtyTwoBitsKeepTheirWrappedValueAndWarn) {
    load(
        "TKey { key_id = 2147483648 }\n"
        "TKey { key_id = -2147483648 preis = $FFFFFFFF }\n"
        "TKey { key_id = 1000000000000000000000000000000 }\n"
        "TKey { key_id = [1_9223372036854775808] }\n"
        "TKey { key_id = [1,4294967297,4294967298] }\n");
    ASSERT_EQ(count(), 7);
    EXPECT_EQ(record<TKey>(0)->key_id, INT32_MIN);
    EXPECT_EQ(record<TKey>(1)->key_id, INT32_MIN);
    EXPECT_EQ(record<TKey>(1)->preis, -1);
    EXPECT_EQ(record<TKey>(5)->key_id, 1);
    EXPECT_TRUE(has_problem(1,
                            "\"2147483648\" for \"key_id\" lies outside the 32-bit range; it "
                            "is kept as -2147483648"))
        << problem_texts();
    EXPECT_TRUE(has_problem(3, "lies outside the 32-bit range")) << problem_texts();
    EXPECT_TRUE(has_problem(4, "\"9223372036854775808]\"")) << problem_texts();
    EXPECT_TRUE(has_problem(5, "\"4294967297\"")) << problem_texts();
    EXPECT_EQ(problems.size(), 4u) << problem_texts();
}

TEST_F(HostileDefinitionsTest, ASignWaitsForAPlainValue) {
    load("TWaffe { name = - \"x\" preis = - [3_3] dmg = - [4] reichweite = 2 }");
    auto weapon = record<TWaffe>(0);
    ASSERT_NE(weapon, nullptr);
    EXPECT_EQ(weapon->name, "x");
    EXPECT_EQ(weapon->preis, 3);
    EXPECT_EQ(weapon->dmg, 4);
    EXPECT_EQ(weapon->reichweite, -2);
}

TEST_F(HostileDefinitionsTest, ARangeWithoutANumberReadsAsZeroAndIsTold) {
    load("TWaffe { dmg = [_]\n preis = [a_b] reichweite = [2_2] }");
    auto weapon = record<TWaffe>(0);
    ASSERT_NE(weapon, nullptr);
    EXPECT_EQ(weapon->dmg + weapon->preis, 0);
    ASSERT_EQ(problems.size(), 2u) << problem_texts();
    EXPECT_EQ(problems[1].line, 2);
    EXPECT_NE(problem_texts().find("the range \"[a_b]\" has a bound that holds no number"),
              std::string::npos);
}

TEST_F(HostileDefinitionsTest, CamerasAndTheMapNeverComeFromDataAndAreNamedOnce) {
    const int32_t cameras_before = cameras->count();
    std::string text;
    for (int32_t i = 0; i < 200000; ++i)
        text += "TKamera ";
    text += "\nTKamera { cam_x = 3 }\nTKarte { }\nTKarte { }\nTKey { key_id = 1 }\n";
    EXPECT_LT(seconds_to_load(text), testing::seconds_allowed(10.0));
    EXPECT_EQ(cameras->count(), cameras_before);
    ASSERT_EQ(count(), 1);
    ASSERT_EQ(problems.size(), 2u) << problem_texts().substr(0, 500);
    EXPECT_TRUE(has_problem(1, "a TKamera record cannot come from a data file")) << problem_texts();
    EXPECT_TRUE(has_problem(3, "a TKarte record cannot come from a data file")) << problem_texts();
}

TEST_F(HostileDefinitionsTest, AHugeWordIsCutInTheWarningThatNamesIt) {
    const std::string word(1 << 20, 'w');
    load("TKey { " + word + " = 5 }\n" + word + " { }\n");
    ASSERT_EQ(problems.size(), 2u);
    for (const LoadProblem& problem : problems) {
        EXPECT_LT(problem.to_text().size(), 200u);
        EXPECT_NE(problem.message.find("(1048576 characters)"), std::string::npos);
    }
}

TEST_F(HostileDefinitionsTest, AFileOfManyMistakesTellsTheFirstHundredAndCountsTheRest) {
    std::string text;
    for (int32_t i = 0; i < 150; ++i)
        text += "TKey { nothing = 1 }\n";
    load(text);
    ASSERT_EQ(problems.size(), static_cast<size_t>(kMostWarningsPerFile) + 1);
    EXPECT_TRUE(has_problem(100, "TKey has no field \"nothing\"")) << problem_texts();
    EXPECT_EQ(problems.back().to_text(), "test.bif: warning: 50 more problems are not shown");
    EXPECT_EQ(count(), 150);
}

class HostileIncludesTest : public RecordTest {
protected:
    ScratchDir dir;
    ScratchDir elsewhere;
    WorkingDirectory here{dir.root()};
};

TEST_F(HostileIncludesTest, AnIncludeEndsOnItsOwnLine) {
    dir.write("other.bif", "TKey { key_id = 2 }");
    std::string file = dir.write("main.bif", "<missing.bif\n<other.bif>\nTKey { key_id = 3 }\n");
    problems = read_definitions(records, file, 0);
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TKey>(0)->key_id, 2);
    ASSERT_EQ(problems.size(), 1u) << problem_texts();
    EXPECT_TRUE(has_problem(1, "the include \"<missing.bif\" has no closing \">\" on its line"))
        << problem_texts();
}

TEST_F(HostileIncludesTest, IncludesOutsideTheGamesFolderAreRefused) {
    const std::string outside = elsewhere.write("outside.bif", "TKey { key_id = 9 }");
    const std::string up = "../" + elsewhere.root().filename().string() + "/outside.bif";
    dir.write("sub/inside.bif", "TKey { key_id = 1 }");
    std::string file = dir.write("main.bif", "<" + outside + ">\n<" + up +
                                                 ">\n</etc/passwd>\n<sub/../sub/inside.bif>\n<" +
                                                 dir.path("sub/inside.bif") + ">\n");
    problems = read_definitions(records, file, 0);
    ASSERT_EQ(count(), 2) << problem_texts();
    EXPECT_EQ(record<TKey>(1)->key_id, 1);
    for (int32_t line = 1; line <= 3; ++line)
        EXPECT_TRUE(has_problem(line, "lies outside the game's folder; refused"))
            << problem_texts();
    EXPECT_EQ(problems.size(), 3u) << problem_texts();
}

}  // namespace
}  // namespace grotmere
