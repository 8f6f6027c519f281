#pragma once

#include <string>

#include <gtest/gtest.h>

#include "TextFormError.h"

namespace fwpolicy::textforms {

struct BadText {
    std::string text;
    std::string message;  // what the parser says of it
};

// Holds each text to the refusal its row names.
template <typename Rows, typename Parse>
void ExpectRefusals(const Rows& rows, Parse parse) {
    for (const BadText& row : rows) {
        SCOPED_TRACE(row.text);
        try {
            parse(row.text);
            ADD_FAILURE() << "accepted";
        } catch (const TextFormError& e) {
            EXPECT_EQ(row.message, e.what());
        }
    }
}

}  // namespace fwpolicy::textforms
