// Records as JSON, written through the registry for the simulator's state dump: an object with
// the record's "type" and then every field in the registry's order under its declared name.
// Numbers stay numbers, game texts become UTF-8, references nest, lists become arrays. A field
// that names a type or another field is written as that name; a buff's owner as its type name,
// so the dump never walks back up to the record that holds it.
#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

#include "records/record.hpp"

namespace grotmere {

// Records nested deeper than this are written as their type name, which ends any chain of
// references however it is built.
inline constexpr int32_t kMaxJsonNesting = 12;

nlohmann::ordered_json record_to_json(const Record& record);
nlohmann::ordered_json list_to_json(const RecordList& list);

}  // namespace grotmere
