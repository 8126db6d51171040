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
