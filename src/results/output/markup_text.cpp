#include "results/output/markup_text.h"

#include "results/record/text_safety.h"

std::string EscapeXml(const std::string& text) {
  std::string escaped;
  for (const char c : XmlText(text)) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Isolated(const std::string& text) {
  return "\xe2\x81\xa8" + text + "\xe2\x81\xa9";
}

std::string IsolatedXml(const std::string& text) {
  return EscapeXml(Isolated(text));
}

std::string ShortLabel(const std::string& label, std::size_t longest) {
  return CharacterCount(label) <= longest || longest == 0
             ? label
             : "\xe2\x80\xa6" + LastCharacters(label, longest - 1);
}

std::string JsonForScript(const std::string& json) {
  std::string safe;
  safe.reserve(json.size());
  for (const char c : json) {
    switch (c) {
      case '<':
        safe += "\\u003c";
        break;
      case '>':
        safe += "\\u003e";
        break;
      case '&':
        safe += "\\u0026";
        break;
      default:
        safe += c;
    }
  }
  return safe;
}
