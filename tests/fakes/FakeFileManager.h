#pragma once

#include "capture/FileManager.h"

#include <gmock/gmock.h>

class FakeFileManager : public lumeris::FileManager {
public:
    MOCK_METHOD(void, showItem, (const std::filesystem::path&), (override));
};
