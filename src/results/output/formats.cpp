#include "results/output/formats.h"

const std::vector<NamedFormat>& OutputFormats() {
  static const std::vector<NamedFormat> formats = {{"text", WriteText},
                                                   {"markdown", WriteMarkdown},
                                                   {"csv", WriteCsv},
                                                   {"json", WriteJson},
                                                   {"html", WriteHtml}};
  return formats;
}

const NamedFormat* FindFormat(const std::string& name) {
  for (const NamedFormat& format : OutputFormats()) {
    if (name == format.name) {
      return &format;
    }
  }
  return nullptr;
}

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const NamedFormat& named : OutputFormats()) {
    names.emplace_back(named.name);
  }
  return names;
}
