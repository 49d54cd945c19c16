// Feeds arbitrary bytes to the key-script and recording reader: a script is refused or checked
// whole, its passes walked by the cursor are as many as it says, its checkpoints stand in order
// within them, and the text it keeps (cut where a recording was cut short) reads again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/key_script.hpp"

namespace {

// Walked in full only when short: "pass 1000000000" is a valid script.
constexpr int64_t kMostWalked = 20000;

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    ScriptParse parsed = parse_key_script(std::string(reinterpret_cast<const char*>(data), size));
    if (parsed.error) return 0;
    const KeyScript& script = parsed.script;
    int64_t last = 0;
    for (const Checkpoint& checkpoint : script.checkpoints) {
        require(checkpoint.pass >= last && checkpoint.pass <= script.total_passes());
        last = checkpoint.pass;
    }
    if (script.total_passes() <= kMostWalked) {
        ScriptCursor cursor(script);
        int64_t walked = 0;
        while (cursor.next())
            ++walked;
        require(walked == script.total_passes());
    }
    ScriptParse again = parse_key_script(script.text);
    require(!again.error && again.script.total_passes() == script.total_passes() &&
            again.script.checkpoints.size() == script.checkpoints.size() &&
            again.script.seed == script.seed);
    return 0;
}
