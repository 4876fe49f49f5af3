#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pelmiro {

// Which of the languages Pelmiro speaks (English first, then those of po/LINGUAS) a user
// gets: the first of their preferred languages, most wanted first, that Pelmiro has; else
// English, the first. The preferred ones come as one list, each tag ended by the separator
// or the list's end: "ja-JP,ja,en" as a browser has them, "fr:de" as LANGUAGE has them.
// Tags match as BCP 47 has them: "pt-PT" takes the one Portuguese there is, "zh-TW",
// "zh-HK", "zh-MO" and "zh-Hant" the Traditional Chinese, "zh", "zh-CN", "zh-SG" and
// "zh-Hans" the Simplified. A POSIX locale name such as "ja_JP.UTF-8" counts as its tag.
std::size_t PickLanguage(std::string_view preferred, char separator,
                         std::span<const char* const> available);

// The separator of the lists below.
constexpr char ListSeparator = ':';

// The user's languages as gettext reads them on Linux, as a list: those in LANGUAGE, then
// the locale of messages (LC_ALL, LC_MESSAGES or LANG, the first that is set). A locale of
// C or POSIX stands for no language at all, whatever LANGUAGE says.
template <typename Getenv>
std::string EnvironmentLanguages(Getenv getenv) {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    if (value != nullptr && *value != '\0') {
      locale = value;
      break;
    }
  }
  if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) {
    return {};
  }
  const char* list = getenv("LANGUAGE");
  std::string languages = list != nullptr ? list : "";
  return languages + ListSeparator + std::string(locale);
}

}  // namespace pelmiro
