// A user session on the converter: the bytes become mode clicks, typed codes,
// pastes, edits and guard ticks played on MemoryConverterView, and after every
// step the window's invariants hold:
//   - exactly one mode is checked;
//   - every change of the input starts exactly one click, and nothing else does
//     (a mode click counts as one change, also on an empty input);
//   - after every change the result line is the checked mode's conversion of
//     the input, and after a mode click both are empty;
//   - a refused character changes nothing;
//   - after a tick the input is within the source base's range and the length
//     limit is the base's.
#include <cstdlib>
#include <string>

#include "converter/memory_converter_view.h"
#include "fuzz_support.h"
#include "primitives/primitives.h"
#include "radix/radix.h"

namespace {

using namespace vantrigo;

enum class Step {
    ClickMode,
    TypeAscii,
    TypeAnyCode,
    Backspace,
    Paste,
    SetText,
    Clear,
    Tick,
    Count
};

constexpr std::int32_t kBackspace = 8;

// What the user sees of each source base.
struct BaseRules {
    SourceBase source;
    std::string_view digits;  // the characters typing lets in, beside Backspace
    std::int32_t limit;
    // The input is one the mode reads without going past 2147483647.
    bool (*withinRange)(const std::string& input);
};

constexpr BaseRules kRules[] = {
    {SourceBase::Hex, "0123456789ABCDEFabcdef", 8,
     [](const std::string& input) { return readHex(input) >= 0; }},
    {SourceBase::Dec, "0123456789", 10,
     [](const std::string& input) { return !realGreater(textToNumber(input), 2147483647.0); }},
    {SourceBase::Oct, "01234567", 11,
     [](const std::string& input) { return !realGreater(textToNumber(input), 17777777777.0); }},
    {SourceBase::Bin, "01", 31, [](const std::string&) { return true; }},
};

const BaseRules& rulesOf(SourceBase source) {
    for (const BaseRules& rules : kRules) {
        if (rules.source == source) return rules;
    }
    std::abort();
}

bool passes(const BaseRules& rules, std::int32_t code) {
    return code == kBackspace ||
           (code > 0 && code < 128 &&
            rules.digits.find(static_cast<char>(code)) != std::string_view::npos);
}

std::string conversion(ConversionMode mode, const std::string& input) {
    const ModeInfo& info = modeInfo(mode);
    return info.write(info.read(input));
}

void checkOneModeChecked(const MemoryConverterView& view) {
    int checked = 0;
    for (const ModeInfo& mode : kConversionModes) {
        if (view.isModeChecked(mode.mode)) {
            ++checked;
            FUZZ_CHECK(mode.mode == view.checkedMode());
        }
    }
    FUZZ_CHECK(checked == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader reader(data, size);
    MemoryConverterView view(
        static_cast<ConversionMode>(1 + reader.byte() % kConversionModes.size()));

    while (!reader.empty()) {
        const std::string inputBefore = view.input();
        const std::string resultBefore = view.result();
        const std::int64_t clicksBefore = view.clickCount();
        const BaseRules& rules = rulesOf(modeInfo(view.checkedMode()).source);
        bool changeCounts = true;  // clicks follow changes of the input

        const auto step = static_cast<Step>(reader.byte() % static_cast<int>(Step::Count));
        switch (step) {
            case Step::ClickMode: {
                view.clickMode(
                    static_cast<ConversionMode>(1 + reader.byte() % kConversionModes.size()));
                FUZZ_CHECK(view.input().empty() && view.result().empty());
                FUZZ_CHECK(view.clickCount() == clicksBefore + 1);
                changeCounts = false;
                break;
            }
            case Step::TypeAscii:
            case Step::TypeAnyCode: {
                const std::int32_t code =
                    step == Step::TypeAscii ? reader.byte() % 128 : reader.integer<std::int32_t>();
                const CharVerdict verdict = view.typeCharacter(code);
                FUZZ_CHECK((verdict == CharVerdict::Pass) == passes(rules, code));
                if (verdict == CharVerdict::Refuse) FUZZ_CHECK(view.input() == inputBefore);
                break;
            }
            case Step::Backspace:
                view.typeCharacter(kBackspace);
                break;
            case Step::Paste: {
                view.paste(reader.text());
                // The limit holds for pasting: the text grows at most to it.
                if (view.lengthLimit() && view.input().size() > inputBefore.size()) {
                    FUZZ_CHECK(view.input().size() <=
                               static_cast<std::size_t>(*view.lengthLimit()));
                }
                break;
            }
            case Step::SetText: {
                // The window's own replacement of the text: a change, also to the same text.
                view.setInputText(reader.text());
                FUZZ_CHECK(view.clickCount() == clicksBefore + 1);
                FUZZ_CHECK(view.result() == conversion(view.checkedMode(), view.input()));
                changeCounts = false;
                break;
            }
            case Step::Clear:
                view.clearInput();
                break;
            case Step::Tick: {
                view.tick();
                FUZZ_CHECK(rules.withinRange(view.input()));
                FUZZ_CHECK(view.lengthLimit() == rules.limit);
                // An input of octal digits that stands reads without wrapping.
                if (rules.source == SourceBase::Oct &&
                    view.input().find_first_not_of("01234567") == std::string::npos) {
                    FUZZ_CHECK(readOct(view.input()) >= 0);
                }
                break;
            }
            case Step::Count:
                break;
        }

        checkOneModeChecked(view);
        if (changeCounts) {
            const bool changed = view.input() != inputBefore;
            FUZZ_CHECK(view.clickCount() == clicksBefore + (changed ? 1 : 0));
            if (changed) {
                FUZZ_CHECK(view.result() == conversion(view.checkedMode(), view.input()));
            } else {
                FUZZ_CHECK(view.result() == resultBefore);
            }
        }
    }
    return 0;
}
