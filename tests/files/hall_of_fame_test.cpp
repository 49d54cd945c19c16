#include "files/hall_of_fame.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "files/daily.hpp"

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

    // Counts no game can have are skipped; whatever a table shows prints right.
    for (const char* bad : {"\t7\tdeath\t-5\t3\t1\t1\t1\td\t-", "\t7\tdeath\t5\t3\t-1\t1\t1\td\t-",
                            "\t7\tdeath\t9223372036854775807\t3\t1\t1\t1\td\t-",
                            "\t7\tdeath\t5\t3\t1\t1\t-2147483648\td\t-"})
        EXPECT_FALSE(read_score_line(std::string("2026-12-07") + bad)) << bad;
    Score lowest = game("death", INT64_MIN, INT32_MIN, "2026-12-07");
    EXPECT_NE(score_table({lowest}).find("-9,223,372,036,854,775,808 turns"), std::string::npos)
        << score_table({lowest});
    EXPECT_NE(score_table({lowest}).find("xp -2,147,483,648"), std::string::npos);
}

// A daily game is marked with its day and its depth; the day's best are its daily games alone,
// and lines written before there were depths still read.
TEST(HallOfFame, DailyGamesAreMarkedAndRankedAmongTheDay) {
    Score daily = game("escaped", 2140, 900, "2026-12-09 10:00:00");
    daily.deepest = 5;
    daily.depths = 5;
    daily.daily = "2026-12-09";
    EXPECT_EQ(read_score_line(score_line(daily)), daily);
    const std::string old_line = "2026-12-01\t7\tdeath\t5\t3\t1\t1\t1\td\t-";
    ASSERT_TRUE(read_score_line(old_line));
    EXPECT_EQ(read_score_line(old_line)->daily, "-");
    Score other_day = daily;
    other_day.daily = "2026-12-08";
    const std::vector<Score> best =
        best_of_day({game("escaped", 10, 1, "2026-12-09"), other_day, daily}, "2026-12-09", 10);
    ASSERT_EQ(best.size(), 1u);
    EXPECT_EQ(best[0], daily);
    EXPECT_NE(score_table(best).find("depth 5 of 5"), std::string::npos);
    EXPECT_EQ(daily_seed("2026-12-09"), 20261209);
    EXPECT_EQ(daily_result_line("2026-12-09", "escaped", 5, 2140, 7),
              "Grotmere daily 2026-12-09: escaped at depth 5, turn 2,140, level 7");
}

// Forty games ending in the same moment on one list: each reads, adds its line and replaces the
// list in turn, so every line is kept.
TEST(HallOfFame, GamesEndingAtOnceKeepEveryLine) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_scores_at_once_" + std::to_string(::getpid()));
    fs::create_directories(root);
    const std::string path = (root / "scores").string();
    std::string long_list;
    for (int32_t k = 0; k < 2000; ++k)
        long_list += score_line(game("death", k, k, "2026-01-01")) + "\n";
    std::ofstream(path) << long_list;
    constexpr int32_t kGames = 40;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> games;
    for (int32_t k = 0; k < kGames; ++k) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            char go;
            ::close(start[1]);
            // Every game waits for the same moment to end.
            const bool began = ::read(start[0], &go, 1) == 0;
            ::_exit(began && !add_score(path, game("escaped", 100 + k, k, "2026-12-08")) ? 0 : 1);
        }
        games.push_back(pid);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (pid_t pid : games) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(read_score_text(text).scores.size(), 2000u + kGames);
    fs::remove_all(root);
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
