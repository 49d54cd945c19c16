#include "view/key_names.hpp"

#include <map>

namespace grotmere {

namespace {

const std::map<int32_t, std::string>& named_codes() {
    static const std::map<int32_t, std::string> names = {
        {8, "Backspace"},    {9, "Tab"},           {13, "Return"},     {19, "Pause"},
        {20, "Caps Lock"},   {27, "Escape"},       {32, "Space"},      {33, "Page Up"},
        {34, "Page Down"},   {35, "End"},          {36, "Home"},       {37, "Left"},
        {38, "Up"},          {39, "Right"},        {40, "Down"},       {45, "Insert"},
        {46, "Delete"},      {106, "Keypad *"},    {107, "Keypad +"},  {109, "Keypad -"},
        {110, "Keypad ."},   {111, "Keypad /"},    {144, "Num Lock"},  {145, "Scroll Lock"},
        {160, "Left Shift"}, {161, "Right Shift"}, {162, "Left Ctrl"}, {163, "Right Ctrl"},
        {164, "Left Alt"},   {165, "Right Alt"},   {186, ";"},         {187, "="},
        {188, ","},          {189, "-"},           {190, "."},         {191, "/"},
        {192, "`"},          {219, "["},           {220, "\\"},        {221, "]"},
        {222, "'"},
    };
    return names;
}

}  // namespace

std::string key_name(int32_t code) {
    if (code == 0) return "-";
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return std::string(1, static_cast<char>(code));
    if (code >= 96 && code <= 105) return "Keypad " + std::to_string(code - 96);
    if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
    if (auto found = named_codes().find(code); found != named_codes().end()) return found->second;
    return "Key " + std::to_string(code);
}

}  // namespace grotmere
