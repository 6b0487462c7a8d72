// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/errortext.h"

#include <gtest/gtest.h>

using tessaplex::app::errorText;

// A full stop follows every text whose last character comes after "." in character-code order.
TEST(ErrorText, AppendsAFullStopAfterCharactersBeyondIt) {
    const struct {
        const char *message;
        const char *shown;
    } cases[] = {
        {"Range check error", "Range check error."},
        {"Unable to write to C:\\qelm\\qelm.ini", "Unable to write to C:\\qelm\\qelm.ini."},
        {"Cannot open file C:\\worlds\\", "Cannot open file C:\\worlds\\."},
        {"Cannot open file /srv/world/", "Cannot open file /srv/world/."}, // "/" comes after "."
        {"'12abc' is not a valid integer value", "'12abc' is not a valid integer value."},
        {"Ends with a digit 7", "Ends with a digit 7."},
        {"Already ends.", "Already ends."},
        {"Ends with a blank ", "Ends with a blank "},
        {"Ends with a hyphen -", "Ends with a hyphen -"},
        {"Ends with a comma,", "Ends with a comma,"},
        {"Ends with a quote'", "Ends with a quote'"},
        {"Cannot open file ", "Cannot open file "},
        {"Latin-1 \xe9", "Latin-1 \xe9."},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorText(c.message), c.shown) << c.message;
}
