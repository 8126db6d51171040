#include "support/markup_checks.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

bool WellFormed(const std::string& markup) {
  std::vector<std::string> open;
  for (std::size_t at = markup.find('<'); at != std::string::npos; at = markup.find('<', at + 1)) {
    const std::size_t end = markup.find('>', at);
    if (end == std::string::npos) {
      return false;
    }
    const std::string tag = markup.substr(at + 1, end - at - 1);
    if (tag.empty()) {
      return false;
    }
    if (tag[0] == '!' || tag[0] == '?' || tag.back() == '/') {
      continue;
    }
    bool unquoted = false;
    for (std::size_t equals = tag.find('='); equals != std::string::npos;
         equals = tag.find('=', equals + 1)) {
      unquoted = unquoted || equals + 1 >= tag.size() || tag[equals + 1] != '"';
    }
    if (std::count(tag.begin(), tag.end(), '"') % 2 != 0 || unquoted) {
      return false;
    }
    const bool closing = tag[0] == '/';
    const std::string name = tag.substr(closing, tag.find_first_of(" >") - closing);
    if (!closing) {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return false;
    } else {
      open.pop_back();
    }
  }
  return open.empty();
}
