// Text from strangers' files made safe for the chart's SVG and the HTML page, escaped once at the
// border: element content and attribute values, text kept apart from the direction of what
// surrounds it, and JSON that may stand inside a script element.
#pragma once

#include <cstddef>
#include <string>

// Text made safe for XML and HTML element content and attribute values: valid UTF-8 without what
// XML forbids, and & < > " ' as references.
std::string EscapeXml(const std::string& text);

// `text` between the Unicode isolates FSI and PDI, so that a right-to-left override in a name
// cannot turn the text after it around (for SVG text, which has no <bdi>); and that escaped.
std::string Isolated(const std::string& text);
std::string IsolatedXml(const std::string& text);

// A label that fits in `longest` characters: a longer one is cut at its start, where labels of one
// folder agree, so that its end (the run's date and time) stays.
std::string ShortLabel(const std::string& label, std::size_t longest);

// JSON that can stand in a <script type="application/json"> element of HTML and of XML: every <,
// > and & written as \u003c, \u003e and \u0026, which JSON reads back as the same characters.
std::string JsonForScript(const std::string& json);
