// RecordList: the ordered list of record references that every program-wide list and every list
// field is made of. Records are appended at the end and walked in insertion order. A walk stays
// valid when the visited record, or any other, is removed during it: the walk goes on with the
// next record still in the list, and records appended during a walk are visited too, as in a
// linked list. The list owns its records through shared references.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "records/record.hpp"

namespace grotmere {

// What a visitor of for_each may answer; a visitor returning nothing always goes on.
enum class WalkStep { Continue, Stop };

class RecordList {
public:
    // A null reference is never stored: an empty slot marks a removed record during a walk.
    void append(RecordRef record);
    // Makes every later change of this list (append, remove, clear) count in watched_changes():
    // the lists of the map's tiles are watched, so that the indexes kept over them know when a
    // tile gains or loses an object.
    void watch_changes() { watched_ = true; }
    bool watched() const { return watched_; }
    static int64_t watched_changes() { return watched_changes_; }
    // Removes the first occurrence; false when the record is not in the list.
    bool remove(const Record* record);
    bool remove(const RecordRef& record) { return remove(record.get()); }
    // As remove, but in constant time when the record is the one the innermost walk of this list
    // is visiting (a buff running out as the ticks pass over it): that slot is the one emptied.
    bool remove_visited(const Record* record);
    void clear();

    bool contains(const Record* record) const;
    int32_t count() const;
    // Checked for every tile in every turn, so it avoids counting when it can.
    bool empty() const { return has_holes_ ? count() == 0 : slots_.empty(); }
    // The first record, or null for an empty list.
    RecordRef first() const;
    // A copy of the records in order, for callers that need indices.
    std::vector<RecordRef> records() const;

    // Visits every record in order. Each record is held by the walk while it is visited, so a
    // visitor may remove it (or any other) from the list without ending its own life early.
    template <class Visit>
    void for_each(Visit&& visit);

    // As for_each, visiting only the records of type T (or derived from it).
    template <class T, class Visit>
    void for_each_of(Visit&& visit);
    // As for_each_of, visiting only the records that pass `test`, which reads each record without
    // holding it: a walk for the few records on one cell passes over a thousand others cheaply.
    template <class T, class Test, class Visit>
    void for_each_of_where(Test&& test, Visit&& visit);
    // Visits every record of type T in order, as a reader: nothing is held, so the visitor may
    // neither change this list nor end a record's life (the drawing of a frame reads this way).
    template <class T, class Visit>
    void look_at_each(Visit&& visit);

    // The first record of type T, in walk order, that passes the test; null when none does.
    template <class T, class Test>
    std::shared_ptr<T> find_first(Test&& test);
    // Whether a record of type T passes the test; the walk stops at the first that does.
    template <class T, class Test>
    bool any_of(Test&& test) {
        return find_first<T>(std::forward<Test>(test)) != nullptr;
    }

private:
    class WalkGuard;
    void end_walk();

    std::vector<RecordRef> slots_;
    size_t visiting_ = SIZE_MAX;  // the slot the innermost walk visits
    int32_t active_walks_ = 0;
    bool has_holes_ = false;
    bool watched_ = false;
    static inline int64_t watched_changes_ = 0;
};

// The record as a T, or null. A record of exactly type T, as in a list of monsters, is known by
// the address of its type's type_info alone (one per class in the program), without the search
// through its bases that a dynamic_cast makes, nor the comparison of type names that comparing
// two type_info objects may make when they differ.
template <class T>
T* record_as(Record* record) {
    if (record == nullptr) return nullptr;
    if (&typeid(*record) == &typeid(T)) return static_cast<T*>(record);
    return dynamic_cast<T*>(record);
}

ListRef new_list();
// A new list whose changes are counted (RecordList::watch_changes).
ListRef new_watched_list();

class RecordList::WalkGuard {
public:
    explicit WalkGuard(RecordList& list) : list_(list) { ++list_.active_walks_; }
    ~WalkGuard() { list_.end_walk(); }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

private:
    RecordList& list_;
};

template <class Visit>
void RecordList::for_each(Visit&& visit) {
    for_each_of<Record>(std::forward<Visit>(visit));
}

// The record of another type is passed over without being held: taking and dropping a hold is
// an atomic count in a program with threads, and a walk over one kind passes over many others.
template <class T, class Visit>
void RecordList::for_each_of(Visit&& visit) {
    WalkGuard guard(*this);
    // The size is read on every step: the visitor may append, and appending may move the slots,
    // so the visited record is copied out (held) before the call.
    for (size_t i = 0; i < slots_.size(); ++i) {
        T* record = record_as<T>(slots_[i].get());
        if (record == nullptr) continue;
        std::shared_ptr<T> typed(slots_[i], record);
        const size_t outer = std::exchange(visiting_, i);
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, std::shared_ptr<T>&>, WalkStep>) {
            const WalkStep step = visit(typed);
            visiting_ = outer;
            if (step == WalkStep::Stop) return;
        } else {
            visit(typed);
            visiting_ = outer;
        }
    }
}

template <class T, class Test, class Visit>
void RecordList::for_each_of_where(Test&& test, Visit&& visit) {
    WalkGuard guard(*this);
    for (size_t i = 0; i < slots_.size(); ++i) {
        T* record = record_as<T>(slots_[i].get());
        if (record == nullptr || !test(std::as_const(*record))) continue;
        std::shared_ptr<T> typed(slots_[i], record);
        const size_t outer = std::exchange(visiting_, i);
        visit(typed);
        visiting_ = outer;
    }
}

template <class T, class Visit>
void RecordList::look_at_each(Visit&& visit) {
    WalkGuard guard(*this);
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (const T* record = record_as<T>(slots_[i].get())) visit(*record);
    }
}

template <class T, class Test>
std::shared_ptr<T> RecordList::find_first(Test&& test) {
    std::shared_ptr<T> found;
    for_each_of<T>([&](std::shared_ptr<T>& record) {
        if (!test(*record)) return WalkStep::Continue;
        found = record;
        return WalkStep::Stop;
    });
    return found;
}

}  // namespace grotmere
