#include "aids/aid_prompts.hpp"

#include <string>
#include <vector>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_errands.hpp"
#include "aids/aid_walk.hpp"
#include "base/text.hpp"
#include "platform/key_codes.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "view/key_names.hpp"
#include "view/look_panel.hpp"
#include "view/prompt_box.hpp"
#include "world/gegenstand.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

struct PromptState {
    Prompt open = Prompt::None;
    std::vector<HeapStack> stacks;        // picking
    std::vector<const TGegner*> targets;  // aiming, nearest first
    size_t aimed = 0;
    bool end_asked_for = false;  // yes: Escape goes to the game in the next aids' pass
    uint64_t version = 0;
};

PromptState& prompts() {
    static PromptState state;
    return state;
}

void open(Prompt prompt) {
    prompts().open = prompt;
    ++prompts().version;
}

bool modifier(int32_t code) {
    return code >= key::kLeftShift && code <= key::kRightAlt;
}

std::string stack_words(int64_t pieces, const std::string& name) {
    return pieces == 1 ? name : std::to_string(pieces) + " " + name + "s";
}

int32_t slot_of_key(int32_t code) {
    if (!bindings || code == 0) return 0;
    for (const Binding& binding : kBindings) {
        if (binding.slot != 0 && (*bindings).*binding.key == code) return binding.slot;
    }
    return 0;
}

int32_t key_of_slot(int32_t slot) {
    for (const Binding& binding : kBindings) {
        if (binding.slot == slot) return (*bindings).*binding.key;
    }
    return 0;
}

bool alive(const TGegner* monster) {
    return monsters->any_of<TGegner>([monster](const TGegner& m) { return &m == monster; });
}

void end_key(int32_t code) {
    if (code == kYesKey) prompts().end_asked_for = true;
    close_prompt();
}

void pick_key(int32_t code) {
    const std::vector<HeapStack>& stacks = prompts().stacks;
    const int32_t chosen = code - key::letter('a');
    const bool letter = code >= key::letter('a') && code <= key::letter('z');
    if (letter && chosen < static_cast<int32_t>(stacks.size()))
        start_pick(stacks[static_cast<size_t>(chosen)].name);
    close_prompt();
}

void drop_key(int32_t code) {
    if (const int32_t slot = slot_of_key(code)) start_drop(slot);
    close_prompt();
}

void target_key(int32_t code) {
    PromptState& state = prompts();
    if (code == key::kTab || code == kFireKey) {
        state.aimed = (state.aimed + 1) % state.targets.size();
        ++state.version;
        return;
    }
    if (code == key::kReturn && alive(state.targets[state.aimed]) &&
        still_a_target(state.targets[state.aimed]))
        start_fire(*state.targets[state.aimed]);
    close_prompt();
}

// No turn passes while the player aims, but missiles still fly: a target they kill is gone.
void forget_the_fallen(PromptState& state) {
    const size_t before = state.targets.size();
    std::erase_if(state.targets, [](const TGegner* target) { return !alive(target); });
    if (state.targets.size() == before) return;
    ++state.version;
    state.aimed = 0;
    if (state.targets.empty()) {
        close_prompt();
        walk_say("Nothing left to shoot at.");
    }
}

PromptBox end_box() {
    return PromptBox{
        "End this game? (y/n)",
        {"y: end it; its morgue file and the hall of fame keep it.", "Any other key: play on."},
        ""};
}

PromptBox pick_box() {
    PromptBox box{"PICK UP WHICH?", {}, "A letter takes it; Escape: nothing."};
    char letter = 'a';
    for (const HeapStack& stack : prompts().stacks)
        box.lines.push_back(std::string(1, letter++) + "  " +
                            stack_words(stack.pieces, stack.name));
    box.lines.push_back("");
    box.lines.push_back("The rest is picked up too and put down here again.");
    return box;
}

PromptBox drop_box() {
    PromptBox box{"DROP A WHOLE STACK", {}, "A slot's key drops all of it; Escape: nothing."};
    for (int32_t slot = 1; slot <= kInventorySlots; ++slot) {
        const std::shared_ptr<TGegenstand>& item =
            (*player->inventory)[static_cast<size_t>(slot - 1)];
        if (item)
            box.lines.push_back(key_name(key_of_slot(slot)) + "  " +
                                stack_words(item->anzahl, item->name));
    }
    return box;
}

}  // namespace

Prompt open_prompt() {
    return prompts().open;
}

void ask_to_end() {
    open(Prompt::EndGame);
}

void offer_pick() {
    if (!player) return;
    PromptState& state = prompts();
    state.stacks = stacks_around();
    if (state.stacks.empty()) return walk_say("No items around to pick up.");
    if (state.stacks.size() == 1) return start_pick(state.stacks.front().name);
    open(Prompt::Pick);
}

void ask_drop() {
    if (!player || !bindings) return;
    for (const std::shared_ptr<TGegenstand>& item : *player->inventory) {
        if (item) return open(Prompt::Drop);
    }
    walk_say("Nothing in the pack to drop.");
}

void aim() {
    if (!player || !bindings) return;
    std::string why;
    PromptState& state = prompts();
    state.targets = shot_targets(why);
    state.aimed = 0;
    if (state.targets.empty()) return walk_say(why);
    open(Prompt::Target);
}

void prompt_key(int32_t code) {
    if (modifier(code)) return;
    switch (prompts().open) {
        case Prompt::EndGame:
            return end_key(code);
        case Prompt::Pick:
            return pick_key(code);
        case Prompt::Drop:
            return drop_key(code);
        case Prompt::Target:
            return target_key(code);
        case Prompt::None:
            break;
    }
}

void close_prompt() {
    PromptState& state = prompts();
    state.open = Prompt::None;
    state.stacks.clear();
    state.targets.clear();
    ++state.version;
}

void prompt_pass() {
    PromptState& state = prompts();
    if (state.open == Prompt::Target) forget_the_fallen(state);
    if (!state.end_asked_for) return;
    state.end_asked_for = false;
    keyboard().hand_over_hit(key::kEscape);
}

uint64_t prompt_version() {
    return prompts().version;
}

std::optional<MapCell> target_cell() {
    const PromptState& state = prompts();
    if (state.open != Prompt::Target || !alive(state.targets[state.aimed])) return std::nullopt;
    const TGegner* target = state.targets[state.aimed];
    return MapCell{target->x, target->y};
}

void draw_prompt() {
    const PromptState& state = prompts();
    switch (state.open) {
        case Prompt::EndGame:
            return draw_prompt_box(end_box());
        case Prompt::Pick:
            return draw_prompt_box(pick_box());
        case Prompt::Drop:
            return draw_prompt_box(drop_box());
        case Prompt::Target: {
            const std::optional<MapCell> cell = target_cell();
            if (!cell) return;
            const std::string heading =
                "TARGET " + int_to_text(static_cast<int32_t>(state.aimed) + 1) + " OF " +
                int_to_text(static_cast<int32_t>(state.targets.size()));
            return draw_look_panel(cell->x, cell->y, "Return shoots; F, Tab: next; Esc: none",
                                   heading);
        }
        case Prompt::None:
            break;
    }
}

}  // namespace grotmere
