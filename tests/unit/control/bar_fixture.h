// A bar built straight from the constructor inside a stand-in window.
#pragma once

#include <gtest/gtest.h>

#include "control/bar_control.h"
#include "platform/sim/sim.h"

namespace vb::control::testing {

class BarFixture : public ::testing::Test {
protected:
    void TearDown() override {
        if (platform::isWindow(page_)) platform::destroyWindow(page_);
    }

    BarControl* build(int width, int height, std::int32_t borderFlags = kBorderFlat,
                      std::int32_t scaleType = kNoScale) {
        page_ = sim::createTopLevel(pixels::Rect{0, 0, 600, 200}, 0xF0F0F0, nullptr);
        container_ =
            platform::createWindow(page_, pixels::Rect{0, 0, width, height}, platform::WindowKind::Container);
        render::BarStops none(1);
        CreateProperties props;
        props.scaleType = scaleType;
        props.borderFlags = borderFlags;
        return ConstructBarControl(container_, pixels::Rect{0, 0, width, height}, props, none);
    }

    platform::Window page_ = nullptr;
    platform::Window container_ = nullptr;
};

}  // namespace vb::control::testing
