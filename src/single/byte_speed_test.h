// How many flushed single-byte writes and synchronised single-byte reads per second a buffered
// stream achieves on the drive. Leaves the scratch file in place and byteOut holding it for the
// block test.
#pragma once

void ByteSpeedTest();
