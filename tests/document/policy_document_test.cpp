#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>

TEST(PolicyDocument, Placeholder) {}
