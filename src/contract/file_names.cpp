#include "contract/file_names.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "contract/constants.h"
#include "contract/report_texts.h"
#include "contract/string_ends.h"

void FormatResultsName(const std::tm* local, char* date, std::size_t dateSize, char* name,
                       std::size_t nameSize) {
  if (local != nullptr) {
    std::strftime(date, dateSize, DateFormat, local);
  }
  std::snprintf(name, nameSize, ResultsNameFormat, date);
}

std::string ResultsNameFor(const std::tm& local) {
  char date[256] = {};
  char name[512] = {};
  FormatResultsName(&local, date, sizeof date, name, sizeof name);
  return name;
}

bool IsRunCompanionName(const std::string& name) {
  return EndsWith(name, TranscriptSuffix) || EndsWith(name, ContextSuffix);
}

bool HasResultsPrefix(const std::string& name) {
  return StartsWith(name, ResultsNamePrefix);
}

bool IsResultsName(const std::string& name) {
  return HasResultsPrefix(name) && !IsRunCompanionName(name);
}

bool DateFromResultsName(const std::string& name, std::string& date, std::string& time) {
  if (!HasResultsPrefix(name)) {
    return false;
  }
  // Each field of the format is its digits, the rest stands as written.
  std::map<char, std::string> fields;
  std::size_t at = std::char_traits<char>::length(ResultsNamePrefix);
  for (const char* format = DateFormat; *format != '\0'; ++format) {
    if (*format == '%' && format[1] != '\0') {
      const char field = *++format;
      const std::size_t width = field == 'Y' ? 4 : 2;
      if (at + width > name.size()) {
        return false;
      }
      for (std::size_t i = at; i < at + width; ++i) {
        if (name[i] < '0' || name[i] > '9') {
          return false;
        }
      }
      fields[field] = name.substr(at, width);
      at += width;
    } else if (at < name.size() && name[at] == *format) {
      ++at;
    } else {
      return false;
    }
  }
  if (at != name.size()) {
    return false;
  }
  date = fields['Y'] + "-" + fields['m'] + "-" + fields['d'];
  time = fields['H'] + ":" + fields['M'] + ":" + fields['S'];
  return true;
}

bool ResultsNameOnClosingLine(const std::string& line, std::string& name) {
  if (!StartsWith(line, SavedText) && !StartsWith(line, NotSavedText)) {
    return false;
  }
  // The path is joined with a backslash on every platform.
  name = line.substr(line.rfind('\\') + 1);
  return true;
}

std::string BesideResults(const std::string& resultsPath, const char* suffix) {
  const std::string stem =
      EndsWith(resultsPath, ".txt") ? resultsPath.substr(0, resultsPath.size() - 4) : resultsPath;
  return stem + suffix;
}

std::string WorkerScratchName(const char* prefix, int worker, const char* suffix) {
  return prefix + std::to_string(worker) + suffix;
}

std::vector<std::string> ScratchNames() {
  std::vector<std::string> names{ScratchFileName, BlockCopyFileName};
  for (int worker = 0; worker < ThreadCap; ++worker) {
    names.push_back(WorkerScratchName(WorkerFilePrefix, worker, WorkerFileSuffix));
    names.push_back(WorkerScratchName(WorkerFilePrefix, worker));
    // The descriptor phase removes its files as it goes; a run stopped in the middle leaves one.
    names.push_back(WorkerScratchName(WorkerDescriptorFilePrefix, worker, WorkerFileSuffix));
  }
  std::sort(names.begin(), names.end());
  return names;
}
