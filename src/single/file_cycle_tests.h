// How many small files per second the drive creates, opens, closes and removes, on the main
// thread: once through buffered streams, once through descriptors.
#pragma once

void FileCycleStreamTest();
void FileCycleDescriptorTest();
