// Feeds arbitrary bytes to the definition loader as one file held in memory, then clones every
// record it made and writes it as JSON, the two things the game does with loaded records. Run
// from the repository root, an include in the input may open the shipped data files (read only).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "records/record_json.hpp"
#include "run/record_types.hpp"
#include "world/world_state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    register_record_types();
    RecordList records;
    std::vector<char> bytes(data, data + size);
    read_definitions_from_bytes(records, "fuzz.bif", std::move(bytes));
    records.for_each([](RecordRef& record) {
        RecordRef copy = clone_record(*record);
        (void)record_to_json(*copy).dump();
    });
    // Cameras made by the input join the program-wide list; one run must not feed the next.
    cameras->clear();
    return 0;
}
