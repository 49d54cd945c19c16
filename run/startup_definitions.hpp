// The start-up steps that read definition files: the item and monster prototypes, then (after
// the map) the key bindings and the player. Called by start_game only. A file that cannot be
// opened, or a binding or player file that does not begin with its record, stops the start with
// a failure naming the file and what is missing; problems inside a file are only reported.
#pragma once

#include <optional>
#include <string>

#include "run/startup.hpp"

namespace grotmere {

inline const std::string kItemFile = "bifs/gegenstand.bif";
inline const std::string kMonsterFile = "bifs/prototypen.bif";
inline const std::string kBindingFile = "bifs/Tastatur.bif";
inline const std::string kPlayerFile = "bifs/player.bif";

// Fills item_prototypes, then monster_prototypes.
std::optional<StartupFailure> load_prototypes();
// Fills binding_list and sets bindings, then player_list and player.
std::optional<StartupFailure> load_bindings_and_player();

}  // namespace grotmere
