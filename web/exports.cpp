// What the page calls: the fireworks at the size and pixel ratio the page shows them, the
// rules that say what its keys and clicks do, the language it speaks, and the layout, which
// it and its build take from here. Plain C names and numbers only, so the page needs no
// glue code.
#include <array>
#include <cstdint>
#include <string_view>

#include "hostkit/input_rules.h"
#include "hostkit/language.h"
#include "hostkit/window_layout.h"
#include "hostkit/words.h"
#include "page_show.h"

#define PELMIRO_EXPORT(name) extern "C" __attribute__((export_name(#name)))
// An export that answers one value, worked out when it is called.
#define PELMIRO_VALUE(name, type, value) \
  PELMIRO_EXPORT(name) type name() {     \
    return value;                        \
  }

// The only thing the module takes from the page: whole milliseconds since the page
// loaded, as a signed 32-bit number.
extern "C" __attribute__((import_module("env"), import_name("TickCount"))) std::int32_t
PageTickCount();

namespace pelmiro {
namespace {

FireworksShow* page = nullptr;
// What the last key or click does, asked for part by part.
Outcome outcome;
// Where the page writes a key's code (KeyboardEvent.code) or its reader's languages.
std::array<char, 64> keyName{};
std::array<char, 1024> languageList{};

// A browser's mouse buttons: 0 the main one, 1 the middle, 2 the other.
Button ButtonOf(int button) {
  constexpr std::array<Button, 3> Buttons{Button::Left, Button::Middle, Button::Right};
  return button >= 0 && button < static_cast<int>(Buttons.size()) ? Buttons[button] : Button::Other;
}

int Carried(const Outcome& next) {
  outcome = next;
  page->Launch(outcome.launch);
  return outcome.handled ? 1 : 0;
}

}  // namespace

FireworksShow& PageShow() {
  return *page;
}

}  // namespace pelmiro

using namespace pelmiro;

// The field's size is in CSS pixels, shown at devicePixelRatio device pixels each.
PELMIRO_EXPORT(start) void Start(double devicePixelRatio, int width, int height) {
  page = new FireworksShow(PixelLayout::Rgba8, PageTickCount);
  page->Fit(width, height, devicePixelRatio);
  page->Start();
}

// 1 when the picture changed and must be shown again, 0 when the one on screen stands.
PELMIRO_EXPORT(tick) int Tick(double devicePixelRatio, int width, int height) {
  page->Fit(width, height, devicePixelRatio);
  return page->Tick() ? 1 : 0;
}

// The picture's device pixels, and those the last changed picture differs in from the one
// before: the page puts only those.
PELMIRO_VALUE(pixels, std::uintptr_t, reinterpret_cast<std::uintptr_t>(page->Canvas().Pixels()))
PELMIRO_VALUE(width, int, page->Canvas().Width())
PELMIRO_VALUE(height, int, page->Canvas().Height())
PELMIRO_VALUE(changed_left, int, page->Canvas().Changed().left)
PELMIRO_VALUE(changed_top, int, page->Canvas().Changed().top)
PELMIRO_VALUE(changed_width, int, page->Canvas().Changed().width)
PELMIRO_VALUE(changed_height, int, page->Canvas().Changed().height)

// A faster run fill from a module of its own, as an index into this module's function table.
PELMIRO_EXPORT(use_run_fill) void UseRunFill(std::uintptr_t tableIndex) {
  DotCanvas::UseRunFill(reinterpret_cast<DotCanvas::RunFill>(tableIndex));
}

// A key: its code, written at key_name(), whether it repeats, whether Alt is held, whether
// the box has the keys and whether the field fills the screen. Says whether it is spent;
// what else it does, the page asks below.
PELMIRO_VALUE(key_name, char*, keyName.data())
PELMIRO_VALUE(key_name_size, int, static_cast<int>(keyName.size()))

PELMIRO_EXPORT(key) int Key(int length, int repeat, int alt, int inBox, int fullScreen) {
  const KeyPress press{KeyOfCode({keyName.data(), static_cast<std::size_t>(length)}), repeat != 0,
                       alt != 0};
  return Carried(OnKey(press, inBox != 0 ? KeysAt::Box : KeysAt::Field, fullScreen != 0));
}

// A press on the field; a tap is the main button's.
PELMIRO_EXPORT(button) int ButtonPress(int button, int doubleClick) {
  return Carried(OnButton(ButtonOf(button), doubleClick != 0));
}

PELMIRO_VALUE(commit_edit, int, outcome.edit == Outcome::Edit::Commit)
PELMIRO_VALUE(drop_edit, int, outcome.edit == Outcome::Edit::Drop)
PELMIRO_VALUE(enter_full_screen, int, outcome.screen == Outcome::Screen::Enter)
PELMIRO_VALUE(leave_full_screen, int, outcome.screen == Outcome::Screen::Leave)
PELMIRO_VALUE(keys_to_box, int, outcome.keys == Outcome::Keys::ToBox)
PELMIRO_VALUE(keys_to_field, int, outcome.keys == Outcome::Keys::ToField)

// Takes the box's value, returns what the box must show from now on.
PELMIRO_EXPORT(apply_dot_size) double ApplyDotSize(double boxValue) {
  double box = boxValue;
  page->ApplyDotSize([&box] { return box; }, [&box](double value) { box = value; });
  return box;
}

// The reader's languages, most wanted first, as one comma-separated list written at
// language_list(); answers which of the page's languages to speak, in the order of its words.
PELMIRO_VALUE(language_list, char*, languageList.data())
PELMIRO_VALUE(language_list_size, int, static_cast<int>(languageList.size()))

PELMIRO_EXPORT(pick_language) int PickPageLanguage(int length) {
  const std::string_view list(languageList.data(), static_cast<std::size_t>(length));
  return static_cast<int>(PickLanguage(list, ',', Languages()));
}

// The layout in CSS pixels, the box's tooltip (the programs' own words in every language,
// in UTF-16) and the interval the model is told about.
PELMIRO_VALUE(client_width, int, WindowLayout::ClientWidth)
PELMIRO_VALUE(client_height, int, WindowLayout::ClientHeight)
PELMIRO_VALUE(box_left, int, WindowLayout::BoxRect.left)
PELMIRO_VALUE(box_top, int, WindowLayout::BoxRect.top)
PELMIRO_VALUE(box_width, int, WindowLayout::BoxRect.width)
PELMIRO_VALUE(box_height, int, WindowLayout::BoxRect.height)
PELMIRO_VALUE(box_points, double, WindowLayout::BoxPointSize)
PELMIRO_VALUE(box_tool_tip, const char16_t*, WindowLayout::BoxToolTip)
PELMIRO_VALUE(box_tool_tip_length, int, static_cast<int>(std::size(WindowLayout::BoxToolTip)) - 1)
PELMIRO_VALUE(timer_interval, int, WindowLayout::TimerIntervalMs)
