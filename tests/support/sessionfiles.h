#pragma once

// What the session and load-test file tests share: a string with every detail filled, the
// shots of the documented examples, and refused files shown by name.
#include "runtime/errors.h"
#include "support/stringrows.h"
#include "support/tempdir.h"
#include "support/thrown.h"
#include "table/stringdetails.h"

#include <gtest/gtest.h>

#include <ostream>

inline table::StringDetails fullDetails()
{
    return {"Load «24.5»",     "2024-05-11T09:40:00+02:00",
            "Tikka T3x",       ".308 Win",
            "Vihtavuori N140", {"24.5", "gr"},
            "CCI BR-2",        "Lapua",
            {"2.800", "in"},   {"-3", "\u00B0C"},
            "Стрельбище",      "ветер слева\nпотом стих"};
}

inline const std::vector<Row> kDocumentedShots = {
    {"1", "855", "3965", "10,886", "SMK 168", "0,29", "2024-05-11T09:41:02+02:00", "cold bore", "",
     "", "2804.0 ft/s"},
    {"2", "850", "3932", "10,886", "SMK 168", "-0,29", "2024-05-11T09:41:40+02:00", "flyer",
     "wind gust", "1", "2788.6 ft/s"},
};

// A file a reader refuses, and what its message says after the quoted file name.
struct RefuseCase {
    const char* name;
    std::string text;
    std::string message;
};

// By name: some texts run to megabytes.
inline void PrintTo(const RefuseCase& refused, std::ostream* os)
{
    *os << refused.name;
}

// Writes the case's text as `name` and expects `read` to refuse that file with its message.
template <class Read>
void expectRefused(const TempDir& dir, const std::string& name, const RefuseCase& refused,
                   Read&& read)
{
    dir.write(name, refused.text);
    const auto e = thrown<rt::Exception>([&] { read(dir.file(name)); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->what(), "'" + dir.file(name) + "'" + refused.message);
}
