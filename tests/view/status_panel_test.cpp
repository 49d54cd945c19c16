// The panels below the map view: the status lines, the worn items and the inventory list.
#include <gtest/gtest.h>

#include "actors/panzer.hpp"
#include "actors/waffe.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "tests/actors/item_game.hpp"

namespace grotmere::testing {
namespace {

using PlayerPanel = ItemGame;
using InventoryList = ItemGame;

Framebuffer expected_panel(const std::vector<std::string>& lines) {
    Framebuffer frame(kWindowWidth, kWindowHeight);
    Canvas canvas(frame);
    for (size_t i = 0; i < lines.size(); ++i)
        canvas.text(lines[i], 0, 260 + 10 * static_cast<int32_t>(i));
    return frame;
}

Framebuffer drawn_panel() {
    clear_window();
    player->showstats();
    player->show_worn();
    return framebuffer();
}

TEST_F(PlayerPanel, ShowsEffectiveValuesAndNoEquipment) {
    player->xp = 120;
    player->rs = 2;
    player->gold = -4;
    drink("attack+20'3|hpmax+5'3|xp+7'3");
    EXPECT_EQ(drawn_panel(), expected_panel({
                                 "Name: Aldric",
                                 "30/35 HealthPoints",
                                 "Experience: 127 / 1. Level",
                                 "ATTACK: 70/100",
                                 "DEFENSE: 30/100",
                                 "Armor Class: 2(+0)",
                                 "Damage Points: 3(+0)",
                                 "GOLD: -4 pieces.",
                                 "No weapon ready.",
                                 "You are not armored.",
                             }));
}

TEST_F(PlayerPanel, NamesTheEquipmentAndHidesTheWornLinesWhenToggled) {
    player->waffe = new_record<TWaffe>();
    player->waffe->name = "Short Sword";
    player->waffe->dmg = 4;
    player->panzer = new_record<TPanzer>();
    player->panzer->name = "Leather Armor";
    player->panzer->rs = 3;
    std::vector<std::string> lines = {
        "Name: Aldric",    "30/30 HealthPoints", "Experience: 0 / 1. Level", "ATTACK: 50/100",
        "DEFENSE: 30/100", "Armor Class: 0(+3)", "Damage Points: 3(+4)",     "GOLD: 0 pieces.",
    };
    std::vector<std::string> with_worn = lines;
    with_worn.push_back("Your weapon is a Short Sword.");
    with_worn.push_back("You wear a Leather Armor.");
    EXPECT_EQ(drawn_panel(), expected_panel(with_worn));

    EXPECT_FALSE(pass({hit(kToggleWorn)}).turn_taken);
    EXPECT_EQ(drawn_panel(), expected_panel(lines));
}

Framebuffer expected_list(const std::vector<std::pair<int32_t, std::string>>& lines) {
    Framebuffer frame(kWindowWidth, kWindowHeight);
    Canvas canvas(frame);
    for (const auto& [y, text] : lines)
        canvas.text(text, 280, y);
    return frame;
}

Framebuffer drawn_list() {
    clear_window();
    player->show_inventory();
    return framebuffer();
}

TEST_F(InventoryList, EverySlotKeepsItsLineAndTheToggleHidesTheList) {
    give(3, "Arrow", 12);
    give(10, "Ruby");
    EXPECT_EQ(drawn_list(),
              expected_list({{260, "INVENTORY:"}, {290, "3. Arrow(12)"}, {360, "10. Ruby(1)"}}));
    player->inv_visible = 0;
    EXPECT_EQ(drawn_list(), expected_list({}));
}

}  // namespace
}  // namespace grotmere::testing
