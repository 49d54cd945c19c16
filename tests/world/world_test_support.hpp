// Helpers for the world tests: a fresh headless world, prototypes given as definition text, light
// sources made in one line, and the screen colour of a map cell as the camera draws it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "tests/support/headless_game.hpp"
#include "tests/support/tiny_map.hpp"
#include "world/kamera.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {

// Appends the records of a definition text to the list; the text must load cleanly.
inline void load_into(const ListRef& list, const std::string& text) {
    LoadProblems problems =
        read_definitions_from_bytes(*list, "test.bif", std::vector<char>(text.begin(), text.end()));
    ASSERT_TRUE(problems.empty()) << problems.front().to_text();
}

class WorldTest : public HeadlessGame {
protected:
    static TKartenTile& tile(int32_t x, int32_t y) { return *tile_grid.at(x, y); }

    // A light with a new light's values (100 everywhere, reach 5, burning for ever) unless changed.
    static std::shared_ptr<TLeuchte> light(int32_t reach = 5, int32_t burn = -1) {
        auto made = new_record<TLeuchte>();
        made->reichweite = reach;
        made->brenndauer = burn;
        return made;
    }

    static std::shared_ptr<TLeuchte> light_on_tile(int32_t x, int32_t y) {
        auto made = light();
        tile(x, y).gegenstaende()->append(made);
        return made;
    }

    // The camera of the game, with the view rectangle start-up gives it.
    static std::shared_ptr<TKamera> game_camera() {
        kamera = new_record<TKamera>();
        kamera->set_viewport(1, 1, 402, 245);
        return kamera;
    }

    static Rgb at(int32_t px, int32_t py) { return framebuffer().pixel(px, py); }

    // Whether some pixel of the glyph box at (px, py) has the colour.
    static bool glyph_in(int32_t px, int32_t py, Rgb colour) {
        for (int32_t y = py; y < py + kGlyphHeight; ++y) {
            for (int32_t x = px; x < px + kGlyphWidth; ++x) {
                if (at(x, y) == colour) return true;
            }
        }
        return false;
    }
};

}  // namespace grotmere::testing
