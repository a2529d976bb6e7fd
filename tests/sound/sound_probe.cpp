// Plays clicks through the program's own sound path and ends, for the tests of
// the real ALSA output. Usage: sound_probe <clicks> <wait|exit>. With "wait" it
// waits for the clicks to end before returning (exit status 3 if they do not);
// with "exit" it returns at once, while they play. It prints nothing.
#include <charconv>
#include <chrono>
#include <string_view>

#include "app/click_sound.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string_view count = argv[1];
    const std::string_view mode = argv[2];
    int clicks = 0;
    const auto parsed = std::from_chars(count.data(), count.data() + count.size(), clicks);
    if (parsed.ec != std::errc() || parsed.ptr != count.data() + count.size() || clicks < 0 ||
        (mode != "wait" && mode != "exit"))
        return 2;

    for (int i = 0; i < clicks; ++i) vantrigo::playClickSound();
    if (mode == "wait" && !vantrigo::waitForSoundsToEnd(std::chrono::minutes(1))) return 3;
    return 0;
}
