#pragma once

#include <string>

// Elements are balanced and closed and attributes quoted: what an XML parser needs of a page or
// a chart. Declarations and processing instructions (<!...>, <?...?>) are passed over.
bool WellFormed(const std::string& markup);
