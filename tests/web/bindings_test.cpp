// What the page's tests are handed of the form: the properties of a control by
// its name and index, null for one the form has not got, and captions as they
// stand.

#include <gtest/gtest.h>

#include <string>

#include "support/fakes.h"
#include "web/form_readers.h"

namespace heikosen::web {
namespace {

TEST(Properties, ControlsByNameAndIndex) {
    fakes::LoadedForm w;
    const auto control = [&w](const char* name, int index) {
        return controlValue(w.form, name, index);
    };
    const emscripten::val grid = control("Line5", 25);
    EXPECT_EQ(grid["X1"].as<float>(), 0);
    EXPECT_EQ(grid["Y1"].as<float>(), 625);
    EXPECT_EQ(grid["X2"].as<float>(), 800);
    EXPECT_TRUE(control("Line5", 26).isNull());
    EXPECT_TRUE(control("Label3", 0).isNull());
    EXPECT_FALSE(control("Label3", 1).isNull());
    EXPECT_TRUE(control("Command7", 0).isNull());
    EXPECT_TRUE(control("Line", 0).isNull());
    EXPECT_TRUE(control("Label1", 1).isNull());
    EXPECT_EQ(control("Command6", 0)["Caption"].as<std::string>(), "印刷");
    EXPECT_EQ(control("Check1", 4)["Value"].as<int>(), 0);
    EXPECT_EQ(control("Option2", 3)["Value"].as<bool>(), true);
    EXPECT_EQ(control("Option1", 0)["Value"].as<bool>(), false);

    w.form.Label5.setCaption("名前：\"a\"\n");
    EXPECT_EQ(control("Label5", 0)["Caption"].as<std::string>(), "名前：\"a\"\n");
    // A number as it stands, a fraction too.
    w.form.Label5.Left = 0.1F;
    EXPECT_EQ(control("Label5", 0)["Left"].as<float>(), 0.1F);
    EXPECT_EQ(control("Label5", 0)["Left"].as<double>(), static_cast<double>(0.1F));
}

}  // namespace
}  // namespace heikosen::web
