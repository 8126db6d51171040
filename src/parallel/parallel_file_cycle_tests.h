// The file-handling tests with every worker busy at once, each on a scratch file of its own.
// Every worker of a parallel region calls the test; main prints the summary after the region.
#pragma once

void ParallelFileCycleStreamTest();
void ParallelFileCycleDescriptorTest();

// Sum the workers' rates into the overall figures and report them against the single-thread
// rates. Called by main after the test's region has ended.
void ParallelFileCycleStreamSummary();
void ParallelFileCycleDescriptorSummary();
