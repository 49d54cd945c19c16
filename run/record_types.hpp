// The game's record types: the table that wires every record of the rules to the field registry.
#pragma once

namespace grotmere {

// Start-up's first step, and the first step of every test, fuzzer and benchmark program: hands the
// table to the registry. Calling it again changes nothing.
void register_record_types();

}  // namespace grotmere
