#include <gtest/gtest.h>

#include "ui/form1.h"

TEST(Smoke, LoadBuildsTheInitialFigure) {
    heikosen::Form1 form;
    form.Form_Load();
    EXPECT_EQ(form.fig.copyMGrabX, 325);
}
