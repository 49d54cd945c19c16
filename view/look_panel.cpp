#include "view/look_panel.hpp"

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "base/text.hpp"
#include "platform/drawing.hpp"
#include "view/map_cells.hpp"
#include "view/player_knowledge.hpp"
#include "view/side_panel.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kTextX = kSidePanelLeft + 8;
constexpr int32_t kLineHeight = 10;
constexpr int32_t kCellSize = 10;

std::string door_words(const TDoor& door) {
    const std::string name = door.name.empty() ? "door" : door.name;
    if (door.open != 0) return "An open " + name;
    return (door.locked != 0 ? "A locked " : "A closed ") + name;
}

std::string ground(const TKartenTile& tile) {
    if (tile.ID == TKarte::MAP_SOLID) return "Rock";
    std::string text = tile.ID == TKarte::MAP_GANG ? "A corridor" : "Floor";
    if (tile.sichtbar != 0) text += tile.lichtstaerke > 0 ? ", lit" : ", dark";
    return text;
}

void heaps_on(int32_t x, int32_t y, std::vector<std::string>& lines) {
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        if (heap.x != x || heap.y != y) return;
        const int32_t items = heap.drop->count();
        std::string text = "A heap: " + int_to_text(heap.gold) + " gold";
        if (items > 0) text += ", " + int_to_text(items) + (items == 1 ? " item" : " items");
        lines.push_back(text);
    });
}

void frame_cell(int32_t x, int32_t y) {
    int32_t px = 0, py = 0;
    if (!map_cell_pixel(x, y, px, py)) return;
    set_color(255, 255, 0);
    draw_line(px - 1, py - 1, px + kCellSize, py - 1);
    draw_line(px - 1, py + kCellSize, px + kCellSize, py + kCellSize);
    draw_line(px - 1, py - 1, px - 1, py + kCellSize);
    draw_line(px + kCellSize, py - 1, px + kCellSize, py + kCellSize);
}

}  // namespace

std::vector<std::string> describe_cell(int32_t x, int32_t y) {
    std::vector<std::string> lines;
    const TKartenTile* tile = map_tile(x, y);
    if (tile == nullptr) return {"Outside the map"};
    if (player && player->x == x && player->y == y) lines.push_back("You");
    if (const TGegner* monster = monster_shown_at(x, y)) {
        lines.push_back(monster->name + ", level " + int_to_text(monster->level) + ", " +
                        int_to_text(monster->actual("hp")) + " HP left");
    }
    heaps_on(x, y, lines);
    if (!cell_known(x, y)) {
        lines.push_back("Never seen");
        return lines;
    }
    if (const TDoor* door = known_door(x, y)) lines.push_back(door_words(*door));
    if (const TTeleport* teleport = known_teleport(x, y))
        lines.push_back("A teleport" + (teleport->name.empty() ? "" : ": " + teleport->name));
    if (const TSchalter* lever = known_switch(x, y))
        lines.push_back("A switch" + (lever->name.empty() ? "" : ": " + lever->name));
    lines.push_back(ground(*tile));
    return lines;
}

void draw_look_panel(int32_t x, int32_t y, const std::string& footer, const std::string& heading) {
    frame_cell(x, y);
    set_color(255, 255, 160);
    draw_text(heading.empty() ? "LOOKING AT " + int_to_text(x) + ", " + int_to_text(y) : heading,
              kTextX, 4);
    int32_t line_y = 4 + 3 * kLineHeight / 2;
    set_color(220, 220, 220);
    for (const std::string& line : describe_cell(x, y)) {
        draw_text(line, kTextX, line_y);
        line_y += kLineHeight;
    }
    if (!footer.empty()) {
        set_color(170, 170, 170);
        draw_text(footer, kTextX, kSidePanelBottom - kLineHeight);
    }
    set_color(255, 255, 255);
}

}  // namespace grotmere
