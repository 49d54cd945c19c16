// The files the game writes and reads back (recordings, morgue files, the list of started
// folders), tried as a hostile user and an unlucky one would.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <set>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/safe_file.hpp"
#include "files/first_start.hpp"
#include "replay/key_script.hpp"
#include "replay/recording.hpp"
#include "shell/game_options.hpp"
#include "shell/simulator.hpp"
#include "tests/support/simulator_run.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;
using HostileFiles = testing::SimulatorRun;
using testing::SimRun;

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process; its exit status.
template <typename Body>
int in_child(Body body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(HostileFiles, ARecordingOrMorgueReplacesOnlyOneOfOurs) {
    const std::string data = std::string(GROTMERE_SOURCE_DIR) + "/bifs/";
    const std::string map = read(data + "karte2.map");
    EXPECT_EQ(run("--passes 1 --record " + data + "karte2.map").status, kUsageError);
    EXPECT_EQ(run("--passes 1 --morgue " + data + "new.txt").status, kUsageError);
    EXPECT_EQ(read(data + "karte2.map"), map);
    EXPECT_FALSE(fs::exists(data + "new.txt"));
    const fs::path notes = write("notes.txt", "my notes\n");
    const SimRun refused = run_for_errors("--passes 1 --record " + notes.string());
    EXPECT_EQ(refused.status, kUsageError);
    EXPECT_NE(refused.out.find("is no recording of this game"), std::string::npos) << refused.out;
    EXPECT_EQ(run("--passes 1 --morgue " + notes.string()).status, kUsageError);
    EXPECT_EQ(read(notes), "my notes\n");

    const std::string files =
        " --record " + (dir_ / "r.keys").string() + " --morgue " + (dir_ / "m.txt").string();
    ASSERT_EQ(run("--passes 3" + files).status, 0);
    ASSERT_EQ(run("--passes 5" + files).status, 0) << "our own files are replaced";
    EXPECT_NE(read(dir_ / "r.keys").find("\ncheck 5 "), std::string::npos);
    EXPECT_NE(read(dir_ / "m.txt").find("Passes: 5"), std::string::npos);
    EXPECT_EQ(names_in(dir_), (std::vector<std::string>{"m.txt", "notes.txt", "r.keys"}))
        << "no temporary file is left beside them";
}

// Two games started in one second with one seed choose the same name.
TEST_F(HostileFiles, TwoGamesOfTheSameNameKeepARecordingEach) {
    const std::string folder = (dir_ / "recordings").string();
    auto game = [&](int32_t key) {
        return [&, key] {
            GameRecorder recorder;
            if (!recorder.open(create_unique_file(folder, "2026-12-07_14-05-09_seed42", ".keys"),
                               42, "b", "h"))
                return 1;
            for (int32_t pass = 0; pass < 500; ++pass) {
                recorder.pressed(key), recorder.released(key);
                recorder.end_pass();
            }
            return recorder.close() ? 0 : 1;
        };
    };
    const pid_t first = ::fork();
    if (first == 0) ::_exit(game('A')());
    EXPECT_EQ(in_child(game('B')), 0);
    int status = -1;
    ::waitpid(first, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(names_in(folder), (std::vector<std::string>{"2026-12-07_14-05-09_seed42-2.keys",
                                                          "2026-12-07_14-05-09_seed42.keys"}));
    std::set<int32_t> keys;
    for (const std::string& name : names_in(folder)) {
        ScriptParse parsed = parse_key_script(read(folder + "/" + name));
        ASSERT_FALSE(parsed.error) << name;
        EXPECT_EQ(parsed.script.total_passes(), 500);
        keys.insert(parsed.script.input_for_pass(499).at(0).code);
    }
    EXPECT_EQ(keys, (std::set<int32_t>{'A', 'B'}));
}

TEST_F(HostileFiles, ARecordingCutInsideALinePlaysItsWholeLines) {
    const fs::path keys = write("keys", "right\n+lshift\nleft\n-lshift\n");
    ASSERT_EQ(run("--keys " + keys.string() + " --record " + (dir_ / "r.keys").string()).status, 0);
    std::string text = read(dir_ / "r.keys");
    text.resize(text.find("-lshift") + 2);  // "-l" would read as a key of its own
    const fs::path cut = write("cut.keys", text);
    const SimRun played = run_for_errors("--keys " + cut.string() + " " + out_args());
    EXPECT_EQ(played.status, 0);
    EXPECT_NE(played.out.find("ends inside line 7"), std::string::npos) << played.out;
    EXPECT_EQ(dump()["passes"], 3);

    // A write cut short by a full disk is taken back: the file ends after a whole line.
    const std::string path = (dir_ / "full.keys").string();
    EXPECT_EQ(in_child([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit small{100, 100};
                  ::setrlimit(RLIMIT_FSIZE, &small);
                  WrittenFile file = create_new_file(path);
                  return file.append(std::string(59, 'a') + "\n") &&
                                 !file.append(std::string(59, 'b') + "\n")
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(read(path), std::string(59, 'a') + "\n");
}

// Keys piling up during a stall: what the writer writes, the reader reads.
TEST_F(HostileFiles, APassOfThousandsOfKeysRoundTrips) {
    GameRecorder recorder;
    ASSERT_TRUE(recorder.open(create_new_file((dir_ / "r.keys").string()), 1, "b", "h"));
    PassInput expected;
    for (int32_t i = 0; i < 3000; ++i) {
        const int32_t code = 1 + i % 255;
        recorder.pressed(code);
        if (i % 2 != 0) recorder.released(code);
        expected.push_back({i % 2 != 0 ? InputEvent::Kind::Hit : InputEvent::Kind::Press, code});
    }
    recorder.end_pass();
    recorder.end_pass();
    ASSERT_TRUE(recorder.close());
    const std::string text = read(dir_ / "r.keys");
    ScriptParse parsed = parse_key_script(text);
    ASSERT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;
    EXPECT_EQ(parsed.script.total_passes(), 2);
    const PassInput played = parsed.script.input_for_pass(0);
    ASSERT_EQ(played.size(), expected.size());
    for (size_t i = 0; i < played.size(); ++i) {
        EXPECT_EQ(played[i].kind, expected[i].kind) << i;
        EXPECT_EQ(played[i].code, expected[i].code) << i;
    }
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 5) << "the pass goes on over lines";
}

TEST_F(HostileFiles, OptionsThatContradictOrCollideAreUsageErrors) {
    const std::string file = (dir_ / "x").string();
    for (const std::string& pair :
         {"--record " + file + " --morgue " + file, "--record " + file + " --dump " + file,
          "--morgue " + file + " --screenshot " + file}) {
        EXPECT_EQ(run("--passes 1 " + pair).status, kUsageError) << pair;
    }
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--record", "x", "--morgue", "./x"},
                                               {"--speed", "2"},
                                               {"--replay", "r", "--record", "x"},
                                               {"--replay", "r", "--morgue", "x"},
                                               {"--record", "x", "--no-record"},
                                               {"--continue", "--replay", "r"},
                                               {"--continue", "--classic"},
                                               {"--continue", "--no-record"},
                                               {"--continue", "--record", "x"}}) {
        EXPECT_TRUE(parse_game_args(bad).usage_error) << bad[0] << " " << bad[1];
    }
}

// The window reads a recording before it opens, with the simulator's bounds.
TEST_F(HostileFiles, AReplayThatIsAFolderOrEndlessIsAUsageError) {
    for (const std::string& bad : {dir_.string(), std::string("/dev/zero")}) {
        const SimRun game = testing::run_command(
            "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= " + std::string(GROTMERE_GAME) +
            " --replay " + bad + " 2>&1");
        EXPECT_EQ(game.status, 2) << bad;
        EXPECT_NE(game.out.find(bad.starts_with("/dev") ? "larger than" : "is a folder"),
                  std::string::npos)
            << game.out;
    }
}

// The largest script of one-key lines: its peak memory stays within twice its size.
TEST_F(HostileFiles, TheLargestScriptNeedsAtMostTwiceItsSize) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own bookkeeping is no measure of the game's";
#endif
    std::string lines;
    lines.reserve(kLargestKeyScript);
    while (lines.size() + 2 <= kLargestKeyScript)
        lines += "a\n";
    const fs::path keys = write("big.keys", lines);
    lines = std::string();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(GROTMERE_SIM, GROTMERE_SIM, "--dir", GROTMERE_SOURCE_DIR, "--keys", keys.c_str(),
                "--passes", "1", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = -1;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_LT(usage.ru_maxrss * 1024L, 2 * static_cast<long>(kLargestKeyScript) + (24L << 20))
        << "peak " << usage.ru_maxrss << " KiB";
}

TEST_F(HostileFiles, AStartedFoldersListThatIsNoPlainFileIsLeftAlone) {
    const fs::path fifo = dir_ / "fifo", link = dir_ / "zero", big = dir_ / "big";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", link);
    write("big", std::string((1 << 20) + 1, '\n'));
    ::testing::internal::CaptureStderr();
    for (const fs::path& list : {fifo, link, big})
        EXPECT_TRUE(first_start_in(dir_, list)) << list;
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("is no regular file"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("is larger than"), std::string::npos) << warnings;
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::file_size(big), (1u << 20) + 1);
}

TEST_F(HostileFiles, ALinkPlantedUnderTheNextNameIsSkipped) {
    const fs::path target = write("target", "precious\n");
    fs::create_symlink(target, dir_ / "game.keys");
    WrittenFile file = create_unique_file(dir_.string(), "game", ".keys");
    ASSERT_TRUE(file.append("seed 1\n") && file.finish());
    EXPECT_EQ(file.path(), (dir_ / "game-2.keys").string());
    EXPECT_EQ(read(target), "precious\n");
    EXPECT_EQ(run("--passes 1 --record " + (dir_ / "game.keys").string()).status, kUsageError)
        << "a link named on the command line is refused";
    EXPECT_EQ(read(target), "precious\n");
}

// A game folder of its own, with a copy of the shipped data.
class HostileRecordings : public HostileFiles {
protected:
    fs::path game() {
        const fs::path folder = dir_ / "game";
        fs::create_directories(folder);
        fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "bifs", folder / "bifs");
        fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "build.cnt", folder / "build.cnt");
        return folder;
    }
    void edit(const fs::path& file, const std::string& from, const std::string& to) {
        std::string text = read(file);
        ASSERT_NE(text.find(from), std::string::npos);
        text.replace(text.find(from), from.size(), to);
        std::ofstream(file, std::ios::binary) << text;
    }
};

TEST_F(HostileRecordings, PlayingOnOtherDataWarnsAndADivergenceNamesItsPass) {
    const fs::path folder = game();
    const std::string in_game = " --dir " + folder.string();
    const fs::path keys = write("keys", "pass 150\nright\npass 100\n");
    const fs::path recording = dir_ / "r.keys";
    ASSERT_EQ(run("--keys " + keys.string() + " --record " + recording.string() + in_game).status,
              0);
    EXPECT_EQ(run_for_errors("--keys " + recording.string() + in_game).out, "");

    // A copy with CR LF line ends is the same data.
    std::string bindings = read(folder / "bifs/Tastatur.bif"), crlf;
    for (char c : bindings)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::ofstream(folder / "bifs/Tastatur.bif", std::ios::binary) << crlf;
    EXPECT_EQ(run_for_errors("--keys " + recording.string() + in_game).out, "");

    edit(folder / "bifs/Tastatur.bif", "go_right = 39", "go_right = 68");
    const SimRun diverged = run_for_errors("--keys " + recording.string() + in_game);
    EXPECT_EQ(diverged.status, kDiverges);
    EXPECT_NE(diverged.out.find("was played on other data files"), std::string::npos);
    // The bindings are part of the state each checkpoint holds: the first one sees them changed.
    EXPECT_NE(diverged.out.find("recording diverges at pass 100: "), std::string::npos)
        << diverged.out;

    // Without its seed line a recording is played with seed 1, and says so.
    std::string text = read(recording);
    const fs::path seedless = write("seedless.keys", text.substr(text.find('\n') + 1));
    EXPECT_NE(run_for_errors("--keys " + seedless.string()).out.find("names no seed"),
              std::string::npos);
}

TEST_F(HostileFiles, ARecordingThatCannotBeWrittenIsNamedOnceAndNeverAsWritten) {
    write("file", "x");
    GameRecorder recorder;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(recorder.open(create_unique_file((dir_ / "file" / "sub").string(), "g", ".keys"),
                               1, "b", "h"));
    recorder.end_pass();
    EXPECT_FALSE(recorder.close());
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("Not a directory"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << "said once: " << warnings;
    EXPECT_FALSE(recorder.written_path());
}

}  // namespace
}  // namespace grotmere
