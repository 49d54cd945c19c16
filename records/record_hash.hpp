// Records folded into a fingerprint through the registry, field by field as record_json writes
// them: the same fields in the same order, the same nesting, back references and records met
// again named by their type, so a digest sees whatever a dump shows. Nothing is made by reading:
// a value made the first time it is asked for reads as what would be made.
//
// Each type is read by a plan made the first time a record of it is hashed: a number or text that
// is a plain member of the record is read at its place, every other field through its access.
// Checked, each record is also read the plain way and the two compared: a difference throws
// std::logic_error.
#pragma once

#include <cstddef>
#include <vector>

#include "base/lane_hash.hpp"
#include "records/record.hpp"

namespace grotmere {

class TField;
class TTypeId;

enum class PlanCheck { Off, On };

class RecordHasher {
public:
    explicit RecordHasher(LaneHash& hash, PlanCheck check = PlanCheck::Off);

    // A record that may be absent (null).
    void record(const Record* record);
    void list(const RecordList* list);
    // One field of a record known to be of its owning type, read through the field's access.
    void field(const Record& record, const TField& field);

    struct Step {
        const TField* field = nullptr;
        std::ptrdiff_t place = -1;  // a plain member's distance from the record's start
    };
    struct Plan {
        uint64_t mark = 0;  // the type's place in the registry, which never changes
        std::vector<Step> steps;
    };
    // The plan of a record's own type.
    static const Plan& plan_of(const TTypeId& type, const Record& example);

private:
    void fields_by_plan(const Record& record, const Plan& plan);
    void step(const Record& record, const Step& step);
    void reference(const Record& record, const TField& field);
    void check_plan(const Record& record, const Plan& plan);

    LaneHash& hash_;
    PlanCheck check_;
    std::vector<const Record*> path_;
};

}  // namespace grotmere
