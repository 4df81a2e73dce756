#include <gtest/gtest.h>

#include "plugin/PluginRecords.h"

TEST(Records, Placeholder) { EXPECT_EQ(sizeof(TPluginData), 5916u); }
