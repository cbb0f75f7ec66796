// libFuzzer entry point for the CSV reader (built by bench/fuzz_csv.sh with clang).
#include "csv_input.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    runCsvInput(data, size);
    return 0;
}
