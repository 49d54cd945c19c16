// Switches: triggers and buttons in the turn's switch pass with their messages, and the effect
// text that changes fields of the items they aim at.
#include <gtest/gtest.h>

#include "base/text.hpp"
#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"

namespace grotmere::testing {
namespace {

class Switches : public PlayerGame {
protected:
    static std::shared_ptr<TSchalter> schalter(int32_t x, int32_t y, const std::string& art,
                                               const std::string& wirkung,
                                               const std::string& ziel_name = "Gate") {
        auto made = new_record<TSchalter>();
        made->name = equals_ignoring_case(art, "trigger") ? "Plate" : "Lever";
        made->x = x;
        made->y = y;
        made->art = art;
        made->wirkung = wirkung;
        made->ziel_name = ziel_name;
        return put(x, y, made);
    }
    static std::shared_ptr<TDoor> gate(int32_t x, int32_t y, int32_t open = 0) {
        auto made = new_record<TDoor>();
        made->name = "Gate";
        made->open = open;
        return put(x, y, made);
    }
    // Runs the effect text and returns what it wrote to standard output.
    static std::string effect_output(TSchalter& schalter) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(schalter.parse_wirkung(), 1);
        return ::testing::internal::GetCapturedStdout();
    }
};

using Triggers = Switches;
using Buttons = Switches;
using EffectText = Switches;

TEST_F(Triggers, FireOnEveryTurnThePlayerSpendsOnThem) {
    auto door = gate(3, 3);
    schalter(1, 1, "TRIGGER", "open");
    pass({hit(kWait)});
    EXPECT_EQ(door->open, 1);
    EXPECT_EQ(newest(), "You triggered Plate!");
    pass({hit(kWait)});
    EXPECT_EQ(door->open, 0) << "fired again";
    EXPECT_EQ(log().size(), 4u);
    pass();
    EXPECT_EQ(door->open, 0) << "no turn, no switch pass";
    pass({hit(kRight)});
    EXPECT_EQ(newest(), "You move.") << "a trigger the player left is silent";
    EXPECT_EQ(door->open, 0);
}

TEST_F(Triggers, TheCommentReplacesTheStandardMessage) {
    schalter(1, 1, "trigger", "")->comment = "Click.";
    pass({hit(kWait)});
    EXPECT_EQ(newest(), "Click.");
}

TEST_F(Buttons, AnnounceThemselvesUntilTheUseKeyPressesThem) {
    auto door = gate(0, 3);
    auto lever = schalter(1, 1, "Button", "open");
    pass({hit(kWait)});
    EXPECT_EQ(newest(), "There is a Lever here.");
    EXPECT_EQ(door->open, 0);
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(newest(), "You use Lever!");
    EXPECT_EQ(door->open, 1);
    lever->comment = "Clunk.";
    pass({hit(kUse)});
    EXPECT_EQ(newest(), "Clunk.");
    EXPECT_EQ(door->open, 0);
}

TEST_F(Buttons, OnlyTheFirstSwitchOfATileAnnouncesItself) {
    schalter(1, 1, "trigger", "");
    schalter(1, 1, "button", "");
    pass({hit(kWait)});
    EXPECT_EQ(log(), (std::vector<std::string>{"You triggered Plate!", "You wait a little..."}));

    map({"000", "000", "000"});
    schalter(1, 1, "button", "")->name = "First";
    schalter(1, 1, "button", "")->name = "Second";
    message_lines.fill("");
    pass({hit(kWait)});
    EXPECT_EQ(log(), (std::vector<std::string>{"There is a First here.", "You wait a little..."}));
    pass({hit(kUse)});
    EXPECT_EQ(log()[0], "You use Second!") << "a press fires every button of the tile";
    EXPECT_EQ(log()[1], "You use First!");
}

TEST_F(Buttons, OtherKindsDoNothing) {
    auto door = gate(0, 3);
    schalter(1, 1, "lever", "open");
    pass({hit(kUse)});
    pass({hit(kWait)});
    EXPECT_EQ(door->open, 0);
    EXPECT_EQ(log(), (std::vector<std::string>{"You wait a little..."}));
}

TEST_F(EffectText, TheLastMatchInScanOrderIsTheTarget) {
    auto left = gate(0, 3);
    auto top = gate(2, 0);
    auto low = gate(2, 4);
    auto later_in_list = gate(2, 4);
    auto plate = schalter(4, 4, "trigger", "open");
    effect_output(*plate);
    EXPECT_EQ(later_in_list->open, 1);
    EXPECT_EQ(left->open + top->open + low->open, 0);

    plate->ziel_x = 2;
    plate->ziel_y = 0;
    effect_output(*plate);
    EXPECT_EQ(top->open, 1) << "the search keeps to the given column and row";
    plate->ziel_y = -1;
    plate->ziel_x = 0;
    effect_output(*plate);
    EXPECT_EQ(left->open, 1);
}

TEST_F(EffectText, ToggleActivateAndDeactivate) {
    auto door = gate(3, 3);
    door->cloak = 5;
    door->locked = 1;
    auto lever = schalter(1, 1, "button", "cloak");
    EXPECT_EQ(effect_output(*lever), "");
    EXPECT_EQ(door->cloak, -4);

    lever->wirkung = "ACTIVATE|open|DEACTIVATE|locked";
    EXPECT_EQ(effect_output(*lever), "locked deactivated\n");
    EXPECT_EQ(door->open, 1);
    EXPECT_EQ(door->locked, 0);
    EXPECT_EQ(effect_output(*lever), "") << "nothing left to deactivate";

    lever->wirkung = "DEACTIVATE|cloak|ACTIVATE|cloak|TOGGLE|OPEN";
    effect_output(*lever);
    EXPECT_EQ(door->cloak, -4) << "only 1 deactivates and only 0 activates";
    EXPECT_EQ(door->open, 0) << "field names ignore case";
}

TEST_F(EffectText, TokensThatNameNothingAreSkipped) {
    auto door = gate(3, 3);
    auto lever = schalter(1, 1, "button", "||nonsense|name|activate|open||secret|");
    effect_output(*lever);
    EXPECT_EQ(door->name, "Gate") << "text fields are not switched";
    EXPECT_EQ(door->open, 1) << "\"activate\" is a field token in TOGGLE mode, then skipped";
    EXPECT_EQ(door->secret, 1);

    lever->ziel_name = "Nowhere";
    lever->wirkung = "open";
    effect_output(*lever);
    EXPECT_EQ(door->open, 1);
}

TEST_F(EffectText, TheDoorsOwnPriceAndALightsFlame) {
    auto door = gate(3, 3);
    auto lever = schalter(1, 1, "button", "DEACTIVATE|preis");
    door->preis = 1;
    static_cast<TGegenstand&>(*door).preis = 1;
    EXPECT_EQ(effect_output(*lever), "preis deactivated\n");
    EXPECT_EQ(door->preis, 0);
    EXPECT_EQ(static_cast<TGegenstand&>(*door).preis, 1);

    auto sconce = new_record<TLeuchte>();
    sconce->name = "Sconce";
    sconce->brennt = 0;
    put(0, 0, sconce);
    schalter(1, 1, "trigger", "ACTIVATE|brennt", "Sconce");
    pass({hit(kWait)});
    EXPECT_EQ(sconce->brennt, 1);
    EXPECT_GT(tile(1, 1).lichtstaerke, 0) << "lit in the switch pass, it shines in the same turn";
}

}  // namespace
}  // namespace grotmere::testing
