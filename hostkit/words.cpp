#include "words.h"

#include "language.h"

namespace pelmiro {

const Words& WordsFor(std::string_view preferred, char separator) {
  return Catalogue()[PickLanguage(preferred, separator, Languages())];
}

}  // namespace pelmiro
