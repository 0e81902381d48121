// What the bindings hand to the page as JSON: text that JSON.parse takes
// whatever a caption holds, and numbers that read back as the core's own.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "json_writer.h"
#include "properties.h"
#include "support/fakes.h"

namespace heikosen::web {
namespace {

std::string json(const std::string& text) {
    JsonWriter out;
    out.value(text);
    return out.text();
}

TEST(JsonWriter, EscapesWhatJsonCannotHoldAsItIs) {
    EXPECT_EQ(json("名前：山田"), "\"名前：山田\"");
    EXPECT_EQ(json("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(json("a\nb\r\tc"), "\"a\\nb\\r\\tc\"");
    EXPECT_EQ(json(std::string("nul\0x\x01\x1b\x7f", 8)), "\"nul\\u0000x\\u0001\\u001b\\u007f\"");
}

TEST(JsonWriter, NumbersInTheFewestDigitsThatReadBackExactly) {
    struct Row {
        float value;
        const char* text;
    };
    for (const Row& row : {Row{0.1F, "0.1"}, Row{349.5F, "349.5"}, Row{-12.25F, "-12.25"},
                           Row{1000.0F, "1000"}, Row{1.0e6F, "1000000"}, Row{3.0e-8F, "3e-08"}}) {
        JsonWriter out;
        out.value(row.value);
        EXPECT_EQ(out.text(), row.text);
        EXPECT_EQ(std::strtof(out.text().c_str(), nullptr), row.value);
    }
    for (const double value : {1.0 / 3.0, 250.0 + 1e-9, -0.1, 123456789.125}) {
        JsonWriter out;
        out.value(value);
        EXPECT_EQ(std::strtod(out.text().c_str(), nullptr), value) << out.text();
    }
    JsonWriter out;
    out.beginArray();
    out.value(std::numeric_limits<float>::quiet_NaN());
    out.value(std::numeric_limits<double>::infinity());
    out.endArray();
    EXPECT_EQ(out.text(), "[null,null]");
}

TEST(JsonWriter, SeparatesMembersAndElements) {
    JsonWriter out;
    out.beginObject();
    out.field("a", 1);
    out.key("b");
    out.beginArray();
    out.value(true);
    out.beginObject();
    out.endObject();
    out.beginArray();
    out.endArray();
    out.endArray();
    out.field("c", "x");
    out.endObject();
    EXPECT_EQ(out.text(), "{\"a\":1,\"b\":[true,{},[]],\"c\":\"x\"}");
}

TEST(Properties, ControlsByNameAndIndex) {
    fakes::LoadedForm w;
    const auto control = [&w](const char* name, int index) {
        JsonWriter out;
        writeControl(out, w.form, name, index);
        return out.text();
    };
    EXPECT_EQ(control("Line5", 25).rfind("{\"X1\":0,\"Y1\":625,\"X2\":800,\"Y2\":625,", 0), 0U);
    EXPECT_EQ(control("Line5", 26), "null");
    EXPECT_EQ(control("Label3", 0), "null");
    EXPECT_NE(control("Label3", 1), "null");
    EXPECT_EQ(control("Command7", 0), "null");
    EXPECT_EQ(control("Line", 0), "null");
    EXPECT_NE(control("Command6", 0).find("\"Caption\":\"印刷\""), std::string::npos);
    EXPECT_NE(control("Check1", 4).find("\"Value\":0"), std::string::npos);

    w.form.Label5.setCaption("名前：\"a\"\n");
    EXPECT_NE(control("Label5", 0).find("\"Caption\":\"名前：\\\"a\\\"\\n\""), std::string::npos);
}

}  // namespace
}  // namespace heikosen::web
