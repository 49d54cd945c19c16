#include "aids/picture_notices.hpp"

#include "platform/drawing.hpp"
#include "platform/key_codes.hpp"
#include "view/prompt_box.hpp"

namespace grotmere {

namespace {

constexpr size_t kLongestLine = 90;

// The notice's words in lines that fit the box, broken between words.
std::vector<std::string> broken_into_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t space = text.find(' ', at);
        const size_t end = space == std::string::npos ? text.size() : space;
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > kLongestLine) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word.substr(0, kLongestLine);
        at = end + 1;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

bool dismissed(KeyboardState& keys) {
    bool hit = false;
    for (int32_t code : {key::kReturn, key::kSpace, key::kEscape})
        hit |= keys.take_hits(code) > 0;
    return hit;
}

}  // namespace

void PictureNotices::notify(const std::string& text, const std::string& title) {
    if (!armed_) return window_.notify(text, title);
    // A run no one looks at has no picture to draw in.
    if (pixels_wanted()) {
        // The words stand out as the box's title, as a system box gives them its body.
        std::vector<std::string> lines = broken_into_lines(text);
        const std::string first = lines.front();
        lines.erase(lines.begin());
        draw_prompt_box(PromptBox{first, lines, "Return: go on"});
        window_.present(framebuffer());
    }
    if (wait_ == Wait::ForAKey) return wait_for_a_key();
    window_.notify(text, title);
}

void PictureNotices::wait_for_a_key() {
    own_keys_.clear_all();
    FrameTimer timer{20, window_.clock_ms(), 0};
    for (;;) {
        window_.wait_for_tick(timer, own_keys_);
        if (own_keys_.take_close_request() != 0) {
            close_pending_ = true;
            return;
        }
        if (dismissed(own_keys_)) return;
    }
}

void PictureNotices::hand_on_close(KeyboardState& keys) {
    if (!close_pending_) return;
    close_pending_ = false;
    keys.request_close();
}

void PictureNotices::pump_events(KeyboardState& keys) {
    hand_on_close(keys);
    window_.pump_events(keys);
}

int32_t PictureNotices::wait_for_tick(FrameTimer& timer, KeyboardState& keys) {
    hand_on_close(keys);
    return window_.wait_for_tick(timer, keys);
}

}  // namespace grotmere
