#include "view/side_panel.hpp"

#include <cstdlib>
#include <memory>
#include <string>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
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

class PanelWriter {
public:
    bool has_room() const { return y_ <= kLastLine; }
    int32_t lines() const { return lines_; }

    void heading(const std::string& text) {
        if (y_ > kFirstLine) y_ += kLineHeight / 2;
        line(text, 255, 255, 160, kTextX);
    }

    void line(const std::string& text, int32_t r, int32_t g, int32_t b, int32_t x = kNameX) {
        if (!has_room()) return;
        set_color(r, g, b);
        draw_text(text, x, y_);
        y_ += kLineHeight;
        ++lines_;
    }

    // A glyph in its map colour, then what it is.
    void entry(char glyph, int32_t r, int32_t g, int32_t b, const std::string& text) {
        if (!has_room()) return;
        set_color(r, g, b);
        draw_text(std::string(1, glyph), kTextX, y_);
        line(text, 220, 220, 220);
    }

private:
    int32_t y_ = kFirstLine;
    int32_t lines_ = 0;
};

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

// Monsters are listed as the map shows them: seen, and lit or right beside the player.
void monsters_in_sight(PanelWriter& panel) {
    monsters->look_at_each<TGegner>([&](const TGegner& monster) {
        if (monster.name.empty()) return;
        const TKartenTile* tile = seen_tile(monster.x, monster.y);
        if (!tile || (tile->lichtstaerke <= 0 && !beside_player(monster.x, monster.y))) return;
        panel.entry(monster.name[0], 155 + tile->lichtstaerke, 0, 0, monster.name);
    });
}

void heaps_in_sight(PanelWriter& panel) {
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        if (!seen_tile(heap.x, heap.y)) return;
        std::string text = "A heap: " + std::to_string(heap.gold) + " gold";
        const int32_t items = heap.drop->count();
        if (items > 0) text += ", " + std::to_string(items) + (items == 1 ? " item" : " items");
        panel.entry('T', 255, 255, 0, text);
    });
}

void doors_in_sight(PanelWriter& panel) {
    for (int32_t x = player->x - kDoorReach; x <= player->x + kDoorReach; ++x) {
        for (int32_t y = player->y - kDoorReach; y <= player->y + kDoorReach; ++y) {
            const TKartenTile* tile = map_tile(x, y);
            RecordList* objects = tile ? tile->objects_if_any() : nullptr;
            if (objects == nullptr || !door_in_view(x, y)) continue;
            objects->look_at_each<TDoor>([&](const TDoor& door) {
                if (door.secret == 0) panel.line(door_state(door), 128, 64, 0);
            });
        }
    }
}

// Silent buffs are the game's own one-pass corrections, not effects a player was given.
void effects(PanelWriter& panel) {
    bool any = false;
    player->buffs->look_at_each<TBuff>([&](const TBuff& buff) {
        if (buff.silent != 0 || buff.variable == nullptr) return;
        if (!any) panel.heading("EFFECTS");
        any = true;
        std::string text = buff.variable->Name() + " " + buff.operand + std::to_string(buff.wert);
        if (buff.multi != 0) text += " each turn";
        text += ", " + std::to_string(buff.wirkzeit) + " turns left";
        panel.line(text, 160, 200, 255);
    });
}

std::string turns_left(int32_t brenndauer) {
    if (brenndauer < 0) return "burns for ever";
    return std::to_string(brenndauer) + " turns left";
}

void equipment(PanelWriter& panel) {
    panel.heading("EQUIPMENT");
    panel.line("Weapon: " + (player->waffe ? player->waffe->name : std::string("bare hands")), 220,
               220, 220);
    if (player->leuchte) {
        panel.line(
            "Light: " + player->leuchte->name + ", " + turns_left(player->leuchte->brenndauer), 220,
            220, 220);
    } else {
        panel.line("Light: none", 220, 220, 220);
    }
    if (!player->waffe || player->waffe->reichweite <= 0) return;
    const bool ammunition = player->in_inventory(player->waffe->munition) >= 0;
    if (player->attackmode != 0) {
        panel.line("Bow: READY, the direction keys shoot", 255, 200, 120);
    } else {
        panel.line("Bow: not ready", 220, 220, 220);
    }
    if (!ammunition) panel.line("No ammunition for it", 255, 120, 120);
}

}  // namespace

void draw_side_panel(const std::string& hint) {
    if (player) {
        PanelWriter panel;
        panel.heading("IN SIGHT");
        const int32_t before = panel.lines();
        monsters_in_sight(panel);
        heaps_in_sight(panel);
        doors_in_sight(panel);
        if (panel.lines() == before) panel.line("Nothing but the dungeon", 150, 150, 150);
        effects(panel);
        equipment(panel);
    }
    if (!hint.empty()) {
        set_color(255, 255, 160);
        draw_text(hint, kTextX, kSidePanelBottom - kLineHeight);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
