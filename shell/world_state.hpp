// The program-wide objects of the game, in one place.
//
// Every subsystem reaches them by their own names (message_lines, map_width, ...), which are
// references into the one WorldState. reset_world() gives a fresh world with one call, so a test
// never depends on what an earlier test left behind. Start-up fills the world; the main loop and
// the rules change it; nothing else owns game state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/platform.hpp"

namespace grotmere {

inline constexpr int32_t kMessageLines = 9;

struct WorldState {
    // The message log, index 0 the newest line.
    std::array<std::string, kMessageLines> message_lines{};
    std::string app_title;
    FrameTimer frame_timer;

    // Map size in tiles; these values stand until a map file is loaded.
    int32_t map_width = 80;
    int32_t map_height = 25;
    std::string current_map;
};

extern WorldState world_state;

inline auto& message_lines = world_state.message_lines;
inline std::string& app_title = world_state.app_title;
inline FrameTimer& frame_timer = world_state.frame_timer;
inline int32_t& map_width = world_state.map_width;
inline int32_t& map_height = world_state.map_height;
inline std::string& current_map = world_state.current_map;

// A fresh world: every program-wide object as before start-up, the random generator unseeded, no
// key pending, the framebuffer black and the drawing colour white.
void reset_world();

}  // namespace grotmere
