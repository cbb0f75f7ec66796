#pragma once

#include <cstddef>
#include <cstdint>

// Runs one fuzz input through the CSV reader and sample extraction; aborts on a broken
// invariant. Needs a QApplication.
void runCsvInput(const uint8_t* data, size_t size);
