#include "files/morgue.hpp"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "actors/buff.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "base/text.hpp"
#include "records/field_registry.hpp"
#include "view/player_knowledge.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

std::string ending_line(const std::string& hero, const std::string& ending) {
    if (ending == "death") {
        const std::string& cause = world_state.chronicle.last_harm;
        return hero + " was killed by " + with_article(cause) + ".";
    }
    if (ending == "escape") return hero + " quit the game.";
    if (ending == "close") return hero + " left the game: the window was closed.";
    if (ending == "escaped") return hero + " escaped from the dungeon!";
    return hero + " was still in the dungeon when the recording ended.";
}

void add(std::string& text, const std::string& line) {
    text += line;
    text += '\n';
}

std::string light_line(const TLeuchte& light) {
    std::string line = "  Light: " + light.name;
    if (light.brenndauer >= 0) line += " (" + int_to_text(light.brenndauer) + " turns left)";
    return line;
}

void equipment(std::string& text) {
    add(text, "Equipment:");
    add(text, "  Weapon: " + (player->waffe ? player->waffe->name : std::string("none")));
    add(text, "  Armour: " + (player->panzer ? player->panzer->name : std::string("none")));
    add(text, player->leuchte ? light_line(*player->leuchte) : "  Light: none");
}

void inventory(std::string& text) {
    add(text, "Inventory:");
    bool any = false;
    for (int32_t slot = 1; player->inventory && slot <= kInventorySlots; ++slot) {
        const auto& item = (*player->inventory)[static_cast<size_t>(slot - 1)];
        if (!item) continue;
        add(text,
            "  " + int_to_text(slot) + ". " + item->name + " (" + int_to_text(item->anzahl) + ")");
        any = true;
    }
    if (!any) add(text, "  (empty)");
}

// Silent corrections are the upkeep's own and not an effect the player has.
void effects(std::string& text) {
    add(text, "Active effects:");
    bool any = false;
    if (player->buffs) {
        player->buffs->for_each_of<TBuff>([&](std::shared_ptr<TBuff>& buff) {
            if (buff->silent != 0 || buff->variable == nullptr) return;
            std::string line =
                "  " + buff->variable->Name() + " " + buff->operand + int_to_text(buff->wert);
            if (buff->multi == 1) line += " every turn";
            add(text, line + ", " + int_to_text(buff->wirkzeit) + " turns left");
            any = true;
        });
    }
    if (!any) add(text, "  (none)");
}

void kills(std::string& text) {
    add(text, "Monsters slain:");
    for (const auto& [name, count] : world_state.chronicle.kills)
        add(text, "  " + name + " x" + int_to_text(count));
    if (world_state.chronicle.kills.empty()) add(text, "  (none)");
}

// A closed door is never seen itself, since it blocks the view; it is known beside a tile seen.
char seen_glyph(const TKartenTile& tile, int32_t x, int32_t y) {
    if (const TDoor* door = known_door(x, y)) return door->open != 0 ? '/' : '+';
    return tile.ID == TKarte::MAP_SOLID ? '#' : '.';
}

// Sight never rests on a wall itself, so the walls shown are those beside a tile seen.
bool wall_beside_seen(int32_t x, int32_t y) {
    const TKartenTile* tile = tile_grid.at(x, y);
    if (tile == nullptr || tile->ID != TKarte::MAP_SOLID) return false;
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            const TKartenTile* near = map_tile(x + dx, y + dy);
            if (near != nullptr && near->erfasst != 0) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> seen_map_rows() {
    const int32_t width = std::clamp(map_width, 0, kGridSize);
    const int32_t height = std::clamp(map_height, 0, kGridSize);
    std::vector<std::string> rows(static_cast<size_t>(height), std::string(width, ' '));
    int32_t left = width, right = -1, top = height, bottom = -1;
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            if (tile->erfasst == 0 && !wall_beside_seen(x, y) && !known_door(x, y)) continue;
            rows[y][x] = seen_glyph(*tile, x, y);
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    auto mark = [&](int32_t x, int32_t y, char glyph) {
        if (x >= left && x <= right && y >= top && y <= bottom) rows[y][x] = glyph;
    };
    treasures->for_each_of<TTreasure>(
        [&](std::shared_ptr<TTreasure>& heap) { mark(heap->x, heap->y, 'T'); });
    if (player) mark(player->x, player->y, 'Q');
    if (right < 0) return {};
    std::vector<std::string> seen;
    for (int32_t y = top; y <= bottom; ++y) {
        std::string row = rows[y].substr(left, right - left + 1);
        row.erase(row.find_last_not_of(' ') + 1);
        seen.push_back(row);
    }
    return seen;
}

std::string morgue_text(const MorgueFacts& facts) {
    std::string text;
    const std::string hero = player ? player->name : std::string("The player");
    add(text, "Grotmere morgue file");
    add(text, "Date: " + facts.date);
    add(text, "Build: " + app_title);
    add(text, "Seed: " + int_to_text(facts.seed));
    if (!facts.data_folder.empty()) add(text, "Data: " + facts.data_folder);
    if (!facts.dungeon.empty()) add(text, "Dungeon: " + facts.dungeon);
    if (!facts.daily.empty()) add(text, "Daily dungeon: " + facts.daily);
    if (!facts.depth.empty()) add(text, "Deepest depth reached: " + facts.depth);
    if (!facts.recording.empty()) add(text, "Recording: " + facts.recording);
    add(text, "");
    add(text, ending_line(hero, facts.ending));
    add(text,
        "Turns: " + std::to_string(facts.turns) + "  Passes: " + std::to_string(facts.passes));
    if (player) {
        add(text, "Level: " + int_to_text(player->level) + "  Experience: " +
                      int_to_text(player->xp) + "  Gold: " + int_to_text(player->gold) +
                      "  Health: " + int_to_text(player->actual("hp")) + "/" +
                      int_to_text(player->actual("hpmax")));
        add(text, "");
        equipment(text);
        add(text, "");
        inventory(text);
        add(text, "");
        effects(text);
    }
    add(text, "");
    kills(text);
    add(text, "");
    add(text, "Last messages, oldest first:");
    for (const std::string& line : facts.last_lines)
        add(text, "  " + line);
    add(text, "");
    add(text, "The map as seen ('#' wall, '.' floor, '+' door, '/' open door, 'T' heap, 'Q' you):");
    for (const std::string& row : seen_map_rows())
        add(text, "  " + row);
    return text;
}

std::optional<std::string> write_morgue(const OutputTarget& target, const std::string& text) {
    WrittenFile file = open_output(target);
    if (file.append(text) && file.finish()) return file.path();
    std::fprintf(stderr, "grotmere: warning: no morgue file: %s\n", file.failure().c_str());
    return std::nullopt;
}

std::vector<std::string> recent_log_lines() {
    std::vector<std::string> lines;
    const size_t count = message_history.size();
    for (size_t i = count > kMorgueLogLines ? count - kMorgueLogLines : 0; i < count; ++i)
        lines.push_back(message_history.line(i));
    return lines;
}

std::string local_time_text() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    return stamp;
}

}  // namespace grotmere
