// Every text the benchmark writes into its report, in one place: the report lines use them, and
// drives-tesk-results reads results files and console transcripts by them, so a change of wording
// cannot leave the reader behind. Several look like slips and are kept on purpose; stored results
// files and scripts compare against them (see the comments).
#pragma once

// Banner and set-up.
inline constexpr const char* TitleLine =
    "Tarnovel :: Quillbright Benchmark Drives Tesk for Windows on x86-64bit system 2019.12.24.";
inline constexpr const char* NoticeLine =
    "Notice: this run writes scratch files of 4 MiB each (data64-Windows*) into the current "
    "directory and leaves them there.";
inline constexpr const char* SupportLine =
    "Support: see README.md of drives-tesk for what each figure means and how to report a problem.";
inline constexpr const char* ThreadCountText = "Thread(s): ";
inline constexpr const char* CapLine =
    "The threads limitation of Tesk Edition is set to maximum 128 threads.";
inline constexpr const char* SingleThreadLine = "Force to be single thread.";
inline constexpr const char* MultiThreadLine = "Multi-Thread Enabled:";

// Test headers. "Hihger" is the console's long-standing spelling; the results file says "Higher".
// The parallel file-handling headers end with a full stop in the results file only.
inline constexpr const char* LowerHeader = "Power of Handling Files -- Lower";
inline constexpr const char* HigherHeader = "Power of Handling Files -- Higher";
inline constexpr const char* HigherConsoleHeader = "Power of Handling Files -- Hihger";
inline constexpr const char* ParallelLowerLogHeader = "Power of Handling Files -- Lower.";
inline constexpr const char* ParallelHigherLogHeader = "Power of Handling Files -- Higher.";
inline constexpr const char* LowSpeedHeader = "Low writing and reading speeds:";
inline constexpr const char* HighSpeedHeader = "High writing and reading speeds:";

// Figure lines: a text, a number, a closing text.
inline constexpr const char* SpentText = "The system spent: ";
inline constexpr const char* SecondsText = " Secs.";
inline constexpr const char* WriteSecondsText = " Secs. to Write.";
// Single-thread read halves end with a colon, per-thread ones with a full stop.
inline constexpr const char* ReadSecondsText = " Secs. to Read:";
inline constexpr const char* WorkerReadSecondsText = " Secs. to Read.";
inline constexpr const char* ProcessText = "The system could process ";
// The results file has always had two blanks before the single-thread file rates.
inline constexpr const char* LogProcessText = "The system could process  ";
inline constexpr const char* FilesText = " Files/sec.";
inline constexpr const char* AccessRateText = "It was: ";
inline constexpr const char* AccessesText = " Millions Accesses/sec.";
// The console's per-thread access lines say "Access".
inline constexpr const char* WorkerConsoleAccessesText = " Millions Access/sec.";
inline constexpr const char* DataRateText = "Conventionally, it was: ";
inline constexpr const char* MegabytesText = " MB/sec.";
inline constexpr const char* OverallFilesText = "Overall, The system could process: ";
inline constexpr const char* OverallAccessText = "Overall, It was: ";
// No blank before "to".
inline constexpr const char* OverallWriteAccessesText = " Millions Accesses/sec.to Write";
inline constexpr const char* OverallReadAccessesText = " Millions Accesses/sec.to Read";
inline constexpr const char* OverallWritingText = "Conventionally, total writing speed was: ";
inline constexpr const char* OverallReadingText = "Conventionally, total reading speed was: ";
inline constexpr const char* ImprovementText = "Multi-Thread Improvements: ";
inline constexpr const char* TimesText = " times.";
inline constexpr const char* ThreadTagText = "Thread:";

// Console-only lines after a measurement whose file operations failed.
inline constexpr const char* UnableToOpenLine = "Unable to open file";
inline constexpr const char* WarningText = "Warning: the ";
// What the warning calls the measurement.
inline constexpr const char* FileHandlingText = "file-handling";
inline constexpr const char* WritingText = "writing";
inline constexpr const char* ReadingText = "reading";
inline constexpr const char* NotADriveSpeedText = " figures above are not a drive speed: ";
// The reasons a warning gives: "open failed 16384 times: <the system's reason>", one per
// operation, in the order of the operations; and what stood at a name the program would not use.
inline constexpr const char* OperationNames[] = {"use",  "open", "close",    "remove", "write",
                                                 "read", "seek", "allocate", "copy"};
inline constexpr const char* FailedText = " failed";
inline constexpr const char* TimesCountText = " times";
inline constexpr const char* ReasonSeparatorText = ": ";
inline constexpr const char* FailureSeparatorText = "; ";
inline constexpr const char* EndedEarlyText = "the file ended early";
inline constexpr const char* NothingToCopyText = "nothing to copy because the read failed";
inline constexpr const char* NotUsedText = " not used: it is ";
inline constexpr const char* SymbolicLinkText = "a symbolic link";
inline constexpr const char* FifoText = "a FIFO";
inline constexpr const char* SocketText = "a socket";
inline constexpr const char* DeviceText = "a device node";
inline constexpr const char* LinkedFileText = "a file with other hard links";
inline constexpr const char* NotRegularText = "not a regular file";

// Closing lines, console only.
inline constexpr const char* SavedText =
    "Results have been saved in a file and you can find it at: ";
inline constexpr const char* NotSavedText =
    "Results could not be saved in a file; it was meant to be at: ";
inline constexpr const char* EnterLine = "Press Enter to Exit.";
// The closing line's directory when the working directory cannot be named.
inline constexpr const char* UnknownDirectoryText = "(working directory unknown)";
