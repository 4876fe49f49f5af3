#include "language.h"

namespace pelmiro {
namespace {

constexpr std::size_t ScriptLength = 4;  // "Hant"
constexpr std::size_t RegionLength = 2;  // "TW"; three digits name a region of the world
constexpr std::size_t WorldRegionLength = 3;
// Where Chinese is written in Traditional characters unless the tag says otherwise.
constexpr std::string_view TraditionalRegions[] = {"tw", "hk", "mo"};
constexpr std::string_view Chinese = "zh";
constexpr std::string_view Traditional = "hant";
constexpr std::string_view Simplified = "hans";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) {
      return false;
    }
  }
  return true;
}

// The first part of text up to any of the stops, which it then drops, stop and all.
std::string_view Take(std::string_view& text, std::string_view stops) {
  std::size_t end = 0;
  while (end < text.size() && stops.find(text[end]) == std::string_view::npos) {
    ++end;
  }
  const std::string_view taken = text.substr(0, end);
  text.remove_prefix(end < text.size() ? end + 1 : end);
  return taken;
}

struct Tag {
  std::string_view language;
  std::string_view script;
  std::string_view region;
};

Tag TagOf(std::string_view text) {
  text = Take(text, ".@");  // a POSIX locale's codeset and modifier
  Tag tag{Take(text, "-_"), {}, {}};
  while (!text.empty()) {
    const std::string_view subtag = Take(text, "-_");
    if (subtag.size() == ScriptLength && tag.script.empty()) {
      tag.script = subtag;
    } else if ((subtag.size() == RegionLength || subtag.size() == WorldRegionLength) &&
               tag.region.empty()) {
      tag.region = subtag;
    }
  }
  // Chinese comes in two scripts; a tag that names none writes the region's.
  if (Same(tag.language, Chinese) && tag.script.empty()) {
    tag.script = Simplified;
    for (const std::string_view region : TraditionalRegions) {
      if (Same(tag.region, region)) {
        tag.script = Traditional;
      }
    }
  }
  return tag;
}

bool SameLanguage(const Tag& a, const Tag& b) {
  return !a.language.empty() && Same(a.language, b.language) &&
         (a.script.empty() || b.script.empty() || Same(a.script, b.script));
}

}  // namespace

std::size_t PickLanguage(std::string_view preferred, char separator,
                         std::span<const char* const> available) {
  while (!preferred.empty()) {
    const Tag want = TagOf(Take(preferred, std::string_view(&separator, 1)));
    std::size_t found = available.size();
    for (std::size_t i = 0; i < available.size(); ++i) {
      const Tag have = TagOf(available[i]);
      if (SameLanguage(want, have)) {
        if (Same(want.region, have.region)) {
          return i;  // the very language
        }
        found = found < available.size() ? found : i;
      }
    }
    if (found < available.size()) {
      return found;  // the same language as spoken elsewhere
    }
  }
  return 0;
}

}  // namespace pelmiro
