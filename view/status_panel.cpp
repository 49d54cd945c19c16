// The panels below the map view: the player's status lines, the worn items and the inventory
// list. TPlayer's drawing members live here; its rules live in actors/.
#include <initializer_list>
#include <string>
#include <string_view>

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

// One line of a panel, written into storage kept from frame to frame: the panels are drawn on
// every pass, and their lines change seldom in length.
void draw_line(int32_t x, int32_t y, std::initializer_list<std::string_view> pieces) {
    static std::string line;
    assign_joined(line, pieces);
    draw_text(line, x, y);
}

}  // namespace

int32_t TPlayer::showstats() {
    int32_t armour_bonus = panzer ? panzer->rs : 0;
    int32_t weapon_bonus = waffe ? waffe->dmg : 0;
    draw_line(0, 260, {"Name: ", name});
    draw_line(0, 270, {Decimal(actual("hp")), "/", Decimal(actual("hpmax")), " HealthPoints"});
    draw_line(0, 280, {"Experience: ", Decimal(actual("xp")), " / ", Decimal(level), ". Level"});
    draw_line(0, 290, {"ATTACK: ", Decimal(actual("attack")), "/100"});
    draw_line(0, 300, {"DEFENSE: ", Decimal(actual("defend")), "/100"});
    draw_line(0, 310, {"Armor Class: ", Decimal(actual("rs")), "(+", Decimal(armour_bonus), ")"});
    draw_line(0, 320,
              {"Damage Points: ", Decimal(actual("dmg")), "(+", Decimal(weapon_bonus), ")"});
    draw_line(0, 330, {"GOLD: ", Decimal(gold), " pieces."});
    return 0;
}

int32_t TPlayer::show_worn() {
    if (wear_visible == 0) return 0;
    if (waffe)
        draw_line(0, 340, {"Your weapon is a ", waffe->name, "."});
    else
        draw_line(0, 340, {"No weapon ready.", ""});
    if (panzer)
        draw_line(0, 350, {"You wear a ", panzer->name, "."});
    else
        draw_line(0, 350, {"You are not armored.", ""});
    return 0;
}

int32_t TPlayer::show_inventory() {
    if (inv_visible == 0 || !inventory) return 0;
    draw_text("INVENTORY:", kListX, kListY);
    for (int32_t k = 1; k <= kInventorySlots; ++k) {
        const std::shared_ptr<TGegenstand>& held = (*inventory)[static_cast<size_t>(k - 1)];
        if (!held) continue;
        draw_line(kListX, kListY + kLineHeight * k,
                  {Decimal(k), ". ", held->name, "(", Decimal(held->anzahl), ")"});
    }
    return 0;
}

}  // namespace grotmere
