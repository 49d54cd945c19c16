// Keyboard state in the Windows virtual-key code set: a down flag and a hit count per code 0-255.
// Backends turn their events into press, release and focus calls; the game reads it through
// key_hit and key_down. A hit is counted on the press itself, so a key pressed and released
// between two passes is still one hit, and a repeated press of a held key counts nothing.
#pragma once

#include <array>
#include <cstdint>

namespace grotmere {

// Told of every event a backend hands the keyboard, in order, as the events the simulator's key
// script names: what a recording of a game is made of. Keys outside 1-255 are never told.
class KeyboardListener {
public:
    virtual ~KeyboardListener() = default;
    virtual void pressed(int32_t code) = 0;
    virtual void released(int32_t code) = 0;
    virtual void focus_changed() = 0;
    virtual void close_requested() = 0;
};

class KeyboardState {
public:
    static constexpr int32_t kCodes = 256;

    // The listener must outlive its use; null stops telling.
    void set_listener(KeyboardListener* listener) { listener_ = listener; }

    void press(int32_t code);
    void release(int32_t code);
    // Focus lost or regained: every key is up and no hit is pending.
    void clear_all();
    // Every pending hit is forgotten; keys stay down or up as they are.
    void drop_hits() {
        hits_.fill(0);
        alt_hits_.fill(0);
        ++version_;
    }
    void request_close();

    // Hits since the last call for this code; resets them. Codes outside 1-255 are never hit.
    int32_t take_hits(int32_t code);
    int32_t is_down(int32_t code) const;
    int32_t take_close_request();
    // Hits of this code made while an Alt key (164, 165) was down, since the last call for it;
    // counted apart from take_hits, so a chord typed faster than a pass is still seen whole.
    int32_t take_alt_hits(int32_t code);

    // Changes whenever the state does (or may): two equal readings mean no key went down or up, no
    // hit came or was taken, and no close was asked for in between.
    uint64_t version() const { return version_; }

private:
    static bool valid(int32_t code) { return code >= 1 && code < kCodes; }

    std::array<bool, kCodes> down_{};
    std::array<int32_t, kCodes> hits_{};
    std::array<int32_t, kCodes> alt_hits_{};
    bool close_pending_ = false;
    uint64_t version_ = 0;
    KeyboardListener* listener_ = nullptr;
};

}  // namespace grotmere
