#include "files/hall_of_fame.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "base/file_lock.hpp"
#include "base/safe_file.hpp"
#include "files/daily.hpp"
#include "files/user_data_folder.hpp"
#include "replay/data_hash.hpp"
#include "replay/recording.hpp"
#include "run/data_folder.hpp"

namespace grotmere {

namespace {

// Far more games than anyone plays; a list beyond it is left as it is.
constexpr size_t kLargestList = size_t{16} << 20;
// Lines written before dungeons had depths hold the first ten fields only.
constexpr size_t kFirstFields = 10;
constexpr size_t kFields = 13;
// More turns than a game played day and night for a thousand years has: a line beyond it was not
// written by a game.
constexpr int64_t kMostTurns = int64_t{1} << 40;
// Games ending at the same moment add their lines one after the other; one that waits longer
// than this for its turn gives up, with a warning, rather than hang the window.
constexpr int32_t kLockWaitMilliseconds = 5000;

std::vector<std::string_view> split(std::string_view line, char at) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t end; (end = line.find(at, start)) != std::string_view::npos; start = end + 1)
        parts.push_back(line.substr(start, end - start));
    parts.push_back(line.substr(start));
    return parts;
}

template <class Number>
bool read_number(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && error == std::errc{} && end == text.data() + text.size();
}

// A field holds no tab or line end: a name with one is written with spaces instead.
std::string plain(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text.empty() ? "-" : text;
}

// The magnitude is taken unsigned, so the lowest value has one too.
std::string with_commas(int64_t value) {
    const uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    for (int64_t at = int64_t(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(size_t(at), ",");
    return (value < 0 ? "-" : "") + digits;
}

void warn_of_unreadable_lines(const std::string& path, const ScoreList& list) {
    if (list.unreadable > 0)
        std::fprintf(stderr, "grotmere: warning: %s: %d lines cannot be read and are skipped\n",
                     path.c_str(), list.unreadable);
}

}  // namespace

std::string score_line(const Score& s) {
    return plain(s.date) + '\t' + std::to_string(s.seed) + '\t' + plain(s.ending) + '\t' +
           std::to_string(s.turns) + '\t' + std::to_string(s.level) + '\t' + std::to_string(s.xp) +
           '\t' + std::to_string(s.gold) + '\t' + std::to_string(s.slain) + '\t' +
           plain(s.data_hash) + '\t' + plain(s.recording) + '\t' + std::to_string(s.deepest) +
           '\t' + std::to_string(s.depths) + '\t' + plain(s.daily);
}

std::optional<Score> read_score_line(std::string_view line) {
    const std::vector<std::string_view> f = split(line, '\t');
    if (f.size() != kFields && f.size() != kFirstFields) return std::nullopt;
    Score s;
    s.date = f[0];
    s.ending = f[2];
    s.data_hash = f[8];
    s.recording = f[9];
    if (!read_number(f[1], s.seed) || !read_number(f[3], s.turns) || !read_number(f[4], s.level) ||
        !read_number(f[5], s.xp) || !read_number(f[6], s.gold) || !read_number(f[7], s.slain) ||
        s.date.empty() || s.ending.empty())
        return std::nullopt;
    if (f.size() == kFields) {
        s.daily = f[12];
        if (!read_number(f[10], s.deepest) || !read_number(f[11], s.depths) || s.daily.empty())
            return std::nullopt;
    }
    const bool counts_in_range = s.turns >= 0 && s.turns <= kMostTurns && s.level >= 0 &&
                                 s.xp >= 0 && s.gold >= 0 && s.slain >= 0 && s.deepest >= 0 &&
                                 s.depths >= 0 && s.deepest <= s.depths;
    if (!counts_in_range) return std::nullopt;
    return s;
}

bool ranks_before(const Score& a, const Score& b) {
    const bool a_out = a.ending == "escaped", b_out = b.ending == "escaped";
    if (a_out != b_out) return a_out;
    if (a_out && a.turns != b.turns) return a.turns < b.turns;
    if (!a_out && a.xp != b.xp) return a.xp > b.xp;
    return a.date < b.date;
}

ScoreList read_score_text(std::string_view text) {
    ScoreList list;
    for (std::string_view line : split(text, '\n')) {
        if (line.empty()) continue;
        list.lines.emplace_back(line);
        if (line.front() == '#') continue;
        if (auto score = read_score_line(line))
            list.scores.push_back(std::move(*score));
        else
            ++list.unreadable;
    }
    return list;
}

std::optional<std::string> scores_file() {
    const std::optional<std::string> home = user_data_folder();
    if (!home) return std::nullopt;
    return *home + "/scores";
}

std::optional<std::string> add_score(const std::string& path, const Score& score) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (std::string failure = make_folders(folder); !failure.empty()) return failure;
    // Read, add and replace as one step among all the games that end at once.
    // Without the lock the line is still added: a line of another game ending in the very same
    // moment may be lost then, but never this one.
    const FileLock lock = FileLock::take_within(path + ".lock", kLockWaitMilliseconds);
    if (!lock.held()) {
        std::fprintf(stderr, "grotmere: warning: %s.lock %s; the score is added without it\n",
                     path.c_str(),
                     lock.state() == FileLock::State::Busy ? "is held by another game for too long"
                                                           : lock.problem().c_str());
    }
    std::string problem;
    const std::optional<std::string> text = read_small_file(path, kLargestList, problem);
    if (!text) return path + " " + problem + "; this game's score is not added";
    ScoreList list = read_score_text(*text);
    warn_of_unreadable_lines(path, list);
    std::string written =
        list.lines.empty() ? "# date\tseed\tending\tturns\tlevel\texperience\tgold\tslain\tdata\t"
                             "recording\tdeepest\tdepths\tdaily\n"
                           : "";
    for (const std::string& line : list.lines)
        written += line + "\n";
    written += score_line(score) + "\n";
    std::string failure;
    if (!replace_file(path, written, failure)) return failure;
    return std::nullopt;
}

std::vector<Score> best_scores(const std::vector<Score>& scores, const std::string& data_hash,
                               size_t count) {
    std::vector<Score> best;
    for (const Score& score : scores)
        if (score.data_hash == data_hash) best.push_back(score);
    std::stable_sort(best.begin(), best.end(), ranks_before);
    if (best.size() > count) best.resize(count);
    return best;
}

std::vector<Score> best_of_day(const std::vector<Score>& scores, const std::string& day,
                               size_t count) {
    std::vector<Score> best;
    for (const Score& score : scores)
        if (score.daily == day) best.push_back(score);
    std::stable_sort(best.begin(), best.end(), ranks_before);
    if (best.size() > count) best.resize(count);
    return best;
}

std::string score_table(const std::vector<Score>& best) {
    std::string table;
    for (size_t k = 0; k < best.size(); ++k) {
        const Score& s = best[k];
        char line[200];
        std::snprintf(line, sizeof line, "%2zu. %-8s %7s turns  level %2d  xp %7s  gold %5s  %s",
                      k + 1, s.ending == "escaped" ? "escaped" : s.ending.c_str(),
                      with_commas(s.turns).c_str(), s.level, with_commas(s.xp).c_str(),
                      with_commas(s.gold).c_str(), s.date.substr(0, 10).c_str());
        table += line;
        if (s.depths > 0)
            table += "  depth " + std::to_string(s.deepest) + " of " + std::to_string(s.depths);
        table += "\n";
    }
    return table;
}

int print_scores(const std::optional<std::string>& dir, bool daily) {
    const DataFolderSearch search = find_data_folder(dir, data_folder_places());
    if (!search.found) {
        std::fprintf(stderr, "grotmere: %s\n", search.problem.c_str());
        return 2;
    }
    const std::optional<std::string> file = scores_file();
    std::string problem;
    const std::optional<std::string> text =
        file ? read_small_file(*file, size_t{16} << 20, problem) : std::string();
    if (!text) {
        std::fprintf(stderr, "grotmere: %s %s\n", file->c_str(), problem.c_str());
        return 1;
    }
    const ScoreList list = read_score_text(*text);
    if (file) warn_of_unreadable_lines(*file, list);
    if (daily) {
        const std::string day = utc_date_today();
        const std::vector<Score> best = best_of_day(list.scores, day, 10);
        if (best.empty()) std::printf("No daily game has ended on %s yet.\n", day.c_str());
        std::fputs(score_table(best).c_str(), stdout);
        return 0;
    }
    const std::vector<Score> best =
        best_scores(list.scores, data_files_hash((*search.found / "bifs").string()), 10);
    if (best.empty())
        std::printf("No game has ended on the data in %s yet.\n", search.found->c_str());
    std::fputs(score_table(best).c_str(), stdout);
    return 0;
}

}  // namespace grotmere
