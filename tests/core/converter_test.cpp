// The converter controller and its input guards, driven the way the window
// drives them: through MemoryConverterView, and through a view that records
// the order of the controller's calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/converter_controller.h"
#include "converter/memory_converter_view.h"

namespace vantrigo {
namespace {

using Mode = ConversionMode;

constexpr std::int32_t kBackspace = 8;

// Types each byte of keys; '\b' is Backspace.
void typeKeys(MemoryConverterView& view, std::string_view keys) {
    for (char key : keys) view.typeCharacter(static_cast<unsigned char>(key));
}

TEST(Controller, StartsWithHexToDecAndEverythingEmpty) {
    MemoryConverterView view;
    EXPECT_EQ(view.checkedMode(), Mode::HexToDec);
    EXPECT_EQ(view.input(), "");
    EXPECT_EQ(view.result(), "");
    EXPECT_FALSE(view.lengthLimit().has_value());
    EXPECT_EQ(view.clickCount(), 0);
}

TEST(Controller, ModeClickEmptiesInputAndResultWithOneClick) {
    for (Mode next : {Mode::DecToHex, Mode::HexToDec}) {  // another mode, and the same one again
        MemoryConverterView view;
        typeKeys(view, "FF");
        ASSERT_EQ(view.result(), "255");
        const auto clicks = view.clickCount();
        view.clickMode(next);
        EXPECT_EQ(view.checkedMode(), next);
        EXPECT_EQ(view.input(), "");
        EXPECT_EQ(view.result(), "");
        EXPECT_EQ(view.clickCount(), clicks + 1);
    }
}

struct TypingCase {
    Mode mode;
    std::string keys;
    std::string result;
};

// One click per accepted change, and the result of the last change.
TEST(Controller, TypingConvertsEveryChange) {
    const std::vector<TypingCase> cases = {
        {Mode::HexToDec, "F", "15"},
        {Mode::HexToDec, "FF", "255"},
        {Mode::HexToDec, "ff", "255"},
        {Mode::DecToHex, "255", "FF"},
        {Mode::DecToOct, "255", "377"},
        {Mode::DecToBin, "255", "11111111"},
        {Mode::HexToOct, "7FFFFFFF", "17777777777"},
        {Mode::HexToBin, "1f", "11111"},
        {Mode::OctToHex, "17777777777", "7FFFFFFF"},
        {Mode::OctToDec, "777", "511"},
        {Mode::OctToBin, "17", "1111"},
        {Mode::BinToHex, "11111111", "FF"},
        {Mode::BinToDec, std::string(31, '1'), "2147483647"},
        {Mode::BinToOct, "1000", "10"},
        // Above the largest value until the next tick: shown as the reader wraps it.
        {Mode::HexToDec, "FFFFFFFF", "-1"},
        {Mode::DecToHex, "2147483648", "80000000"},
        {Mode::HexToBin, "80000000", ""},
        {Mode::HexToOct, "FFFFFFFF", "-1"},
        // Emptied by Backspace: the conversion of 0.
        {Mode::HexToDec, "1\b", "0"},
        {Mode::DecToHex, "1\b", "0"},
        {Mode::DecToOct, "1\b", ""},
        {Mode::OctToBin, "1\b", ""},
    };
    for (const auto& c : cases) {
        MemoryConverterView view(c.mode);
        typeKeys(view, c.keys);
        EXPECT_EQ(view.result(), c.result) << c.keys;
        EXPECT_EQ(view.clickCount(), static_cast<std::int64_t>(c.keys.size())) << c.keys;
    }
}

TEST(Controller, SetInputTextAlwaysConvertsAndClicks) {
    MemoryConverterView view(Mode::DecToHex);
    view.setInputText("255");
    view.setResultText("stale");
    view.setInputText("255");  // the same text again
    EXPECT_EQ(view.result(), "FF");
    EXPECT_EQ(view.clickCount(), 2);
}

TEST(Controller, PastedTextIsConvertedAsTheReaderReadsIt) {
    const std::vector<TypingCase> cases = {
        {Mode::HexToDec, "0x1F", "31"},
        {Mode::HexToDec, "0X1F", "0"},
        {Mode::DecToHex, "\xA3\xB1\xA3\xB2", "C"},  // full-width 12
        {Mode::DecToHex, "-5", "FFFFFFFB"},
        {Mode::DecToOct, "-9", "-1-1"},
        {Mode::DecToBin, "-1", ""},
        {Mode::OctToDec, "1a", "8"},
        {Mode::BinToDec, "12", "4"},
        {Mode::DecToHex, "xyz", "0"},
    };
    for (const auto& c : cases) {
        MemoryConverterView view(c.mode);
        view.paste(c.keys);
        EXPECT_EQ(view.result(), c.result) << c.keys;
        EXPECT_EQ(view.clickCount(), 1);
    }
}

struct FilterCase {
    Mode mode;
    std::string passes;
    std::string refused;
};

TEST(CharacterFilter, PassesBackspaceAndTheDigitsOfTheSourceBase) {
    const std::vector<FilterCase> cases = {
        {Mode::HexToDec, "0123456789ABCDEFabcdef\b", "GgxX-.:?/@`[ "},
        {Mode::DecToHex, "0123456789\b", "Aa/:+-. "},
        {Mode::OctToDec, "01234567\b", "89/a "},
        {Mode::BinToDec, "01\b", "2/9 "},
    };
    for (const auto& c : cases) {
        MemoryConverterView view(c.mode);
        for (char key : c.passes) {
            EXPECT_EQ(view.controller().onCharTyped(key), CharVerdict::Pass) << key;
        }
        for (char key : c.refused) {
            EXPECT_EQ(view.controller().onCharTyped(key), CharVerdict::Refuse) << key;
        }
    }
}

TEST(CharacterFilter, RefusesControlsAndEverythingBeyondAscii) {
    // Enter, Escape, Tab, space, the clipboard shortcuts, DEL, GBK bytes and a
    // full-width digit as one code, negative codes.
    const std::vector<std::int32_t> refused = {0,   1,   3,     7,     9,    13,   22,
                                               24,  26,  27,    32,    127,  0xA3, 0xB1,
                                               255, 256, 0xFF11, 0xA3B1, -1, -80,  -2147483647 - 1};
    for (const auto& mode : kConversionModes) {
        MemoryConverterView view(mode.mode);
        for (std::int32_t code : refused) {
            EXPECT_EQ(view.controller().onCharTyped(code), CharVerdict::Refuse)
                << mode.caption << ' ' << code;
        }
        EXPECT_EQ(view.controller().onCharTyped(kBackspace), CharVerdict::Pass);
    }
}

TEST(CharacterFilter, RefusedCharacterChangesNothing) {
    MemoryConverterView view(Mode::DecToHex);
    typeKeys(view, "12");
    EXPECT_EQ(view.typeCharacter('a'), CharVerdict::Refuse);
    EXPECT_EQ(view.input(), "12");
    EXPECT_EQ(view.result(), "C");
    EXPECT_EQ(view.clickCount(), 2);
}

struct TickCase {
    Mode mode;
    std::string input;
    std::string inputAfter;
    std::string resultAfter;
    std::int32_t limit;
};

TEST(GuardTick, ReplacesInputsAboveTheLargestValueAndSetsTheLimit) {
    const std::vector<TickCase> cases = {
        {Mode::HexToDec, "FFFFFFFF", "7FFFFFFF", "2147483647", 8},
        {Mode::HexToDec, "80000000", "7FFFFFFF", "2147483647", 8},
        {Mode::HexToBin, "FFFFFFFF0", "7FFFFFFF", std::string(31, '1'), 8},
        {Mode::DecToHex, "2147483648", "2147483647", "7FFFFFFF", 10},
        {Mode::DecToHex, "9999999999", "2147483647", "7FFFFFFF", 10},
        {Mode::DecToOct, "2147483647.5", "2147483647", "17777777777", 10},
        {Mode::DecToHex, "1e10", "2147483647", "7FFFFFFF", 10},
        {Mode::DecToHex, "1e400", "2147483647", "7FFFFFFF", 10},
        {Mode::OctToDec, "20000000000", "17777777777", "2147483647", 11},
        {Mode::OctToDec, "99999999999", "17777777777", "2147483647", 11},
        {Mode::OctToHex, "17777777777.5", "17777777777", "7FFFFFFF", 11},
    };
    for (const auto& c : cases) {
        MemoryConverterView view(c.mode);
        view.paste(c.input);
        const auto clicks = view.clickCount();
        view.tick();
        EXPECT_EQ(view.input(), c.inputAfter) << c.input;
        EXPECT_EQ(view.result(), c.resultAfter) << c.input;
        EXPECT_EQ(view.lengthLimit(), c.limit) << c.input;
        EXPECT_EQ(view.clickCount(), clicks + 1) << c.input;
        view.tick();  // the replacement passes every later tick
        EXPECT_EQ(view.clickCount(), clicks + 1) << c.input;
    }
}

TEST(GuardTick, LeavesInputsWithinRangeAlone) {
    const std::vector<TickCase> cases = {
        {Mode::HexToDec, "7FFFFFFF", "7FFFFFFF", "2147483647", 8},
        {Mode::HexToDec, "ffff", "ffff", "65535", 8},
        {Mode::HexToDec, "0X80000000", "0X80000000", "0", 8},
        {Mode::DecToHex, "2147483647", "2147483647", "7FFFFFFF", 10},
        {Mode::DecToHex, "2147483647.00000001", "2147483647.00000001", "7FFFFFFF", 10},
        {Mode::DecToHex, "-5", "-5", "FFFFFFFB", 10},
        {Mode::DecToHex, "xyz", "xyz", "0", 10},
        {Mode::OctToDec, "17777777777", "17777777777", "2147483647", 11},
        {Mode::OctToDec, "7777777777", "7777777777", "1073741823", 11},
        {Mode::OctToDec, "8", "8", "8", 11},
        {Mode::BinToDec, std::string(32, '1'), std::string(32, '1'), "-1", 31},
        {Mode::BinToHex, "9999999999999", "9999999999999", "11FF7", 31},
    };
    for (const auto& c : cases) {
        MemoryConverterView view(c.mode);
        view.paste(c.input);
        view.tick();
        EXPECT_EQ(view.input(), c.inputAfter) << c.input;
        EXPECT_EQ(view.result(), c.resultAfter) << c.input;
        EXPECT_EQ(view.lengthLimit(), c.limit) << c.input;
        EXPECT_EQ(view.clickCount(), 1) << c.input;
    }
}

TEST(GuardTick, PreviousLimitHoldsUntilTheNextTick) {
    MemoryConverterView view(Mode::BinToHex);
    view.tick();
    view.clickMode(Mode::HexToDec);
    EXPECT_EQ(view.lengthLimit(), 31);
    typeKeys(view, "123456789");  // nine hexadecimal digits fit under 31
    EXPECT_EQ(view.input(), "123456789");
    view.tick();
    EXPECT_EQ(view.lengthLimit(), 8);
    EXPECT_EQ(view.input(), "123456789");  // reads as 0x23456789; longer than the limit, not cut
}

TEST(LengthLimit, TypingAndPastingFillOnlyTheRoomLeft) {
    MemoryConverterView view(Mode::DecToHex);
    view.tick();
    typeKeys(view, "12345678901");
    EXPECT_EQ(view.input(), "1234567890");
    EXPECT_EQ(view.clickCount(), 10);

    view.clearInput();
    view.paste("123");
    view.paste("4567890123");
    EXPECT_EQ(view.input(), "1234567890");
    const auto clicks = view.clickCount();
    view.paste("5");  // no room: no change, no click
    EXPECT_EQ(view.clickCount(), clicks);
}

// A view that records the controller's calls in order.
class RecordingView final : public ConverterView {
public:
    explicit RecordingView(Mode checked) : checked_(checked) {}

    bool isModeChecked(Mode mode) const override { return mode == checked_; }
    std::string inputText() const override { return input_; }
    void setInputText(std::string_view text) override {
        calls.push_back("setInputText " + std::string(text));
        input_ = text;
        controller.onInputChanged();
        calls.push_back("end setInputText");
    }
    void setInputLengthLimit(std::int32_t limit) override {
        calls.push_back("setInputLengthLimit " + std::to_string(limit));
    }
    void setResultText(std::string_view text) override {
        calls.push_back("setResultText " + std::string(text));
    }
    void playClickSound() override { calls.push_back("playClickSound"); }

    std::vector<std::string> calls;
    ConverterController controller{*this};

private:
    Mode checked_;
    std::string input_;
};

TEST(CallOrder, ModeClickConvertsTheEmptyInputThenEmptiesTheResult) {
    RecordingView view(Mode::HexToDec);
    view.controller.onModeClicked();
    const std::vector<std::string> expected = {
        "setInputText ", "playClickSound", "setResultText 0", "end setInputText",
        "setResultText ",
    };
    EXPECT_EQ(view.calls, expected);
}

TEST(CallOrder, ReplacementConvertsBeforeTheLimitIsSet) {
    RecordingView view(Mode::DecToBin);
    view.setInputText("9999999999");
    view.calls.clear();
    view.controller.onGuardTick();
    const std::vector<std::string> expected = {
        "setInputText 2147483647", "playClickSound", "setResultText " + std::string(31, '1'),
        "end setInputText",        "setInputLengthLimit 10",
    };
    EXPECT_EQ(view.calls, expected);
}

TEST(CallOrder, BinaryTickOnlySetsTheLimit) {
    RecordingView view(Mode::BinToOct);
    view.controller.onGuardTick();
    EXPECT_EQ(view.calls, std::vector<std::string>{"setInputLengthLimit 31"});
}

TEST(ModeTable, GroupsOfThreeBySourceBase) {
    const SourceBase order[] = {SourceBase::Hex, SourceBase::Dec, SourceBase::Oct, SourceBase::Bin};
    for (std::size_t i = 0; i < kConversionModes.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kConversionModes[i].mode), i + 1);
        EXPECT_EQ(kConversionModes[i].source, order[i / 3]);
        EXPECT_EQ(&modeInfo(kConversionModes[i].mode), &kConversionModes[i]);
        EXPECT_EQ(kConversionModes[i].buttonName, "单选框" + std::to_string(i + 1));
    }
    EXPECT_EQ(modeInfo(Mode::DecToOct).caption, "十转八");
}

}  // namespace
}  // namespace vantrigo
