#include "table/weightmask.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(WeightMask, LoadedWeightGoesIntoThePositions)
{
    struct Case {
        const char* weight;
        const char* display;
    };
    const Case cases[] = {
        {"0,510", "0,510"},
        {"", "_,___"},
        {"####", "_,___"},
        {"0,51", "0,51_"},
        {"1,2", "1,2__"},
        {" ,12 ", "_,12_"},
        {"0.510", "0,510"},
        {"Пуля,1", "_,___"},
        {"7,62мм", "7,62_"},
        {"0,5100000000000000000000000000000000000000", "0,510"},
        // Rifle bullets: up to three digits before the comma, shown as they stand.
        {"10,886", "10,886"},
        {"168,000", "168,000"},
        {"10.886", "10,886"},
        {"10", "10,___"},
        {"10,", "10,___"},
        {",5", "_,5__"},
        // Not a weight: nothing before the comma can be trusted, so the field stays unfilled.
        {"12345678", "_,___"},
        {"1000,5", "_,___"},
        {"1 0,886", "_,___"},
        {"-1,5", "_,___"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table::weightDisplayFor(c.weight), c.display) << c.weight;
}

TEST(WeightMask, FieldTextHasSpacesForUnfilledPositions)
{
    EXPECT_EQ(table::weightFieldText("_,___"), " ,   ");
    EXPECT_EQ(table::weightFieldText("10,8__"), "10,8  ");
    EXPECT_EQ(table::weightFieldText("168,000"), "168,000");
}

// A field written as its display with '|' at the cursor.
struct Field {
    std::string text;
    std::size_t cursor;
};

Field parse(const std::string& marked)
{
    const std::size_t bar = marked.find('|');
    return {marked.substr(0, bar) + marked.substr(bar + 1), bar};
}

std::string marked(const Field& f)
{
    return f.text.substr(0, f.cursor) + '|' + f.text.substr(f.cursor);
}

// Replaces [from, to) by the inserted text as the line edit does, then lets the rules
// answer; a refused edit leaves the field as it was, as the line edit does.
Field edit(const Field& f, std::size_t from, std::size_t to, const std::string& inserted)
{
    const std::string proposed = f.text.substr(0, from) + inserted + f.text.substr(to);
    const auto result = table::normalizeWeightEdit(proposed, from + inserted.size());
    return result ? Field{result->display, result->cursor} : f;
}

// Keys: '<' is Backspace, '>' is Delete, anything else is typed.
Field press(Field f, const std::string& keys)
{
    for (char key : keys) {
        if (key == '<') {
            if (f.cursor > 0)
                f = edit(f, f.cursor - 1, f.cursor, "");
        } else if (key == '>') {
            if (f.cursor < f.text.size())
                f = edit(f, f.cursor, f.cursor + 1, "");
        } else {
            f = edit(f, f.cursor, f.cursor, std::string(1, key));
        }
    }
    return f;
}

TEST(WeightMask, TypingKeepsTheFieldInItsForm)
{
    struct Case {
        const char* before;
        const char* keys;
        const char* after;
    };
    const Case cases[] = {
        {"|_,___", "10,886", "10,886|"},
        {"|_,___", "0,547", "0,547|"},
        {"|_,___", "5", "5|,___"},
        {"_|,___", "5", "5|,___"},
        {"|_,___", ",5", "_,5|__"},
        {"|_,___", ".5", "_,5|__"},
        // A full integer part flows on past the comma, as a mask's does.
        {"|_,___", "168000", "168,000|"},
        {"|_,___", "0547", "054,7|__"},
        {"168|,000", "5", "168,5|00"},
        {"1|68,000", "5", "1|68,000"},
        // Decimals are overwritten and blanked in place; nothing goes past the last position.
        {"10,|886", "5", "10,5|86"},
        {"10,886|", "7", "10,886|"},
        {"10,8|86", " ", "10,8_|6"},
        {"10,886|", "<", "10,88|_"},
        {"10,8|86", "<", "10,|_86"},
        {"10,|886", ">", "10,|_86"},
        // The comma stays; Backspace over it only moves on, as over a mask's literal.
        {"10,886|", "<<<<", "10|,___"},
        {"10,886|", "<<<<<<<", "|_,___"},
        {"10|,886", ">", "10|,886"},
        {"1|0,886", "<", "|0,886"},
        {"1|0,886", ">", "1|,886"},
        // A comma typed before the field's moves past it, elsewhere it is refused.
        {"1|0,886", ",", "10,|886"},
        {"10,|886", ",", "10,|886"},
        {"10,8|86", "x", "10,8|86"},
        {"|_,___", "-", "|_,___"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(marked(press(parse(c.before), c.keys)), c.after) << c.before << " + " << c.keys;
}

TEST(WeightMask, ReplacingASelection)
{
    const Field full = parse("10,886|");
    EXPECT_EQ(marked(edit(full, 0, 6, "")), "|_,___");
    EXPECT_EQ(marked(edit(full, 0, 6, "168,5")), "168,5|__");
    EXPECT_EQ(marked(edit(full, 0, 6, "7")), "7|,___");
    EXPECT_EQ(marked(edit(full, 0, 2, "5")), "5|,886");
    EXPECT_EQ(marked(edit(full, 1, 4, "")), "1|,_86") << "the comma comes back where it was";
    EXPECT_EQ(marked(edit(full, 0, 6, "12,34567")), "10,886|");
    EXPECT_EQ(marked(edit(full, 0, 6, "1234,5")), "10,886|");
    EXPECT_EQ(marked(edit(parse("|_,___"), 0, 0, "10,886")), "|_,___")
        << "a second comma cannot be placed";
}

TEST(WeightMask, LoadedDisplaysAreLeftAsTheyStand)
{
    for (const char* weight : {"", "0,547", "10,886", "168,000", "1,2", "7,62мм", "####"}) {
        const std::string display = table::weightDisplayFor(weight);
        const auto edit = table::normalizeWeightEdit(display, display.size());
        ASSERT_TRUE(edit.has_value()) << weight;
        EXPECT_EQ(edit->display, display) << weight;
    }
}

} // namespace
