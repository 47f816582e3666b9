#include "app/DesignArrange.h"

#include <gtest/gtest.h>

#include <vector>

namespace qbm {
namespace {

constexpr double kLabelW = 100, kLabelH = 50;

TEST(DesignSnapping, CoordinatesMeetTheNearestTargetElseTheGrid) {
    struct Case {
        double value;
        std::vector<double> targets;
        TSnapSettings settings;
        double snapped;
        bool guide;
    };
    const TSnapSettings both{1, true, true, 1};
    const Case cases[] = {
        /* 0 */ {10.3, {}, both, 10, false}, // the grid alone
        /* 1 */ {10.6, {}, both, 11, false},
        /* 2 */ {10.3, {10.9}, both, 10.9, true},               // a target within reach beats the grid
        /* 3 */ {10.3, {9.9, 10.5}, both, 10.5, true},          // the nearer target
        /* 4 */ {10.3, {12}, both, 10, false},                  // out of reach
        /* 5 */ {10.3, {10.9}, {1, true, false, 1}, 10, false}, // objects off
        /* 6 */ {10.3, {}, {1, false, true, 1}, 10.3, false},   // grid off
        /* 7 */ {7.4, {}, {2.5, true, false, 1}, 7.5, false},   // a coarser grid
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const TSnapped s = SnapCoordinate(c.value, c.targets, c.settings);
        EXPECT_DOUBLE_EQ(s.value, c.snapped) << "row " << i;
        EXPECT_EQ(s.guide.has_value(), c.guide) << "row " << i;
    }
}

TEST(DesignSnapping, AMovedBoxMeetsEdgesAndCentresOfTheOthersAndTheLabel) {
    struct Case {
        TBoxMm moving;
        double dx, dy;
        double wantDx, wantDy;
        std::optional<double> guideX, guideY;
    };
    // One other object at 40..60 x 20..30; the label 100 x 50.
    const TSnapTargets targets = SnapTargetsOf({{40, 20, 20, 10}}, kLabelW, kLabelH);
    const TSnapSettings settings{1, true, true, 1};
    const Case cases[] = {
        /* 0 */ {{0, 0, 10, 5}, 29.6, 0, 30, 0, 40, 0},        // right edge onto the other's left
        /* 1 */ {{0, 0, 10, 5}, 44.7, 17.2, 45, 17.5, 50, 20}, // centre onto centres (label's x too)
        /* 2 */ {{10, 10, 10, 6}, 13.2, 1.4, 13, 1, std::nullopt, std::nullopt}, // nothing near: the grid
        /* 3 */ {{0, 0, 10, 5}, 89.5, 44.6, 90, 45, 100, 50},                    // the label's far edges
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const TSnappedMove m = SnapMove(c.moving, c.dx, c.dy, targets, settings);
        EXPECT_NEAR(m.dx, c.wantDx, 1e-9) << "row " << i;
        EXPECT_NEAR(m.dy, c.wantDy, 1e-9) << "row " << i;
        EXPECT_EQ(m.guideX, c.guideX) << "row " << i;
        EXPECT_EQ(m.guideY, c.guideY) << "row " << i;
    }
}

TEST(DesignArrange, AlignsToTheOutermostEdgeOrTheCommonCentre) {
    const std::vector<TBoxMm> boxes{{10, 5, 20, 10}, {40, 20, 10, 4}, {25, 30, 30, 6}};
    struct Case {
        TAlignEdge edge;
        std::vector<TBoxMm> want;
    };
    const Case cases[] = {
        /* 0 */ {TAlignEdge::Left, {{10, 5, 20, 10}, {10, 20, 10, 4}, {10, 30, 30, 6}}},
        /* 1 */ {TAlignEdge::Right, {{35, 5, 20, 10}, {45, 20, 10, 4}, {25, 30, 30, 6}}},
        /* 2 */ {TAlignEdge::CentreX, {{22.5, 5, 20, 10}, {27.5, 20, 10, 4}, {17.5, 30, 30, 6}}},
        /* 3 */ {TAlignEdge::Top, {{10, 5, 20, 10}, {40, 5, 10, 4}, {25, 5, 30, 6}}},
        /* 4 */ {TAlignEdge::Bottom, {{10, 26, 20, 10}, {40, 32, 10, 4}, {25, 30, 30, 6}}},
        /* 5 */ {TAlignEdge::CentreY, {{10, 15.5, 20, 10}, {40, 18.5, 10, 4}, {25, 17.5, 30, 6}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(AlignBoxes(boxes, cases[i].edge, kLabelW, kLabelH), cases[i].want) << "row " << i;
    // One object aligns to the label.
    EXPECT_EQ(AlignBoxes({{10, 5, 20, 10}}, TAlignEdge::Right, kLabelW, kLabelH),
              (std::vector<TBoxMm>{{80, 5, 20, 10}}));
    EXPECT_EQ(AlignBoxes({{10, 5, 20, 10}}, TAlignEdge::CentreY, kLabelW, kLabelH),
              (std::vector<TBoxMm>{{10, 20, 20, 10}}));
}

TEST(DesignArrange, DistributesEqualGapsBetweenTheOuterBoxes) {
    // Given out of order: the first and last by position stay.
    const std::vector<TBoxMm> boxes{{50, 0, 10, 5}, {0, 10, 10, 5}, {12, 20, 20, 5}, {90, 30, 10, 5}};
    const std::vector<TBoxMm> across = DistributeBoxes(boxes, TDistribution::Horizontal);
    // Span 0..100, sizes 50: three gaps of 50/3.
    const double gap = 50.0 / 3;
    EXPECT_DOUBLE_EQ(across[1].x, 0);
    EXPECT_DOUBLE_EQ(across[2].x, 10 + gap);
    EXPECT_DOUBLE_EQ(across[0].x, 30 + 2 * gap);
    EXPECT_DOUBLE_EQ(across[3].x, 90);
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(across[i].y, boxes[i].y) << i;
    // Distributing again changes nothing; fewer than three stay.
    const std::vector<TBoxMm> again = DistributeBoxes(across, TDistribution::Horizontal);
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_NEAR(again[i].x, across[i].x, 1e-9) << i;
    const std::vector<TBoxMm> two{{0, 0, 5, 5}, {50, 9, 5, 5}};
    EXPECT_EQ(DistributeBoxes(two, TDistribution::Vertical), two);

    const std::vector<TBoxMm> down = DistributeBoxes(boxes, TDistribution::Vertical);
    EXPECT_DOUBLE_EQ(down[0].y, 0);
    EXPECT_DOUBLE_EQ(down[1].y, 10); // span 0..35, sizes 20: gaps of 5
    EXPECT_DOUBLE_EQ(down[2].y, 20);
    EXPECT_DOUBLE_EQ(down[3].y, 30);
}

TEST(DesignArrange, TurnedObjectsCoverTheirTurnedBox) {
    TDesignObject o;
    o.xMm = 10;
    o.yMm = 20;
    o.widthMm = 30;
    o.heightMm = 10;
    for (const int rotation : {0, 180}) {
        o.rotation = rotation;
        EXPECT_EQ(CoveredBox(o), (TBoxMm{10, 20, 30, 10})) << rotation;
    }
    for (const int rotation : {90, 270}) {
        o.rotation = rotation;
        EXPECT_EQ(CoveredBox(o), (TBoxMm{20, 10, 10, 30})) << rotation;
        TDesignObject resized = o;
        SetCoveredBox(resized, {20, 10, 12, 30});
        EXPECT_EQ(CoveredBox(resized), (TBoxMm{20, 10, 12, 30})) << rotation;
        EXPECT_DOUBLE_EQ(resized.heightMm, 12) << rotation;
    }
}

} // namespace
} // namespace qbm
