// TBuff, a timed modifier of one field of the player or a monster. The owner's buff list owns the
// buff; `ziel` points back at the owner without owning it, since an owning back reference would
// keep owner and buff alive for ever.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/record.hpp"

namespace grotmere {

class TBuff : public Record {
public:
    // phase 0: the per-turn tick; any other: the per-pass tick of silent corrections.
    static int32_t update(int32_t phase);

    int32_t multi = 0;  // 1 = per-turn effect, 0 = lasting modifier
    int32_t wirkzeit = 0;
    int32_t wert = 0;
    int32_t startwert = 0;
    const TField* variable = nullptr;
    const TTypeId* wer = nullptr;
    std::weak_ptr<Record> ziel;
    std::string operand;
    int32_t silent = 0;
};

}  // namespace grotmere
