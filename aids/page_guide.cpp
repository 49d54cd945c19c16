#include "aids/page_guide.hpp"

#include <nlohmann/json.hpp>

#include "actors/tastatur.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_prompts.hpp"
#include "aids/window_aids.hpp"
#include "platform/key_codes.hpp"
#include "view/help_overlay.hpp"
#include "view/key_names.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The ordered kind, as the records are written: one kind of JSON in the page, not two.
using Json = nlohmann::ordered_json;

Json key_lines(bool window_aids) {
    Json lines = Json::array();
    if (!bindings) return lines;
    const auto add = [&lines](const std::vector<HelpLine>& help) {
        for (const HelpLine& line : help)
            lines.push_back({{"what", line.what}, {"keys", line.keys}});
    };
    add(binding_help(bindings.get(), SlotLines::Together));
    if (window_aids) add(window_help(bindings.get(), free_window_keys()));
    return lines;
}

Json key(int32_t code) {
    return {{"code", code}, {"key", key_name(code)}};
}

Json command_keys(bool window_aids) {
    Json keys = Json::object();
    for (const Binding& binding : kBindings) {
        if (bindings && (*bindings).*binding.key != 0)
            keys[binding.field] = key((*bindings).*binding.key);
    }
    if (!window_aids) return keys;
    // Return answers the game's questions (go on with a game left unfinished?) and travels.
    // Escape asks whether to end the game, and Y answers yes.
    const std::pair<const char*, int32_t> window_commands[] = {
        {"help", kHelpKey},       {"rest", kRestKey},       {"explore", kExploreKey},
        {"return", key::kReturn}, {"escape", key::kEscape}, {"yes", kYesKey}};
    for (const auto& [name, code] : window_commands) {
        // Before the game has started, Return alone means anything.
        const bool started = bindings != nullptr || code == key::kReturn;
        // Y answers the question whatever the binding file gives it; it asks only with Escape free.
        const int32_t free_code = code == kYesKey ? key::kEscape : code;
        if (started && !key_bound(free_code)) keys[name] = key(code);
    }
    return keys;
}

}  // namespace

std::string page_guide(bool window_aids) {
    return Json{{"keys", key_lines(window_aids)}, {"commands", command_keys(window_aids)}}.dump();
}

}  // namespace grotmere
