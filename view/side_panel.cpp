#include "view/side_panel.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "base/text.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "records/field_registry.hpp"
#include "world/door.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kTextX = kSidePanelLeft + 8;
constexpr int32_t kNameX = kTextX + 16;
constexpr int32_t kLineHeight = 10;
constexpr int32_t kFirstLine = 4;
// The last line is kept for the hint.
constexpr int32_t kLastLine = kSidePanelBottom - 2 * kLineHeight;
// How far around the player doors are looked for: sight reaches 5 tiles, a door stands beside
// the last seen tile.
constexpr int32_t kDoorReach = 6;

// One line of the panel: an optional glyph in its map colour, then the text in its colour.
struct PanelLine {
    std::string text;
    Rgb colour{220, 220, 220};
    char glyph = 0;
    Rgb glyph_colour{};
    bool heading = false;
};
using PanelLines = std::vector<PanelLine>;

PanelLine heading(const std::string& text) {
    return PanelLine{.text = text, .colour = {255, 255, 160}, .heading = true};
}

PanelLine entry(char glyph, Rgb colour, const std::string& text) {
    return PanelLine{.text = text, .glyph = glyph, .glyph_colour = colour};
}

// Headings stand apart by half a line.
int32_t height_of(const PanelLines& lines) {
    int32_t height = 0;
    for (const PanelLine& line : lines)
        height += kLineHeight + (line.heading ? kLineHeight / 2 : 0);
    return height;
}

void draw_lines(const PanelLines& lines, int32_t& y) {
    for (const PanelLine& line : lines) {
        if (line.heading && y > kFirstLine) y += kLineHeight / 2;
        if (line.glyph != 0) {
            set_color(line.glyph_colour.r, line.glyph_colour.g, line.glyph_colour.b);
            draw_text(std::string(1, line.glyph), kTextX, y);
        }
        set_color(line.colour.r, line.colour.g, line.colour.b);
        draw_text(line.text, line.heading ? kTextX : kNameX, y);
        y += kLineHeight;
    }
}

// Asked for every monster and heap of the map in every frame: the marks of the cells seen since
// the last darkening answer for most of them without their tiles.
const TKartenTile* seen_tile(int32_t x, int32_t y) {
    if (!tile_tracking.may_be_seen(x, y)) return nullptr;
    const TKartenTile* tile = map_tile(x, y);
    return tile && tile->sichtbar != 0 ? tile : nullptr;
}

bool beside_player(int32_t x, int32_t y) {
    return std::llabs(int64_t{x} - player->x) <= 1 && std::llabs(int64_t{y} - player->y) <= 1;
}

// A closed door is never seen itself, since it blocks the view; it shows when a tile beside it is.
bool door_in_view(int32_t x, int32_t y) {
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if (seen_tile(x + dx, y + dy)) return true;
        }
    }
    return false;
}

std::string door_state(const TDoor& door) {
    if (door.open != 0) return "An open door";
    return door.locked != 0 ? "A locked door" : "A closed door";
}

// "1 turn", "5 turns".
std::string turns(int32_t count) {
    return int_to_text(count) + (count == 1 ? " turn" : " turns");
}

// A missile hits only where the target's light is above 100 minus the shooter's attack.
bool lit_for_arrows(const TKartenTile& tile) {
    return int64_t{tile.lichtstaerke} > 100 - int64_t{player->attack};
}

bool bow_ready() {
    return player->waffe && player->waffe->reichweite > 0 && player->attackmode != 0;
}

// Monsters are listed as the map shows them: seen, and lit or right beside the player.
void monsters_in_sight(PanelLines& lines) {
    const bool bow = bow_ready();
    monsters->look_at_each<TGegner>([&](const TGegner& monster) {
        if (monster.name.empty()) return;
        const TKartenTile* tile = seen_tile(monster.x, monster.y);
        if (!tile || (tile->lichtstaerke <= 0 && !beside_player(monster.x, monster.y))) return;
        std::string text = monster.name;
        if (bow) text += lit_for_arrows(*tile) ? ": lit, arrows can hit" : ": too dark for arrows";
        lines.push_back(entry(monster.name[0],
                              Rgb{static_cast<uint8_t>(155 + tile->lichtstaerke), 0, 0}, text));
    });
}

void heaps_in_sight(PanelLines& lines) {
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        if (!seen_tile(heap.x, heap.y)) return;
        std::string text = "A heap: " + std::to_string(heap.gold) + " gold";
        const int32_t items = heap.drop->count();
        if (items > 0) text += ", " + std::to_string(items) + (items == 1 ? " item" : " items");
        lines.push_back(entry('T', Rgb{255, 255, 0}, text));
    });
}

void doors_in_sight(PanelLines& lines) {
    for (int32_t x = player->x - kDoorReach; x <= player->x + kDoorReach; ++x) {
        for (int32_t y = player->y - kDoorReach; y <= player->y + kDoorReach; ++y) {
            const TKartenTile* tile = map_tile(x, y);
            RecordList* objects = tile ? tile->objects_if_any() : nullptr;
            if (objects == nullptr || !door_in_view(x, y)) continue;
            objects->look_at_each<TDoor>([&](const TDoor& door) {
                if (door.secret == 0)
                    lines.push_back(PanelLine{.text = door_state(door), .colour = {128, 64, 0}});
            });
        }
    }
}

PanelLines in_sight() {
    PanelLines lines;
    monsters_in_sight(lines);
    heaps_in_sight(lines);
    doors_in_sight(lines);
    if (lines.empty())
        lines.push_back(PanelLine{.text = "Nothing but the dungeon", .colour = {150, 150, 150}});
    return lines;
}

// Silent buffs are the game's own one-pass corrections, not effects a player was given.
PanelLines effects() {
    PanelLines lines;
    player->buffs->look_at_each<TBuff>([&](const TBuff& buff) {
        if (buff.silent != 0 || buff.variable == nullptr) return;
        if (lines.empty()) lines.push_back(heading("EFFECTS"));
        std::string text = buff.variable->Name() + " " + buff.operand + std::to_string(buff.wert);
        if (buff.multi != 0) text += " each turn";
        text += ", " + turns(buff.wirkzeit) + " left";
        lines.push_back(PanelLine{.text = text, .colour = {160, 200, 255}});
    });
    return lines;
}

std::string turns_left(int32_t brenndauer) {
    if (brenndauer < 0) return "burns for ever";
    return turns(brenndauer) + " left";
}

PanelLine plain(const std::string& text) {
    return PanelLine{.text = text};
}

PanelLines equipment() {
    PanelLines lines{heading("EQUIPMENT")};
    lines.push_back(
        plain("Weapon: " + (player->waffe ? player->waffe->name : std::string("bare hands"))));
    lines.push_back(plain(player->panzer ? "Armour: " + player->panzer->name + " (+" +
                                               int_to_text(player->panzer->rs) + " class)"
                                         : "Armour: none"));
    lines.push_back(plain(player->leuchte ? "Light: " + player->leuchte->name + ", " +
                                                turns_left(player->leuchte->brenndauer)
                                          : "Light: none"));
    const int32_t next = TPlayer::calc_level(player->level + 1);
    lines.push_back(plain("Next level at " + int_to_text(next) + " experience (" +
                          int_to_text(next - player->xp) + " to go)"));
    if (!player->waffe || player->waffe->reichweite <= 0) return lines;
    const bool ammunition = player->in_inventory(player->waffe->munition) >= 0;
    if (player->attackmode != 0) {
        lines.push_back(
            PanelLine{.text = "Bow: READY, the direction keys shoot", .colour = {255, 200, 120}});
    } else {
        lines.push_back(plain("Bow: not ready"));
    }
    if (!ammunition)
        lines.push_back(PanelLine{.text = "No ammunition for it", .colour = {255, 120, 120}});
    return lines;
}

// The list of what is in sight gives way, so the place, the effects and the equipment always show.
void draw_panel(const std::string& place, int32_t last_line) {
    const PanelLines below = [] {
        PanelLines lines = effects();
        const PanelLines gear = equipment();
        lines.insert(lines.end(), gear.begin(), gear.end());
        return lines;
    }();
    PanelLines sight = in_sight();
    PanelLines all;
    if (!place.empty()) all.push_back(heading(place));
    all.push_back(heading("IN SIGHT"));
    const int32_t room = (last_line + kLineHeight - kFirstLine - height_of(below)) / kLineHeight -
                         static_cast<int32_t>(all.size());
    if (static_cast<int32_t>(sight.size()) > room) {
        const int32_t kept = std::max(room - 1, 0);
        const size_t more = sight.size() - static_cast<size_t>(kept);
        sight.resize(static_cast<size_t>(kept));
        sight.push_back(
            PanelLine{.text = "and " + std::to_string(more) + " more", .colour = {150, 150, 150}});
    }
    int32_t y = kFirstLine;
    all.insert(all.end(), sight.begin(), sight.end());
    all.insert(all.end(), below.begin(), below.end());
    draw_lines(all, y);
}

PanelLines note_lines(const std::vector<PanelNote>& notes) {
    PanelLines lines;
    for (const PanelNote& note : notes)
        lines.push_back(note.heading ? heading(note.text) : plain(note.text));
    return lines;
}

}  // namespace

void draw_side_panel(const std::string& hint, const std::string& place,
                     const std::vector<PanelNote>& notes) {
    const PanelLines added = note_lines(notes);
    const int32_t added_height = height_of(added);
    if (player) draw_panel(place, kLastLine - added_height);
    int32_t y = kLastLine + kLineHeight - added_height;
    draw_lines(added, y);
    if (!hint.empty()) {
        set_color(255, 255, 160);
        draw_text(hint, kTextX, kSidePanelBottom - kLineHeight);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
