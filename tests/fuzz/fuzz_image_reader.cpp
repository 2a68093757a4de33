// Any bytes as an image file: refused or decoded, never a crash, a hang or a huge allocation.
#include "export/ImageReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    lumeris::ImageReader::readData(data, size, &error);
    return 0;
}
