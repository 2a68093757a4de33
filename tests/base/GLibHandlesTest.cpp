#include "base/GLibHandles.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

int freed = 0;
void countingFree(int* value) {
    ++freed;
    delete value;
}

} // namespace

TEST(GLibHandles, HandlesFreeExactlyOnce) {
    freed = 0;
    {
        GHandle<int, countingFree> owner(new int(1));
        GHandle<int, countingFree> moved = std::move(owner);
        GHandle<int, countingFree> empty;
        moved.reset(new int(2));
        EXPECT_EQ(freed, 1);
    }
    EXPECT_EQ(freed, 2);
}

TEST(GLibHandles, ErrorOutAdoptsTheErrorAGLibCallSets) {
    GErrorPtr error;
    gchar* contents = nullptr;
    EXPECT_FALSE(g_file_get_contents("/nonexistent/lumeris", &contents, nullptr, GErrorOut(error)));
    ASSERT_TRUE(error);
    EXPECT_TRUE(g_error_matches(error.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT));
}
