// TMobiliar, a piece of furniture that may stand in a tile's object list.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.hpp"

namespace grotmere {

class TMobiliar : public Record {
public:
    std::string name;
    int32_t blocks = 0;  // 1 = the piece blocks its tile
    std::string beschreibung;
};

}  // namespace grotmere
