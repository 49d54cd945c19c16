// TBifList, one element of a list value in a definition file, kept until its record's closing
// brace: the element's position (from 1), the field it sets and its text.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.hpp"

namespace grotmere {

class TBifList : public Record {
public:
    int32_t ID = 0;
    const TField* feld = nullptr;
    std::string wert;
};

}  // namespace grotmere
