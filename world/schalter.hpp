// TSchalter, a switch: a "trigger" fires when stepped on, a "button" when used; its wirkung text
// changes a named field of the items called ziel_name around (ziel_x, ziel_y).
#pragma once

#include <cstdint>
#include <string>

#include "shell/record.hpp"

namespace grotmere {

class TSchalter : public Record {
public:
    static int32_t update();
    int32_t parse_wirkung();

    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    std::string art;
    std::string wirkung;
    std::string comment;
    std::string ziel_name;
    int32_t ziel_x = -1;  // -1 = every column
    int32_t ziel_y = -1;  // -1 = every row
};

}  // namespace grotmere
