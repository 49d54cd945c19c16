// What the frame draws from outside the map's tiles and the world's lists, stated beside the
// drawing: the main loop notes these inputs when it draws a frame, and does not even look at the
// next frame while they, the turn and the missiles are as they were. Anything new the view draws
// that can change outside a turn joins the list in frame_inputs.cpp, or a skipped frame shows a
// stale picture; the simulator, the tests, the soak and the whole-game fuzzer throw when one would.
#pragma once

#include "world/world_state.hpp"

namespace grotmere {

FrameMarks frame_inputs();

}  // namespace grotmere
