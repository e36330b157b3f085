#include <gtest/gtest.h>

#include "graphics/displays/gridbase/GridPages.h"

namespace {

TEST(GridPagesTest, PrintedRowsPerPageAndPages) {
    EXPECT_EQ(gridpages::PageCount(20, 10), 2);
    EXPECT_EQ(gridpages::PageCount(21, 10), 3);
    EXPECT_EQ(gridpages::PageCount(10, 10), 1);
    EXPECT_EQ(gridpages::RowsPerPage(242, 22, 22), 10);
    // A page no taller than the header still prints one row per page.
    EXPECT_EQ(gridpages::RowsPerPage(20, 22, 22), 1);
    EXPECT_EQ(gridpages::RowsPerPage(100, 22, 0), 78);
    EXPECT_EQ(gridpages::PageCount(5, 0), 5);
    EXPECT_EQ(gridpages::FirstRowOfPage(1, 10), 1);
    EXPECT_EQ(gridpages::FirstRowOfPage(3, 10), 21);
}

} // namespace
