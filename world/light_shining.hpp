// How a light shines: the cells in its reach whose line to the light is clear get its shares,
// fewer the farther they lie. Lights of small reach, the usual kind, are shone with the masks of
// world/sight_masks.hpp, others by walking each line; both give the walk's answer. The rule of
// when a light shines is in world/light.cpp.
#pragma once

#include <cstdint>

namespace grotmere {

class TLeuchte;

// Every line ends on the light's own cell, so a light outside the map lights nothing; a light of
// negative reach lights nothing either.
void shine_light(const TLeuchte& light, int32_t x, int32_t y);

}  // namespace grotmere
