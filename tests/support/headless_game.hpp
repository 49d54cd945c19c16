// A fresh world on the headless backend for every test, put back afterwards, so tests never see
// each other's state.
#pragma once

#include <gtest/gtest.h>

#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "run/main_loop.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {

class HeadlessGame : public ::testing::Test {
protected:
    void SetUp() override {
        reset_world();
        set_window_aids(WindowAids{});
        set_backend(&backend);
        // A frame the main loop skips as unchanged must be the one it would have drawn.
        check_unchanged_frames(true);
    }
    void TearDown() override {
        check_unchanged_frames(false);
        set_backend(nullptr);
        set_window_aids(WindowAids{});
        reset_world();
    }

    // One pass of the real main loop with this input arriving during its timer wait.
    PassResult pass(PassInput input = {}) {
        backend.queue_pass(std::move(input));
        return run_pass();
    }

    static InputEvent hit(int32_t code) { return {InputEvent::Kind::Hit, code}; }
    static InputEvent press(int32_t code) { return {InputEvent::Kind::Press, code}; }
    static InputEvent release(int32_t code) { return {InputEvent::Kind::Release, code}; }

    HeadlessBackend backend;
};

}  // namespace grotmere::testing
