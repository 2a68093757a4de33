#include "app/EditorAddress.h"

#include <gtest/gtest.h>

using lumeris::EditorAddress;

TEST(EditorAddressTest, OpensTheLocalFileNamedByPathAndIgnoresEveryOtherAddress) {
    const struct {
        const char* address;
        std::optional<std::filesystem::path> file;
    } cases[] = {
        {"lumeris://openEditor?path=file:///tmp/shot.png", "/tmp/shot.png"},
        {"lumeris://openEditor?path=file%3A%2F%2F%2Ftmp%2Fmy%2520shot.png&x=1", "/tmp/my shot.png"},
        {"lumeris://openEditor?path=/tmp/shot.png", "/tmp/shot.png"},
        {"lumeris://other?path=file:///tmp/shot.png", std::nullopt},
        {"mailto://openEditor?path=file:///tmp/shot.png", std::nullopt},
        {"lumeris://openEditor", std::nullopt},
        {"lumeris://openEditor?path=", std::nullopt},
        {"lumeris://openEditor?file=file:///tmp/shot.png", std::nullopt},
        {"lumeris://openEditor?path=https://example.com/shot.png", std::nullopt},
        {"lumeris://openEditor?path=shot.png", std::nullopt},
        {"not an address", std::nullopt},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(EditorAddress::fileToOpen(test.address), test.file) << test.address;
    }
}
