// The benchmark writes only regular files of the working directory. Whatever else stands at a
// scratch or results name is left alone: a symbolic link (the tests would truncate and overwrite
// what it points to), a FIFO (an open for writing would wait for a reader that never comes), a
// socket, a device node, or a file that has other names as well (writing it changes the file under
// those names too). A directory is not refused here: its open fails by itself and says why.
#pragma once

#include <string>

#include "platform/platform.h"
#include "single/operation_failures.h"

// True when the program may open `name` (ClassifyName finds it Usable; ask before the timed span,
// since the look costs a system call); otherwise the refusal is noted in `failures`, so the
// console warns that the measurement's figures are not a drive speed. The measurement then passes
// a null name to its steps, which open nothing.
bool NameUsable(const std::string& name, OperationFailures& failures);

// NameUsable for the file-handling tests, which remove their file in every iteration anyway: what
// stands at `name` and is not a plain file (a leftover link, FIFO, device node, or a file with
// other names) is first removed by its name, as the loop would remove it. That never opens or
// follows it: a link goes, not what it points to; a file's other names keep its contents. Only
// where the removal fails (a read-only directory) is the name refused.
bool ClearedForCycles(const std::string& name, OperationFailures& failures);
