// Every fixed number of the benchmark, in one place.
#pragma once

#include <cstddef>
#include <cstdint>

// Upper bound of the worker team. 128, not 127 or 256: the results files of earlier runs were
// made with this bound, and it is what the cap message announces.
inline constexpr int ThreadCap = 128;

// Entries of every per-thread table. Far more than the cap lets run; only the first ThreadCap
// entries are ever used.
inline constexpr int SlotCount = 4096;

// Files created, opened, closed and removed per file-handling test (and per worker).
inline constexpr int CycleCount = 16384;

// The value of every byte the benchmark writes.
inline constexpr char FillByte = 11;

// Byte-wise passes: the first covers the whole 4 MiB scratch file, the second its second half.
inline constexpr std::int64_t FirstPassBytes = 4194304;
inline constexpr std::int64_t SecondPassBytes = 2097152;

// Fixed numerators of the rates. They are counts of what each test sets out to do, not of what
// the file operations achieved.
inline constexpr double CycleFileCount = static_cast<double>(CycleCount);
inline constexpr double ByteAccessCount = static_cast<double>(FirstPassBytes + SecondPassBytes);
inline constexpr double BlockByteCount = static_cast<double>(FirstPassBytes);

// Scaling of the derived figures: "Millions" divides by a million, "MB/sec." by 1024 twice.
inline constexpr double AccessesPerMillion = 1000000.0;
inline constexpr double MegabyteScale = 0.0009765625;

// Sizes of the text buffers that hold names.
inline constexpr int NameBufferSize = 4096;
inline constexpr int DateTextSize = 1024;
// Room for the name prefix and the whole date text, so the name is never cut short.
inline constexpr int ResultsNameSize = 2 * DateTextSize;

// Each worker's entry of a per-thread table starts on a line of its own and fills whole lines.
// 128 bytes rather than 64: x86 processors fetch neighbouring lines in pairs, so entries of two
// workers within one 128-byte pair still slow each other down.
inline constexpr std::size_t SlotAlignment = 128;
