// The root of every record type: the items, monsters, tiles, doors and the rest that data files
// and rules name at run time. Records are held by shared references; a list or a field owns what
// it holds, and a clone shares references and lists with its source. Type and field names live in
// the field registry only (records/field_registry.hpp); a record itself knows nothing of names.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace grotmere {

class TField;
class TTypeId;
class TGegenstand;
class RecordList;

class Record {
public:
    virtual ~Record() = default;

protected:
    Record() = default;
    Record(const Record&) = default;
    Record& operator=(const Record&) = default;
};

using RecordRef = std::shared_ptr<Record>;
using ListRef = std::shared_ptr<RecordList>;

// The player's inventory: ten slots of item references, slot k being element k - 1. The array is
// an object of its own, so a cloned player shares it like a list.
inline constexpr int32_t kInventorySlots = 10;
using ItemArray = std::array<std::shared_ptr<TGegenstand>, kInventorySlots>;
using ItemArrayRef = std::shared_ptr<ItemArray>;

}  // namespace grotmere
