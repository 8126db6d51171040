// What the program needs from the operating system, in one place. Each platform has a file of its
// own (platform_posix.cpp, platform_windows.cpp); CMake builds the one that fits, so the
// measurements read the same on every platform.
#pragma once

// The working directory, in a buffer the C library allocates to fit; nullptr when it cannot be
// determined. Never released.
const char* CurrentDirectory();

// Opens `name` at descriptor level read-write, creating it if missing, with every permission bit
// asked for and (where the platform has share modes) shared with every other opener. Returns the
// descriptor, or -1 with errno set.
int OpenSharedDescriptor(const char* name);

// Closes a descriptor that OpenSharedDescriptor returned; 0 on success.
int CloseDescriptor(int descriptor);

// What stands at a name in the working directory, as far as the program may write it: nothing, a
// regular file with no other names, or a directory are Usable (a directory's open fails by itself
// and says why); the rest the program leaves alone.
enum class NameKind : int { Usable = 0, SymbolicLink, Fifo, Socket, Device, LinkedFile, Other };

// Looks at the name itself, never at what a link points to. A name that cannot be looked at is
// Usable: its open then fails and says why. Costs a system call or two.
NameKind ClassifyName(const char* name);

// Start-up: a console that goes away, missing standard descriptors and a file-size limit must not
// end the run or send console lines into a file.
void PrepareProcess();
