#include "records/record_list.hpp"

#include <algorithm>

namespace grotmere {

void RecordList::append(RecordRef record) {
    if (!record) return;
    slots_.push_back(std::move(record));
    if (watched_) ++watched_changes_;
}

bool RecordList::remove(const Record* record) {
    if (record == nullptr) return false;
    auto found = std::find_if(slots_.begin(), slots_.end(),
                              [record](const RecordRef& slot) { return slot.get() == record; });
    if (found == slots_.end()) return false;
    if (watched_) ++watched_changes_;
    // While a walk runs the slot is only emptied, so the walk's position stays meaningful.
    if (active_walks_ > 0) {
        found->reset();
        has_holes_ = true;
    } else {
        slots_.erase(found);
    }
    return true;
}

bool RecordList::remove_visited(const Record* record) {
    if (record == nullptr || active_walks_ == 0 || visiting_ >= slots_.size() ||
        slots_[visiting_].get() != record)
        return remove(record);
    if (watched_) ++watched_changes_;
    // A walk is running: the slot is emptied, and the walk's end closes the gaps in one sweep.
    slots_[visiting_].reset();
    has_holes_ = true;
    return true;
}

void RecordList::clear() {
    if (watched_) ++watched_changes_;
    if (active_walks_ == 0) {
        slots_.clear();
        return;
    }
    for (RecordRef& slot : slots_)
        slot.reset();
    has_holes_ = true;
}

bool RecordList::contains(const Record* record) const {
    return record != nullptr &&
           std::any_of(slots_.begin(), slots_.end(),
                       [record](const RecordRef& slot) { return slot.get() == record; });
}

int32_t RecordList::count() const {
    return static_cast<int32_t>(std::count_if(slots_.begin(), slots_.end(),
                                              [](const RecordRef& slot) { return bool(slot); }));
}

RecordRef RecordList::first() const {
    for (const RecordRef& slot : slots_) {
        if (slot) return slot;
    }
    return nullptr;
}

std::vector<RecordRef> RecordList::records() const {
    std::vector<RecordRef> result;
    for (const RecordRef& slot : slots_) {
        if (slot) result.push_back(slot);
    }
    return result;
}

void RecordList::end_walk() {
    --active_walks_;
    if (active_walks_ == 0 && has_holes_) {
        std::erase(slots_, nullptr);
        has_holes_ = false;
    }
}

ListRef new_list() {
    return std::make_shared<RecordList>();
}

ListRef new_watched_list() {
    ListRef list = new_list();
    list->watch_changes();
    return list;
}

}  // namespace grotmere
