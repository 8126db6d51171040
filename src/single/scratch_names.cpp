#include "single/scratch_names.h"

#include <cstdio>

bool NameUsable(const std::string& name, OperationFailures& failures) {
  const NameKind kind = ClassifyName(name.c_str());
  if (kind == NameKind::Usable) {
    return true;
  }
  failures.refusedName = name;
  failures.Note(Operation::Refuse, static_cast<int>(kind));
  return false;
}

bool ClearedForCycles(const std::string& name, OperationFailures& failures) {
  if (ClassifyName(name.c_str()) != NameKind::Usable) {
    std::remove(name.c_str());  // whether it went, NameUsable looks again
  }
  return NameUsable(name, failures);
}
