// The map overview: the whole map as the player has seen it so far, scaled to fit the window,
// with doors, heaps, teleports, the switches found and the player, and a legend beside it.
#pragma once

namespace grotmere {

// Over the whole window. Leaves the colour white.
void draw_map_overview();

}  // namespace grotmere
