#include <gtest/gtest.h>

#include "platform/gdi/Region.h"

namespace platform {
namespace {

using gdi::Point;
using gdi::Rect;

TEST(Region, AddingKeepsRectanglesDisjointAndAreasExact) {
    Region r;
    r.Add(Rect{0, 0, 10, 10});
    r.Add(Rect{5, 5, 15, 15}); // overlaps a quarter of the first
    EXPECT_EQ(r.Area(), 100 + 100 - 25);
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 15, 15}));
    EXPECT_TRUE(r.Contains(Point{12, 12}));
    EXPECT_FALSE(r.Contains(Point{12, 2}));
    r.Add(Rect{2, 2, 8, 8}); // already covered
    EXPECT_EQ(r.Area(), 175);
    r.Add(Rect{3, 3, 3, 9}); // empty
    EXPECT_EQ(r.Area(), 175);
}

TEST(Region, SubtractingCutsHolesAndIntersectingClips) {
    Region r(Rect{0, 0, 10, 10});
    r.Subtract(Rect{3, 3, 6, 6});
    EXPECT_EQ(r.Area(), 91);
    EXPECT_FALSE(r.Contains(Point{4, 4}));
    EXPECT_TRUE(r.Contains(Point{2, 4}));
    r.Intersect(Rect{0, 0, 5, 10});
    EXPECT_EQ(r.Area(), 50 - 6);
    r.Offset(10, 20);
    EXPECT_EQ(r.Bounds(), (Rect{10, 20, 15, 30}));
    r.Subtract(Rect{-100, -100, 100, 100});
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_TRUE(r.Bounds().IsEmpty());
}

TEST(Region, ManySmallPiecesCoarsenToTheirBounds) {
    Region r;
    for (int i = 0; i < 100; ++i)
        r.Add(Rect{i * 3, 0, i * 3 + 1, 1});
    EXPECT_LE(r.Rects().size(), 64u);
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 298, 1}));
    // Coarsening only ever grows a region: every added pixel is still in it.
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(r.Contains(Point{i * 3, 0}));
}

TEST(Region, RectangleHelpers) {
    EXPECT_TRUE(Intersection(Rect{0, 0, 5, 5}, Rect{5, 0, 9, 5}).IsEmpty());
    EXPECT_EQ(Intersection(Rect{0, 0, 5, 5}, Rect{3, 1, 9, 2}), (Rect{3, 1, 5, 2}));
    EXPECT_EQ(Union(Rect{}, Rect{1, 1, 2, 2}), (Rect{1, 1, 2, 2}));
    EXPECT_EQ(Offset(Rect{1, 1, 2, 2}, -1, 3), (Rect{0, 4, 1, 5}));
}

} // namespace
} // namespace platform
