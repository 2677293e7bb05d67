#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

// Values against a row of figures as a table prints them, "2.920 4.303": a table promises each
// to half a unit of its last digit (`units` widens that); "-" is a column it leaves empty.
inline void expectPrinted(const std::vector<double>& actual, const std::string& row,
                          double units = 0.5)
{
    std::istringstream in(row);
    std::size_t i = 0;
    for (std::string f; in >> f; ++i) {
        ASSERT_LT(i, actual.size()) << row;
        if (f == "-")
            continue;
        const auto point = f.find('.');
        const int decimals = point == std::string::npos ? 0 : int(f.size() - point - 1);
        EXPECT_NEAR(actual[i], std::stod(f), units * 1.0001 * std::pow(10.0, -decimals))
            << "column " << i << " of " << row;
    }
    EXPECT_EQ(i, actual.size()) << row;
}
