// The main window's design: for each control its kind, its place in design
// pixels (96 DPI, client coordinates), its design-time caption and font, and
// the window edges it follows when the window is resized. The Win32 window
// creates and lays out its controls from this table; the tests' view starts
// from the same numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "installer/MainView.h"

// What a control is; the window maps each kind to its window class and style.
enum class TDesignClass : std::uint8_t {
  Panel,          // no control: the window paints it
  Picture,        // the logo: a clickable image with a tool tip
  Label,          // static text
  Link,           // static text as a link: sized to its caption, with a tool tip
  GroupBox,       //
  IconList,       // the model list: large icons, one selection
  InfoEdit,       // read-only one-line edit
  DefaultButton,  // the button Enter presses
  Button,         //
  StatusBar,      // one panel across the bottom
};

// The edges a control keeps its distance to when the window is resized.
// Left and right together stretch it; right alone moves it.
enum TAnchor : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

struct TDesignFont {
  const char16_t* Face;  // nullptr: the control's own
  int Pixels;            // height in design pixels
  bool Bold;
};

struct TControlSpec {
  TMainControl Control;
  TDesignClass Class;
  int Left, Top, Right, Bottom;
  const char16_t* Caption;
  TDesignFont Font;
  std::uint8_t Anchors;
  bool Visible;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
};

inline constexpr int kMainDesignWidth = 640, kMainDesignHeight = 469;
inline constexpr int kMainTitleHeight = 99, kMainStatusHeight = 19;
// The design-time size below which the window does not shrink.
inline constexpr int kMainMinWidth = 400, kMainMinHeight = 320;
// A control's identifier: this base plus its position in TMainControl.
inline constexpr int kMainControlIdBase = 100;

namespace maindesign {

inline constexpr TDesignFont kSmall{u"Tahoma", 11, false};
inline constexpr TDesignFont kText{u"Tahoma", 13, false};
inline constexpr TDesignFont kLink{u"Tahoma", 16, false};
inline constexpr TDesignFont kTitle{u"Tahoma", 21, true};
inline constexpr TDesignFont kInfo{u"MS Sans Serif", 13, true};
inline constexpr TDesignFont kNone{nullptr, 0, false};
inline constexpr std::uint8_t kTopLeft = akLeft | akTop;
inline constexpr int kW = kMainDesignWidth, kH = kMainDesignHeight, kT = kMainTitleHeight, kS = kMainStatusHeight;

}  // namespace maindesign

// In TMainControl order. The links are as wide as their design-time captions
// measure; the window sizes them to their captions again when it shows them.
inline constexpr TControlSpec kMainDesign[] = {
    // clang-format off
    {TMainControl::PnlTitle, TDesignClass::Panel, 0, 0, maindesign::kW, maindesign::kT, u"", maindesign::kNone,
     maindesign::kTopLeft | akRight, true},
    {TMainControl::imgLogo, TDesignClass::Picture, 12, 9, 12 + 194, 9 + 64, u"", maindesign::kSmall,
     maindesign::kTopLeft, true},
    {TMainControl::lblMainTitle, TDesignClass::Label, 248, 9, 248 + 399, 9 + 52, u"", maindesign::kTitle,
     maindesign::kTopLeft, true},
    {TMainControl::lblReadGuide, TDesignClass::Link, 248, 67, 248 + 86, 67 + 20, u"Install Guide", maindesign::kLink,
     maindesign::kTopLeft, true},
    {TMainControl::lblReadQuickGuide, TDesignClass::Link, 359, 67, 359 + 80, 67 + 20, u"Quick Guide",
     maindesign::kLink, maindesign::kTopLeft, false},
    {TMainControl::lblReadManual, TDesignClass::Link, 484, 67, 484 + 81, 67 + 20, u"User Manual", maindesign::kLink,
     maindesign::kTopLeft, true},
    {TMainControl::PnlPrinters, TDesignClass::Panel, 0, maindesign::kT, maindesign::kW, maindesign::kH - maindesign::kS,
     u"", maindesign::kNone, maindesign::kTopLeft | akRight | akBottom, true},
    {TMainControl::grpPrinters, TDesignClass::GroupBox, 6, maindesign::kT + 12, 6 + 627, maindesign::kT + 12 + 282,
     u"Select Printer", maindesign::kLink, maindesign::kTopLeft | akRight | akBottom, true},
    {TMainControl::lvPrinters, TDesignClass::IconList, 12, maindesign::kT + 35, 12 + 614, maindesign::kT + 35 + 253,
     u"", maindesign::kText, maindesign::kTopLeft | akRight | akBottom, true},
    {TMainControl::edtInfos, TDesignClass::InfoEdit, 12, maindesign::kT + 300, 12 + 335, maindesign::kT + 324, u"",
     maindesign::kInfo, akLeft | akRight | akBottom, true},
    {TMainControl::btnStart, TDesignClass::DefaultButton, 377, maindesign::kT + 300, 377 + 113, maindesign::kT + 335,
     u"Install", maindesign::kText, akRight | akBottom, true},
    {TMainControl::btnExit, TDesignClass::Button, 512, maindesign::kT + 300, 512 + 113, maindesign::kT + 335, u"E&xit",
     maindesign::kText, akRight | akBottom, true},
    {TMainControl::statBarInfo, TDesignClass::StatusBar, 0, maindesign::kH - maindesign::kS, maindesign::kW,
     maindesign::kH, u"", maindesign::kSmall, akLeft | akRight | akBottom, true},
    // clang-format on
};

constexpr const TControlSpec& MainDesign(TMainControl c) { return kMainDesign[static_cast<int>(c)]; }
constexpr int MainControlId(TMainControl c) { return kMainControlIdBase + static_cast<int>(c); }

constexpr bool MainDesignInControlOrder() {
  for (std::size_t i = 0; i < std::size(kMainDesign); ++i)
    if (static_cast<std::size_t>(kMainDesign[i].Control) != i) return false;
  return std::size(kMainDesign) == static_cast<std::size_t>(TMainControl::statBarInfo) + 1;
}
static_assert(MainDesignInControlOrder());
