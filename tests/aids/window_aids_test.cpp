// The gate around the rules: while the help or the history is open no pass of the rules runs and
// keys act only on the overlay; with the aids off, or a window key bound in the key-binding file,
// every key does what it always did.
#include <gtest/gtest.h>

#include "actors/buff.hpp"
#include "actors/geschoss.hpp"
#include "tests/actors/player_game.hpp"
#include "view/history_overlay.hpp"
#include "view/side_panel.hpp"
#include "world/message_log.hpp"

namespace grotmere {
namespace {

constexpr int32_t kF1 = 112;
constexpr int32_t kF2 = 113;
constexpr int32_t kEscape = 27;

class OverlayGate : public testing::PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        place(1, 1);
        set_window_aids(WindowAids{true, false});
    }
    static std::shared_ptr<TGeschoss> missile() {
        return std::static_pointer_cast<TGeschoss>(missiles->records().back());
    }
};

TEST_F(OverlayGate, NothingOfTheRulesRunsWhileTheHelpIsOpen) {
    TGeschoss::create(2, 3, 1, 1, 3, 50);
    TBuff::setbuff("attack", -5, player);
    ASSERT_EQ(player->buffs->count(), 1);

    PassResult opened = pass({hit(kF1), hit(testing::kDown)});
    EXPECT_EQ(open_overlay(), Overlay::Help);
    EXPECT_FALSE(opened.turn_taken);
    for (int32_t code : {testing::kRight, testing::kWait, testing::kLook}) {
        PassResult result = pass({hit(code)});
        EXPECT_FALSE(result.turn_taken);
        EXPECT_FALSE(result.end);
    }
    EXPECT_EQ(player->x, 1);
    EXPECT_EQ(player->y, 1) << "the Down hit with F1 went to the help, not the game";
    EXPECT_EQ(missile()->x, 1) << "the missile waits";
    EXPECT_EQ(player->buffs->count(), 1) << "the silent correction waits";

    EXPECT_FALSE(pass({hit(kEscape)}).end) << "Escape closes the help";
    EXPECT_EQ(open_overlay(), Overlay::None);
    EXPECT_TRUE(pass({hit(testing::kRight)}).turn_taken);
    EXPECT_EQ(player->x, 2) << "one step: nothing typed into the help was kept";
    EXPECT_EQ(missile()->x, 2) << "the world goes on";
    EXPECT_FALSE(pass({hit(kEscape)}).end) << "Escape asks first";
    PassResult quit = pass({hit('Y')});
    ASSERT_TRUE(quit.end);
    EXPECT_EQ(*quit.end, GameEnd::Escape);
}

TEST_F(OverlayGate, ACloseRequestStillEndsTheGameWithAnOverlayOpen) {
    pass({hit(kF2)});
    ASSERT_EQ(open_overlay(), Overlay::History);
    PassResult result = pass({InputEvent{InputEvent::Kind::Close, 0}});
    ASSERT_TRUE(result.end);
    EXPECT_EQ(*result.end, GameEnd::Close);
}

TEST_F(OverlayGate, BoundWindowKeysKeepTheirCommands) {
    bindings->wait = kF1;
    bindings->look = kF2;
    EXPECT_TRUE(pass({hit(kF1)}).turn_taken);
    EXPECT_EQ(open_overlay(), Overlay::None);
    pass({hit(kF2)});
    EXPECT_EQ(open_overlay(), Overlay::None);
}

TEST_F(OverlayGate, OffTheyLeaveEveryKeyAlone) {
    set_window_aids(WindowAids{});
    bindings->wait = 0;
    pass({hit(kF1), hit(kF2)});
    EXPECT_EQ(open_overlay(), Overlay::None);
    EXPECT_TRUE(pass({hit(testing::kRight)}).turn_taken);
}

TEST_F(OverlayGate, TheHistoryScrollsWithinItsLines) {
    for (int32_t i = 0; i < 100; ++i)
        log_message("line " + std::to_string(i));
    const int32_t most = history_max_scroll(message_history);
    ASSERT_GT(most, 0);

    pass({hit(kF2)});
    const Framebuffer newest = *backend.last_frame();
    pass({hit(testing::kUp), hit(testing::kUp)});
    const Framebuffer two_back = *backend.last_frame();
    EXPECT_NE(two_back, newest);
    pass({hit(36)});  // Home: the oldest lines
    const Framebuffer oldest = *backend.last_frame();
    pass({hit(33), hit(33), hit(33)});  // Page Up past the top changes nothing
    EXPECT_EQ(*backend.last_frame(), oldest);
    pass({hit(35)});  // End
    EXPECT_EQ(*backend.last_frame(), newest);
    pass({hit(testing::kUp), hit(testing::kUp)});
    EXPECT_EQ(*backend.last_frame(), two_back);
    pass({hit(34)});  // Page Down back to the newest
    EXPECT_EQ(*backend.last_frame(), newest);
}

TEST_F(OverlayGate, TheFirstStartHintStandsUntilTheHelpIsOpened) {
    auto hint_shown = [this] {
        for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x) {
            if (backend.last_frame()->pixel(x, kSidePanelBottom - 4) != Rgb{}) return true;
        }
        return false;
    };
    set_window_aids(WindowAids{true, true});
    pass();
    EXPECT_TRUE(hint_shown());
    pass();
    EXPECT_TRUE(hint_shown()) << "not just for one frame";
    pass({hit(kF1)});
    pass({hit(kF1)});
    pass();
    EXPECT_FALSE(hint_shown());

    set_window_aids(WindowAids{true, true});
    bindings->look = kF1;
    pass();
    EXPECT_FALSE(hint_shown()) << "no hint for a key that does something else";
}

// The first screen's notice (a game another window keeps) takes the panel's last line until the
// player's first turn; the hint follows it.
TEST_F(OverlayGate, TheFirstScreensNoticeStandsUntilTheFirstTurn) {
    auto footer_end = [this] {
        int32_t end = 0;
        for (int32_t x = kSidePanelLeft; x < kWindowWidth; ++x) {
            for (int32_t y = kSidePanelBottom - 10; y < kSidePanelBottom; ++y)
                if (backend.last_frame()->pixel(x, y) != Rgb{}) end = x;
        }
        return end;
    };
    set_window_aids(WindowAids{true, true, "Not kept over a close: another window plays here"});
    pass();
    const int32_t with_notice = footer_end();
    pass();
    EXPECT_EQ(footer_end(), with_notice);
    pass({hit(testing::kDown)});
    EXPECT_GT(footer_end(), kSidePanelLeft) << "the hint follows";
    EXPECT_LT(footer_end(), with_notice);
}

}  // namespace
}  // namespace grotmere
