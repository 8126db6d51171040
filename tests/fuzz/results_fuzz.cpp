// libFuzzer target: any bytes as a results file, and what every output makes of what was read.
// Whatever the input, the reader and the outputs must not crash, and every output must be valid
// UTF-8 (JSON that parses, SVG and the HTML page that an XML parser takes whole).
#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "results/comparing/comparison_table.h"
#include "results/output/format_svg.h"
#include "results/output/formats.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Whether `document` is well-formed XML, as a browser's parser would take it.
bool ParsesAsXml(const std::string& document) {
  XML_Parser parser = XML_ParserCreate("UTF-8");
  const bool parsed = XML_Parse(parser, document.data(), static_cast<int>(document.size()),
                                XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes);
  const ReadOutcome outcome = ReadResults(in, "fuzz\x1b.txt");
  if (outcome.error) {
    const std::string message = FormatError(*outcome.error);
    Check(EscapeControls(message) == message);
    return 0;
  }
  // The first line of the input doubles as a label of any bytes.
  const std::string label = EscapeControls(bytes.substr(0, bytes.find('\n')));
  const std::vector<RunRecord> runs = {*outcome.record, *outcome.record};
  const std::vector<std::string> labels = {label, "second"};
  for (const NamedFormat& format : OutputFormats()) {
    const std::string text = format.write(Compare(runs, labels, GroupRepeats(runs, labels, false)));
    Check(ValidUtf8(text) == text);
  }
  Check(!nlohmann::json::parse(WriteJson(Compare(runs, labels, EachRun(labels)))).is_discarded());
  const std::string svg = WriteSvg(Compare(runs, labels, EachRun(labels)));
  Check(ValidUtf8(svg) == svg);
  Check(ParsesAsXml(svg));
  // The page is well-formed XML too, and its one script element is the data, with no < in it.
  const std::string page = WriteHtml(Compare(runs, labels, EachRun(labels)));
  Check(ParsesAsXml(page));
  const std::size_t script = page.find("<script");
  Check(script != std::string::npos && page.find("<script", script + 1) == std::string::npos);
  Check(page.find('<', page.find('>', script)) == page.find("</script>", script));
  return 0;
}
