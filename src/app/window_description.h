// The main window's description: its properties and its twenty controls in
// the order they are created, with their places, texts and looks. Fixed data.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

#include <array>
#include <string_view>

#include "converter/conversion_modes.h"

namespace vantrigo::window {

inline constexpr std::string_view kTitle = "Vantrigo－BY：Tolvasen";

// The window is laid out for a 349 x 398 frame: a 3-pixel fixed border and a
// 23-pixel title bar around this client area. It is centred by the outer size.
inline constexpr QSize kOuterSize{349, 398};
inline constexpr QSize kClientSize{343, 369};

inline constexpr int kTimerIntervalMs = 100;

inline constexpr QRgb kBackground = qRgb(242, 234, 219);
inline constexpr QRgb kControlBackground = qRgb(255, 255, 255);
inline constexpr QRgb kModeTextColour = qRgb(192, 96, 0);
inline constexpr QRgb kAutoCopyTextColour = qRgb(0, 136, 255);
inline constexpr QRgb kInputTextColour = qRgb(255, 0, 0);
inline constexpr QRgb kResultTextColour = qRgb(0, 128, 0);
inline constexpr QRgb kArrowTextColour = qRgb(0, 0, 0);

// "宋体" as the faces that stand for it on a Debian desktop, in order.
inline constexpr std::array<std::string_view, 4> kSongTiFamilies = {
    "SimSun", "AR PL UMing CN", "Noto Serif CJK SC", "serif"};
inline constexpr int kInputFontPixels = 14;
inline constexpr int kResultFontPixels = 14;
inline constexpr int kArrowFontPixels = 12;
inline constexpr int kButtonFontPixels = 12;

enum class Control {
    CopyTimer,
    AutoCopyBox,
    ModeButton,
    GuardTimer,
    AboutButton,
    InstructionsButton,
    ResultLine,
    ArrowLabel,
    InputBox,
};

struct ControlEntry {
    Control control;
    std::string_view name;  // the object name; mode buttons take theirs from the mode table
    QRect geometry;         // in the client area; empty for timers
    std::string_view text;  // mode buttons take their captions from the mode table
    ConversionMode mode = ConversionMode::HexToDec;  // mode buttons only
};

// The description's order: controls are created in it, and the Enter key
// goes by it when it looks for the first default button.
inline constexpr std::array<ControlEntry, 20> kControls{{
    {Control::CopyTimer, "时钟2", {}, {}},
    {Control::AutoCopyBox, "选择框1", {32, 173, 184, 24}, "自动复制转换结果到剪辑版"},
    {Control::ModeButton, {}, {32, 132, 72, 24}, {}, ConversionMode::BinToHex},
    {Control::ModeButton, {}, {135, 132, 72, 24}, {}, ConversionMode::BinToDec},
    {Control::ModeButton, {}, {236, 132, 72, 24}, {}, ConversionMode::BinToOct},
    {Control::ModeButton, {}, {32, 92, 72, 24}, {}, ConversionMode::OctToHex},
    {Control::ModeButton, {}, {135, 92, 72, 24}, {}, ConversionMode::OctToDec},
    {Control::ModeButton, {}, {236, 92, 72, 24}, {}, ConversionMode::OctToBin},
    {Control::ModeButton, {}, {32, 54, 72, 24}, {}, ConversionMode::DecToHex},
    {Control::ModeButton, {}, {135, 54, 72, 24}, {}, ConversionMode::DecToOct},
    {Control::ModeButton, {}, {236, 54, 72, 24}, {}, ConversionMode::DecToBin},
    {Control::ModeButton, {}, {236, 16, 72, 24}, {}, ConversionMode::HexToBin},
    {Control::ModeButton, {}, {135, 16, 72, 24}, {}, ConversionMode::HexToOct},
    {Control::ModeButton, {}, {32, 16, 72, 24}, {}, ConversionMode::HexToDec},
    {Control::GuardTimer, "时钟1", {}, {}},
    {Control::AboutButton, "按钮2", {199, 320, 81, 24}, "关于"},
    {Control::InstructionsButton, "按钮1", {55, 320, 81, 24}, "说明"},
    {Control::ResultLine, "标签1", {35, 276, 272, 24}, {}},
    {Control::ArrowLabel, "透明标签1", {163, 246, 16, 22}, "转"},
    {Control::InputBox, "编辑框1", {35, 215, 272, 24}, {}},
}};

// The mode whose button is checked when the window opens.
inline constexpr ConversionMode kInitialMode = ConversionMode::HexToDec;

}  // namespace vantrigo::window
