#include "hostkit/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "hostkit/words.h"

namespace pelmiro {
namespace {

std::string Picked(std::string_view preferred) {
  return Languages()[PickLanguage(preferred, ',', Languages())];
}

std::string Bcp47(std::string tag) {
  std::replace(tag.begin(), tag.end(), '_', '-');
  return tag;
}

// Every language of po/LINGUAS is found by its own name, as gettext and BCP 47 write it,
// with the words of its own PO file.
TEST(Language, EveryLanguageIsFoundByItsName) {
  ASSERT_EQ(Catalogue().size(), Languages().size());
  for (std::size_t i = 0; i < Languages().size(); ++i) {
    const std::string name = Languages()[i];
    EXPECT_EQ(Picked(name), name);
    EXPECT_EQ(Picked(Bcp47(name) + ".UTF-8"), name);
    EXPECT_EQ(Catalogue()[i].Language, name);
    EXPECT_EQ(&WordsFor("sw:" + name, ':'), &Catalogue()[i]);
  }
}

TEST(Language, TagsMatchAsBcp47Has) {
  // The tags a user prefers, most wanted first, then the language they get.
  std::istringstream rows(
      "zh-TW>zh_TW zh-HK>zh_TW zh-MO>zh_TW zh-Hant>zh_TW zh-Hant-HK>zh_TW zh_HK.UTF-8>zh_TW "
      "zh>zh_CN zh-CN>zh_CN zh-SG>zh_CN zh-Hans>zh_CN pt-PT>pt_BR en-GB>en sw,fr-CA>fr sw>en "
      ">en C>en de_AT@euro>de fr-FR,ja,en>fr en-US,ja>en AR-eg>ar ,,ko-KR,>ko");
  for (std::string row; rows >> row;) {
    const std::size_t arrow = row.find('>');
    EXPECT_EQ(Picked(row.substr(0, arrow)), row.substr(arrow + 1)) << row;
  }
}

// As gettext reads the environment: LANGUAGE first, unless the locale is C.
TEST(Language, TheEnvironmentAsGettextReadsIt) {
  using Environment = std::map<std::string, std::string>;
  struct Row {
    Environment environment;
    std::string languages;
  };
  const Row rows[] = {
      {{{"LANGUAGE", "fr:de"}, {"LANG", "ja_JP.UTF-8"}}, "fr:de:ja_JP.UTF-8"},
      {{{"LC_ALL", "ko_KR.UTF-8"}, {"LC_MESSAGES", "ar_EG.UTF-8"}}, ":ko_KR.UTF-8"},
      {{{"LC_ALL", ""}, {"LC_MESSAGES", "ar_EG.UTF-8"}, {"LANG", "it_IT"}}, ":ar_EG.UTF-8"},
      {{{"LANGUAGE", "ja"}, {"LC_ALL", "C"}}, ""},
      {{{"LANGUAGE", "ja"}, {"LANG", "C.UTF-8"}}, ""},
      {{{"LANGUAGE", "ja::"}, {"LANG", "POSIX"}}, ""},
      {{}, ""},
  };
  for (const Row& row : rows) {
    const auto getenv = [&row](const char* name) -> const char* {
      const auto found = row.environment.find(name);
      return found != row.environment.end() ? found->second.c_str() : nullptr;
    };
    EXPECT_EQ(EnvironmentLanguages(getenv), row.languages) << &row - rows;
  }
}

}  // namespace
}  // namespace pelmiro
