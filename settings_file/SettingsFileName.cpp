#include "SettingsFileName.h"

namespace tacho {
namespace {

std::u16string_view Extension(std::u16string_view name) {
  const std::size_t dot = name.find_last_of(u'.');
  if (dot == std::u16string_view::npos) return {};
  if (name.find_first_of(u"\\:", dot + 1) != std::u16string_view::npos) return {};
  return name.substr(dot);
}

}  // namespace

std::u16string WithTxtExtension(std::u16string_view chosenName) {
  std::u16string name(chosenName);
  if (Extension(chosenName) != u".txt") name += u".txt";
  return name;
}

}  // namespace tacho
