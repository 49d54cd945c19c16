// Keyboard state in the Windows virtual-key code set: a down flag and a hit count per code 0-255.
// Backends turn their events into press, release and focus calls; the game reads it through
// key_hit and key_down. A hit is counted on the press itself, so a key pressed and released
// between two passes is still one hit, and a repeated press of a held key counts nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

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

// Sees every press and release before the game and any listener do. A key it takes is the
// window's own: it is neither counted nor told, so a recording never holds it.
class KeyGate {
public:
    virtual ~KeyGate() = default;
    virtual bool takes_press(int32_t code) = 0;
    virtual bool takes_release(int32_t code) = 0;
};

// Where the mouse points, in the picture's own pixels, and the clicks of its left button.
struct PointerState {
    bool inside = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t clicks = 0;
    uint64_t moves = 0;  // changes whenever it moves or clicks
};

class KeyboardState {
public:
    static constexpr int32_t kCodes = 256;
    // Presses waiting for a later pass while one press per pass is handed over.
    static constexpr size_t kWaitingPresses = 16;

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

    // Null takes nothing.
    void set_gate(KeyGate* gate) { gate_ = gate; }
    // A hit handed over by the window itself, told to the listener as the player's own; neither
    // the gate nor the queue of waiting presses holds it back.
    void hand_over_hit(int32_t code);
    // The same for a key held down and let go later, as a modifier the window holds for the player.
    void hand_over_press(int32_t code);
    void hand_over_release(int32_t code);

    // On, a pass is handed at most one press of a key that is not Shift, Ctrl or Alt: those that
    // come faster wait, up to kWaitingPresses, in the order they came, and so do the events after
    // them. begin_pass hands over what waits for the next pass.
    void set_one_press_per_pass(bool on);
    void begin_pass();
    size_t waiting_presses() const;

    PointerState& pointer() { return pointer_; }

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

    // Takes the keys, hits, waiting presses and pointer of a copy made earlier (a snapshot of the
    // game); the listener and the gate stay as they are.
    void put_back(const KeyboardState& kept) {
        KeyboardListener* const listener = listener_;
        KeyGate* const gate = gate_;
        *this = kept;
        listener_ = listener;
        gate_ = gate;
    }

private:
    struct Waiting {
        bool press = false;
        int32_t code = 0;
    };

    static bool valid(int32_t code) { return code >= 1 && code < kCodes; }
    static bool modifier(int32_t code) { return code >= 160 && code <= 165; }
    void apply_press(int32_t code);
    void apply_release(int32_t code);
    // True when the event must wait for a later pass (or is dropped for want of room).
    bool held_back(bool press, int32_t code);

    std::array<bool, kCodes> down_{};
    std::array<int32_t, kCodes> hits_{};
    std::array<int32_t, kCodes> alt_hits_{};
    bool close_pending_ = false;
    uint64_t version_ = 0;
    KeyboardListener* listener_ = nullptr;
    KeyGate* gate_ = nullptr;
    bool one_press_per_pass_ = false;
    bool pass_has_press_ = false;
    std::deque<Waiting> waiting_;
    PointerState pointer_;
};

}  // namespace grotmere
