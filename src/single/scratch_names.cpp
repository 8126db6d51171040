#include "single/scratch_names.h"

#include <filesystem>

namespace fs = std::filesystem;

ScratchKind ClassifyName(const char* name) {
  std::error_code error;
  // The name itself, never what a link points to.
  const fs::file_status status = fs::symlink_status(name, error);
  switch (status.type()) {
    case fs::file_type::not_found:
    case fs::file_type::directory:
      return ScratchKind::Usable;
    case fs::file_type::regular:
      return fs::hard_link_count(name, error) > 1 && !error ? ScratchKind::LinkedFile
                                                            : ScratchKind::Usable;
    case fs::file_type::symlink:
      return ScratchKind::SymbolicLink;
    case fs::file_type::fifo:
      return ScratchKind::Fifo;
    case fs::file_type::socket:
      return ScratchKind::Socket;
    case fs::file_type::block:
    case fs::file_type::character:
      return ScratchKind::Device;
    default:
      // The name could not be looked at (fs::file_type::none, with `error` set: a removed working
      // directory, a name too long); the open will fail and say why.
      return error ? ScratchKind::Usable : ScratchKind::Other;
  }
}

bool NameUsable(const std::string& name, OperationFailures& failures) {
  const ScratchKind kind = ClassifyName(name.c_str());
  if (kind == ScratchKind::Usable) {
    return true;
  }
  failures.refusedName = name;
  failures.Note(Operation::Refuse, static_cast<int>(kind));
  return false;
}

std::string WorkerName(const char* prefix, int worker, const char* suffix) {
  return prefix + std::to_string(worker) + suffix;
}
