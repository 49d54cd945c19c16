// Every test runs with the game's record types described, as the game does from its first step.
#include "run/record_types.hpp"

namespace {

const bool described = (grotmere::register_record_types(), true);

}  // namespace
