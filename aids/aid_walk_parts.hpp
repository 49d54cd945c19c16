// What the walking aids share among their files (aid_walk.cpp hands the keys over and stops;
// aid_explore.cpp and aid_errands.cpp choose the keys): the shortest ways over known floor, and
// the press a walk hands over next. Only the aids' own files include it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace grotmere {

class TGegner;

// One press a walk hands the game, or none (key 0) when the walk is done, with what it says then.
struct Handed {
    int32_t key = 0;
    bool with_drop = false;  // the drop key is held down with it
    bool stays = false;      // the press does not move the player (a door opened or unlocked)
    std::string done = {};   // said when the walk ends here
};

inline Handed walk_done(std::string why) {
    return Handed{.done = std::move(why)};
}

size_t cell_index(int32_t x, int32_t y);
bool has_unknown_neighbour(int32_t x, int32_t y);
// The bound key of a step by (dx, dy), or 0.
int32_t key_for_step(int32_t dx, int32_t dy);

// A breadth-first walk over known floor from the player, never onto a teleport or a monster in
// sight; `goal` picks the cells to reach, which may be any cell (a door to open). `reached`
// marks every cell the walk came to, goals included.
struct Reach {
    bool found = false;
    int32_t dx = 0, dy = 0;  // the first step toward the nearest goal
    std::vector<bool> reached;
};
Reach reach_from_player(const std::function<bool(int32_t, int32_t)>& goal);

// explore (aid_explore.cpp): the next press toward the nearest floor never seen or the nearest
// closed door worth opening. `stood_on` and `door_marks` are kept by the walk, one per cell.
Handed explore_press(std::vector<bool>& stood_on, std::vector<uint8_t>& door_marks);

// The errands (aid_errands.cpp).
struct DropErrand {
    int32_t slot = 0;
    std::string name;
    int32_t dropped = 0;
    int32_t left = 0;  // pieces in the slot when the last press was handed
};
Handed drop_press(DropErrand& errand);

struct PickErrand {
    std::string keep;
    bool got = false;                       // the get key was handed
    std::map<std::string, int64_t> before;  // the pack's pieces by name before the get
};
Handed pick_press(PickErrand& errand);

struct FireErrand {
    const TGegner* target = nullptr;  // compared with the monsters alive, never followed blindly
    std::string name;
    bool fired = false;
};
Handed fire_press(FireErrand& errand);

// Whether a line the errand's own presses make.
bool pick_line(const std::string& line);
bool fire_line(const std::string& line);

}  // namespace grotmere
