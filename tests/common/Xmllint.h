#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fwcommon::test {

// Validates bytes against schema/rules.xsd with libxml2's xmllint, an
// implementation independent of ours. Succeeds with the tool's output on
// failure as the message.
::testing::AssertionResult XmllintAccepts(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::test
