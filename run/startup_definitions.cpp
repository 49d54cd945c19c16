#include "run/startup_definitions.hpp"

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "base/text_file.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

std::optional<StartupFailure> load_required(const ListRef& list, const std::string& file,
                                            const std::string& contents) {
    if (!open_text_file(file)) {
        return StartupFailure{file + " cannot be opened, so the game has no " + contents};
    }
    load_definitions(list, file, 0);
    return std::nullopt;
}

// The game reads its bindings and its player for the whole run, so the file's first record
// must be one; anything else leaves nothing to play with.
template <class T>
std::optional<StartupFailure> first_record_as(const ListRef& list, const std::string& file,
                                              std::shared_ptr<T>& target) {
    target = std::dynamic_pointer_cast<T>(list->first());
    if (target) return std::nullopt;
    return StartupFailure{file + " does not begin with a " + TTypeId::Of<T>().Name() + " record"};
}

}  // namespace

std::optional<StartupFailure> load_prototypes() {
    if (auto failure = load_required(item_prototypes, kItemFile, "item prototypes")) return failure;
    return load_required(monster_prototypes, kMonsterFile, "monster prototypes");
}

std::optional<StartupFailure> load_bindings_and_player() {
    if (auto failure = load_required(binding_list, kBindingFile, "key bindings")) return failure;
    if (auto failure = first_record_as(binding_list, kBindingFile, bindings)) {
        return failure;
    }
    const std::string escape = escape_taken(*bindings);
    if (!escape.empty()) report_load_problems({{kBindingFile, 0, escape}});
    if (auto failure = load_required(player_list, kPlayerFile, "player")) return failure;
    return first_record_as(player_list, kPlayerFile, player);
}

}  // namespace grotmere
