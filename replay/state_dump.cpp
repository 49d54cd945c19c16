#include "replay/state_dump.hpp"

#include "base/text.hpp"
#include "records/record_json.hpp"
#include "replay/state_roots.hpp"
#include "world/karten_tile.hpp"

namespace grotmere {

namespace {

Json texts_to_json(const std::string* first, size_t count) {
    Json array = Json::array();
    for (size_t k = 0; k < count; ++k)
        array.push_back(latin1_to_utf8(first[k]));
    return array;
}

// Each root under its name; each tile with its position added.
class DumpReader : public StateReader {
public:
    explicit DumpReader(Json& dump) : dump_(dump) {}
    void number(const char* name, int64_t value) override { dump_[name] = value; }
    void text(const char* name, const std::string& text) override {
        dump_[name] = latin1_to_utf8(text);
    }
    void texts(const char* name, const std::string* first, size_t count) override {
        dump_[name] = texts_to_json(first, count);
    }
    void record(const char* name, const Record* record) override {
        dump_[name] = record ? record_to_json(*record) : Json(nullptr);
    }
    void list(const char* name, const RecordList& list) override {
        dump_[name] = list_to_json(list);
    }
    void tiles(const char* name) override {
        Json array = Json::array();
        for_each_map_tile([&array](int32_t x, int32_t y, const TKartenTile& tile) {
            Json entry = record_to_json(tile);
            entry["x"] = x;
            entry["y"] = y;
            array.push_back(std::move(entry));
        });
        dump_[name] = std::move(array);
    }
    void random_state(int32_t) override {}

private:
    Json& dump_;
};

}  // namespace

Json dump_state(const RunSummary& run) {
    Json dump;
    dump["passes"] = run.passes;
    dump["turns"] = run.turns;
    dump["ended"] = run.ended;
    dump["notices"] = texts_to_json(run.notices.data(), run.notices.size());
    DumpReader reader(dump);
    read_state_roots(reader);
    return dump;
}

}  // namespace grotmere
