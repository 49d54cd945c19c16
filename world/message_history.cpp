#include "world/message_history.hpp"

#include <algorithm>
#include <cstdint>

#include "base/byte_stream.hpp"

namespace grotmere {

std::string_view MessageHistory::keep(size_t slot, std::string_view text) {
    if (text.size() <= kSlot) {
        char* place = slots_.get() + slot * kSlot;
        std::copy(text.begin(), text.end(), place);
        return {place, text.size()};
    }
    if (long_lines_.empty()) long_lines_.resize(kCap);
    return long_lines_[slot].assign(text);
}

void MessageHistory::reserve_storage() {
    if (slots_) return;
    // Left unfilled, as make_unique_for_overwrite would, which the browser's library lacks.
    slots_.reset(new char[kCap * kSlot]);
    entries_.reserve(kCap);
}

void MessageHistory::add(std::string_view text) {
    ++version_;
    if (!entries_.empty() && newest().text == text) {
        // A count that would wrap stays at its largest; the line is still there.
        if (newest().count < INT32_MAX) ++newest().count;
        return;
    }
    reserve_storage();
    if (entries_.size() < kCap) {
        entries_.push_back(Entry{keep(entries_.size(), text), 1});
        return;
    }
    Entry& dropped = entries_[oldest_];
    dropped.text = keep(oldest_, text);
    dropped.count = 1;
    oldest_ = (oldest_ + 1) % kCap;
}

std::string MessageHistory::line(size_t index) const {
    const Entry& entry = at(index);
    if (entry.count == 1) return std::string(entry.text);
    return std::string(entry.text) + " (x" + std::to_string(entry.count) + ")";
}

void MessageHistory::write_to(ByteWriter& out) const {
    out.unsigned_number(size());
    for (size_t k = 0; k < size(); ++k) {
        out.text(at(k).text);
        out.number(at(k).count);
    }
    out.unsigned_number(version_);
}

bool MessageHistory::read_from(ByteReader& in) {
    MessageHistory read;
    read.reserve_storage();
    const size_t entries = in.count(kCap);
    for (size_t k = 0; k < entries && !in.failed(); ++k) {
        const std::string_view text = in.text(in.left());
        const int32_t count = in.int32();
        if (count < 1) in.fail();
        if (in.failed()) break;
        read.entries_.push_back(Entry{read.keep(k, text), count});
    }
    read.version_ = in.unsigned_number();
    if (in.failed()) return false;
    *this = std::move(read);
    return true;
}

}  // namespace grotmere
