// Any text as an application address ("lumeris://openEditor?path=…").
#include "app/EditorAddress.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumeris::EditorAddress::fileToOpen(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
