#pragma once

#include <span>
#include <string_view>

// Marks a text for xgettext, which takes the name as the text's context in po/pelmiro.pot.
#define NC_(name, text) text

namespace pelmiro {

// What Pelmiro says, in one language. Each text is named after its context in the
// catalogue; the build writes the table of every language from po/ with these names.
struct Words {
  const char* Language;  // as po/LINGUAS names it: "ja", "zh_CN"; "en" for English
  const char16_t* Direction;
  const char16_t* FieldName;
  const char16_t* BoxName;
  const char16_t* Howto;
  const char16_t* FullScreen;
  const char16_t* AppDescription;
  const char16_t* ShortcutDescription;
  const char16_t* LanguagePrompt;
  const char16_t* InstallerLanguage;
};

// The source language. The comments tagged for translators go into the catalogue with
// their texts.
// xgettext wants each text whole, on the line of its mark.
// clang-format off
inline constexpr Words English{
    .Language = "en",
    // TRANSLATORS: "ltr", or "rtl" if the language is written from right to left.
    .Direction = NC_("Direction", u"ltr"),
    // TRANSLATORS: what a screen reader says the black area with the fireworks is.
    .FieldName = NC_("FieldName", u"Fireworks. Press 1 to 9, or click, to launch a rocket."),
    // TRANSLATORS: what a screen reader says the number box is: the size, in pixels, of
    // every dot drawn.
    .BoxName = NC_("BoxName", u"Dot size"),
    // TRANSLATORS: the web page's line under the fireworks. The box is the number box in
    // their bottom-left corner.
    .Howto = NC_("Howto", u"Press 1–9, or click or tap the field, to launch a rocket. The box sets the dot size (1–100)."),
    // TRANSLATORS: the web page's button that makes the fireworks fill the screen.
    .FullScreen = NC_("FullScreen", u"Full screen"),
    // TRANSLATORS: how a browser describes the web page installed as an app.
    .AppDescription = NC_("AppDescription", u"A small fireworks toy: press 1 to 9, or click or tap, and rockets burst into rings of sparks."),
    // TRANSLATORS: the description of the Start-menu shortcut on Windows.
    .ShortcutDescription = NC_("ShortcutDescription", u"Launch fireworks rockets with the digit keys 1–9 or the mouse"),
    // TRANSLATORS: the Windows installer asks this above a list of languages.
    .LanguagePrompt = NC_("LanguagePrompt", u"Please select a language."),
    // TRANSLATORS: not words, a name: the file under "Contrib/Language files/" of NSIS
    // that holds the installer's own texts in this language, without ".nlf": "French",
    // "SimpChinese", "PortugueseBR", ...
    .InstallerLanguage = NC_("InstallerLanguage", u"English"),
};
// clang-format on

// English first, then the languages of po/LINGUAS in its order.
std::span<const Words> Catalogue();
// Their names, in the same order: what the language rule chooses from.
std::span<const char* const> Languages();
// The words of the language a user gets, from their preferred languages, most wanted first,
// as a list with this separator (see PickLanguage).
const Words& WordsFor(std::string_view preferred, char separator);

}  // namespace pelmiro
