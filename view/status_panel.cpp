// The panels below the map view: the player's status lines, the worn items and the inventory
// list. TPlayer's drawing members live here; its rules live in actors/.
#include <string>
#include <vector>

#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/waffe.hpp"
#include "base/text.hpp"
#include "platform/drawing.hpp"
#include "world/gegenstand.hpp"

namespace grotmere {

namespace {

constexpr int32_t kListX = 280;
constexpr int32_t kListY = 260;
constexpr int32_t kLineHeight = 10;

struct PanelLine {
    int32_t y;
    std::string text;
};

std::string number(int32_t value) {
    return int_to_text(value);
}

}  // namespace

int32_t TPlayer::showstats() {
    int32_t armour_bonus = panzer ? panzer->rs : 0;
    int32_t weapon_bonus = waffe ? waffe->dmg : 0;
    const std::vector<PanelLine> lines = {
        {260, "Name: " + name},
        {270, number(actual("hp")) + "/" + number(actual("hpmax")) + " HealthPoints"},
        {280, "Experience: " + number(actual("xp")) + " / " + number(level) + ". Level"},
        {290, "ATTACK: " + number(actual("attack")) + "/100"},
        {300, "DEFENSE: " + number(actual("defend")) + "/100"},
        {310, "Armor Class: " + number(actual("rs")) + "(+" + number(armour_bonus) + ")"},
        {320, "Damage Points: " + number(actual("dmg")) + "(+" + number(weapon_bonus) + ")"},
        {330, "GOLD: " + number(gold) + " pieces."},
    };
    for (const PanelLine& line : lines)
        draw_text(line.text, 0, line.y);
    return 0;
}

int32_t TPlayer::show_worn() {
    if (wear_visible == 0) return 0;
    draw_text(waffe ? "Your weapon is a " + waffe->name + "." : "No weapon ready.", 0, 340);
    draw_text(panzer ? "You wear a " + panzer->name + "." : "You are not armored.", 0, 350);
    return 0;
}

int32_t TPlayer::show_inventory() {
    if (inv_visible == 0 || !inventory) return 0;
    draw_text("INVENTORY:", kListX, kListY);
    for (int32_t k = 1; k <= kInventorySlots; ++k) {
        const std::shared_ptr<TGegenstand>& held = (*inventory)[static_cast<size_t>(k - 1)];
        if (!held) continue;
        draw_text(int_to_text(k) + ". " + held->name + "(" + int_to_text(held->anzahl) + ")",
                  kListX, kListY + kLineHeight * k);
    }
    return 0;
}

}  // namespace grotmere
