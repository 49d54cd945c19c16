// A player game with a small set of item prototypes, for the inventory and treasure tests.
//
//   ItemGame: give(5, "Arrow", 2); pass({hit(slot_key(5))}); heap_at(1, 1)->gold
#pragma once

#include <string>
#include <vector>

#include "actors/treasure.hpp"
#include "records/definition_loader.hpp"
#include "tests/actors/player_game.hpp"
#include "world/gegenstand.hpp"

namespace grotmere::testing {

inline const char* const kTestItems = R"(
TWaffe { name = "Axe"  preis = 20  dmg = 5 }
TWaffe { name = "Sword"  preis = 30  dmg = 4 }
TPanzer { name = "Jerkin"  preis = 15  rs = 1 }
TPanzer { name = "Mail"  preis = 60  rs = 3 }
TTrank { name = "Healing Potion"  preis = 10  wirkung = "hp+10" }
TLeuchte { name = "Torch"  preis = 3  brenndauer = 300 }
TLeuchte { name = "Lamp"  preis = 12  brenndauer = 800 }
TMunition { name = "Arrow"  preis = 1  anzahl = 12  dmg = 1 }
TKey { name = "Iron Key"  key_id = 1 }
TGegenstand { name = "Ruby"  preis = 90 }
)";

class ItemGame : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        prototypes(kTestItems);
    }

    // Replaces the item prototypes by the records of a definition text.
    static void prototypes(const std::string& text) {
        item_prototypes->clear();
        LoadProblems problems = read_definitions_from_bytes(
            *item_prototypes, "items.bif", std::vector<char>(text.begin(), text.end()));
        ASSERT_TRUE(problems.empty()) << problems.front().to_text();
    }

    // A copy of the prototype with that count.
    static std::shared_ptr<TGegenstand> item(const std::string& name, int32_t anzahl = 1) {
        std::shared_ptr<TGegenstand> made = TGegenstand::create_from_proto(name);
        EXPECT_TRUE(made) << "no prototype " << name;
        if (made) made->anzahl = anzahl;
        return made;
    }
    // Puts the item straight into slot k (1 to 10), as if picked up earlier.
    static std::shared_ptr<TGegenstand> give(int32_t slot, const std::string& name,
                                             int32_t anzahl = 1) {
        return slot_item(slot) = item(name, anzahl);
    }
    static std::shared_ptr<TGegenstand>& slot_item(int32_t slot) {
        return (*player->inventory)[static_cast<size_t>(slot - 1)];
    }
    // Fills every empty slot with a distinct plain item.
    static void fill_inventory() {
        for (int32_t k = 1; k <= kInventorySlots; ++k) {
            if (slot_item(k)) continue;
            slot_item(k) = new_record<TGegenstand>();
            slot_item(k)->name = "Pebble " + std::to_string(k);
        }
    }

    static std::shared_ptr<TTreasure> heap_at(int32_t x, int32_t y) {
        std::shared_ptr<TTreasure> found;
        treasures->for_each_of<TTreasure>([&](std::shared_ptr<TTreasure>& heap) {
            if (!found && heap->x == x && heap->y == y) found = heap;
        });
        return found;
    }
    // The heap's items as "name xN", in list order.
    static std::vector<std::string> contents(const TTreasure& heap) {
        std::vector<std::string> lines;
        heap.drop->for_each_of<TGegenstand>([&](std::shared_ptr<TGegenstand>& piece) {
            lines.push_back(piece->name + " x" + std::to_string(piece->anzahl));
        });
        return lines;
    }
};

}  // namespace grotmere::testing
