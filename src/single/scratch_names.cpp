#include "single/scratch_names.h"

bool NameUsable(const std::string& name, OperationFailures& failures) {
  const NameKind kind = ClassifyName(name.c_str());
  if (kind == NameKind::Usable) {
    return true;
  }
  failures.refusedName = name;
  failures.Note(Operation::Refuse, static_cast<int>(kind));
  return false;
}

std::string WorkerName(const char* prefix, int worker, const char* suffix) {
  return prefix + std::to_string(worker) + suffix;
}
