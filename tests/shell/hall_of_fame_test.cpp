#include "shell/hall_of_fame.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace grotmere {
namespace {

namespace fs = std::filesystem;

Score game(const std::string& ending, int64_t turns, int32_t xp, const std::string& date) {
    return Score{date, 7, ending, turns, 3, xp, 10, 4, "data1", "game.keys"};
}

TEST(HallOfFame, EscapesFirstByTurnsThenTheRestByExperience) {
    const std::vector<Score> scores{
        game("death", 900, 500, "2026-12-01"), game("escaped", 3000, 100, "2026-12-02"),
        game("escape", 50, 800, "2026-12-03"), game("escaped", 1200, 50, "2026-12-04"),
        game("death", 100, 500, "2026-11-30")};
    Score other_data = game("escaped", 10, 10, "2026-12-05");
    other_data.data_hash = "data2";
    std::vector<Score> all = scores;
    all.push_back(other_data);
    const std::vector<Score> best = best_scores(all, "data1", 4);
    ASSERT_EQ(best.size(), 4u);
    EXPECT_EQ(best[0].date, "2026-12-04");
    EXPECT_EQ(best[1].date, "2026-12-02");
    EXPECT_EQ(best[2].date, "2026-12-03");
    EXPECT_EQ(best[3].date, "2026-11-30") << "equal experience: the earlier game";
}

// What the writer writes, the reader reads; a tab in a field cannot break the line.
TEST(HallOfFame, LinesReadBackAndGarbageIsKeptButSkipped) {
    Score tabbed = game("death", 5, 6, "2026-12-07 10:00:00");
    tabbed.recording = "a\tb.keys";
    const std::optional<Score> back = read_score_line(score_line(tabbed));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->recording, "a b.keys");
    const ScoreList list =
        read_score_text("# header\n" + score_line(tabbed) + "\nnonsense\n\x01\x02\t9\n");
    EXPECT_EQ(list.scores.size(), 1u);
    EXPECT_EQ(list.unreadable, 2);
    EXPECT_EQ(list.lines.size(), 4u) << "nothing is lost when the list is written again";
}

// The list is replaced whole: a writer killed half way leaves only a temporary file beside it,
// which the next game does not read. A list that is a folder or too big is left alone.
TEST(HallOfFame, TheListIsWrittenWholeAndNeverOverAFolder) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_scores_" + std::to_string(::getpid()));
    fs::create_directories(root);
    const std::string path = (root / "scores").string();
    ASSERT_FALSE(add_score(path, game("death", 1, 2, "2026-12-07")));
    std::ofstream(root / ".scores.killed-writer") << "half a li";
    ASSERT_FALSE(add_score(path, game("escaped", 3, 4, "2026-12-08")));
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(read_score_text(text).scores.size(), 2u);

    fs::create_directories(root / "folder");
    EXPECT_TRUE(add_score((root / "folder").string(), game("death", 1, 2, "x")));
    EXPECT_TRUE(fs::is_directory(root / "folder"));
    fs::remove_all(root);
}

}  // namespace
}  // namespace grotmere
