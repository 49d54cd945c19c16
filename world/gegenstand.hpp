// TGegenstand, the base of every item: weapons, armour, ammunition, potions, light sources, keys
// and doors. Item prototypes are records of this family loaded from the item file; every item in
// play is a clone of one. Items are owned by the one list, slot or field that holds them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record.hpp"

namespace grotmere {

class TGegenstand : public Record {
public:
    // A copy of the first item prototype of exactly that name, or null.
    static std::shared_ptr<TGegenstand> create_from_proto(const std::string& name);
    // The first item prototype of exactly that name, which create_from_proto copies, or null.
    static std::shared_ptr<TGegenstand> find_proto(const std::string& name);

    std::string name;
    int32_t preis = 0;
    int32_t anzahl = 1;  // pieces in this stack
    int32_t x = 0;
    int32_t y = 0;
};

}  // namespace grotmere
