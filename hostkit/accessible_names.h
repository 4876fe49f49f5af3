#pragma once

#include <optional>
#include <string_view>

namespace pelmiro {

// The languages the programs speak to a screen reader.
enum class Language { English, Japanese };

// The language a tag such as "ja", "ja-JP", "ja_JP.UTF-8" or "en-GB" names, if it is one of
// the two.
constexpr std::optional<Language> LanguageOf(std::u16string_view tag) {
  constexpr char16_t CaseBit = u'a' - u'A';
  const std::u16string_view primary = tag.substr(0, tag.find_first_of(u"-_.@"));
  if (primary.size() != 2) {
    return std::nullopt;
  }
  const auto lower = [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + CaseBit) : c;
  };
  const char16_t first = lower(primary[0]);
  const char16_t second = lower(primary[1]);
  if (first == u'j' && second == u'a') {
    return Language::Japanese;
  }
  if (first == u'e' && second == u'n') {
    return Language::English;
  }
  return std::nullopt;
}

// The first of the two among the user's languages, most wanted first; English when neither
// is there. The page picks its language by the same rule.
template <typename Tags>
constexpr Language PreferredLanguage(const Tags& tags) {
  for (const auto& tag : tags) {
    if (const std::optional<Language> language = LanguageOf(tag)) {
      return *language;
    }
  }
  return Language::English;
}

// What a screen reader says the window's two parts are. The page is built with the same
// words: web/build_page.mjs reads them from this file, one literal a line.
struct AccessibleNames {
  static constexpr char16_t FieldName[] = u"Fireworks. Press 1 to 9, or click, to launch a rocket.";
  static constexpr char16_t FieldNameJa[] = u"花火。数字キーの1〜9かクリックで打ち上げます。";
  static constexpr char16_t BoxName[] = u"Dot size";
  static constexpr char16_t BoxNameJa[] = u"点の大きさ";

  static constexpr const char16_t* Field(Language language) {
    return language == Language::Japanese ? FieldNameJa : FieldName;
  }
  static constexpr const char16_t* Box(Language language) {
    return language == Language::Japanese ? BoxNameJa : BoxName;
  }
};

}  // namespace pelmiro
