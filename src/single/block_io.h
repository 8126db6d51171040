// The steps of the block test: a whole file moved with one read call and one write call. The
// single-thread test and its parallel twin compose them in their own orders.
#pragma once

#include <cstdint>
#include <fstream>

#include "single/operation_failures.h"

// Opens a stream on `name` in binary mode and notes a failed open. A null name (one the program
// refused, see UsableName) opens nothing and leaves the stream failed, as a failed open does.
void OpenInput(std::ifstream& in, const char* name, OperationFailures& failures);
void OpenOutput(std::ofstream& out, const char* name, OperationFailures& failures);

// Seeks to the end and tells the position: the file's length, or -1 when the stream has none.
std::int64_t MeasureLength(std::ifstream& in, OperationFailures& failures);

// A heap array of `length` bytes, or nullptr when the length is negative or the memory cannot be
// had. The caller keeps it for the rest of the process.
char* AllocateBlock(std::int64_t length, OperationFailures& failures);

// One read call of `length` bytes into the buffer, then a synchronisation. Without a buffer
// nothing is read. Returns how many bytes were read.
std::int64_t ReadBlock(std::ifstream& in, char* buffer, std::int64_t length,
                       OperationFailures& failures);

// One write call of `length` bytes from the buffer, then a flush. Without a buffer nothing is
// written. Pass the count that ReadBlock returned: only bytes that were read are written.
void WriteBlock(std::ofstream& out, const char* buffer, std::int64_t length,
                OperationFailures& failures);
