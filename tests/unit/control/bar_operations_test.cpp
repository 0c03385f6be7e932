// Operations of the control record beyond painting.
#include "bar_fixture.h"
#include "events/window_procs.h"

namespace vb::control::testing {
namespace {

using OperationsTest = BarFixture;

TEST_F(OperationsTest, FreshControlState) {
    BarControl* bar = build(120, 20);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Position, 100);
    EXPECT_EQ(bar->RangeMin, 0);
    EXPECT_EQ(bar->RangeMax, 100);
    EXPECT_EQ(bar->Methods->GetText(bar), "");
    EXPECT_EQ(bar->Font.get(), nullptr);
    EXPECT_FALSE(bar->IconImage);
    EXPECT_EQ(bar->Glossy, 1);
    EXPECT_EQ(bar->BorderType, kBorderFlat);
    EXPECT_EQ(bar->Methods->GetWidth(bar), 120);
    EXPECT_EQ(bar->Methods->GetHeight(bar), 20);
    EXPECT_TRUE(platform::isWindow(bar->Methods->GetCanvas(bar)));
    // The canvas shows the bar image from the start.
    std::optional<std::uint32_t> shown = vb::platform::driver::pixelAt(60, 10);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, bar->BarImage->at(60, 10) & 0xFFFFFF);
}

TEST_F(OperationsTest, NoGlossyFlagAndBorderFlags) {
    render::BarStops none(1);
    page_ = sim::createTopLevel(pixels::Rect{0, 0, 300, 100}, 0, nullptr);
    auto container =
        platform::createWindow(page_, pixels::Rect{0, 0, 50, 10}, platform::WindowKind::Container);
    CreateProperties props;
    props.solidColor = 255;
    props.backgroundColor = 0;
    props.borderFlags = kNoGlossyFlag;
    BarControl* bar = ConstructBarControl(container, pixels::Rect{0, 0, 50, 10}, props, none);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Glossy, 0);
    EXPECT_EQ(bar->BorderType, 0);
    EXPECT_EQ(bar->BarImage->at(0, 5) & 0xFFFFFF, 255u) << "no border drawn on the fill";
}

TEST_F(OperationsTest, GlossWithTheSameValueDoesNotRebuild) {
    BarControl* bar = build(60, 20);
    ASSERT_NE(bar, nullptr);
    bar->BarImage->at(30, 10) = 0x123456;
    EXPECT_EQ(bar->Methods->SetUseGlossy(bar, 1), 1);
    EXPECT_EQ(bar->BarImage->at(30, 10), 0x123456u);
    EXPECT_EQ(bar->Methods->SetSolidColor(bar, 0x0000FF), 1);
    EXPECT_EQ(bar->Methods->SetUseGlossy(bar, 0), 1);
    EXPECT_EQ(bar->BarImage->at(30, 10) & 0xFFFFFF, 0x0000FFu) << "rebuilt in the new colour";
    EXPECT_EQ(bar->ColorType, kColorSolid);
}

TEST_F(OperationsTest, RangeAloneChangesNothingElse) {
    BarControl* bar = build(60, 20);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 40);
    auto before = bar->ComposeImage->pixels;
    std::int32_t pair[2] = {10, 500};
    EXPECT_EQ(bar->Methods->SetRange(bar, pair), 1);
    std::int32_t read[2] = {0, 0};
    bar->Methods->GetRange(bar, read);
    EXPECT_EQ(read[0], 10);
    EXPECT_EQ(read[1], 500);
    EXPECT_EQ(bar->Position, 40);
    EXPECT_EQ(bar->ComposeImage->pixels, before);
}

TEST_F(OperationsTest, FontIsKeptWithItsName) {
    BarControl* bar = build(60, 20);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->Methods->SetFont(bar, "Arial", 12, 1, 2, 3, 0), 1);
    platform::Font first = bar->Font.get();
    EXPECT_TRUE(platform::isFont(first));
    EXPECT_EQ(bar->FontName.value_or(""), "Arial");
    EXPECT_EQ(bar->FontSize, 12);
    EXPECT_EQ(bar->FontStyle, 2);
    ASSERT_EQ(bar->Methods->SetFont(bar, "No Such Face", 9, 4, 0, 0, 0), 1);
    EXPECT_FALSE(platform::isFont(first)) << "the previous font is released";
    EXPECT_EQ(bar->FontName.value_or(""), "No Such Face");
}

TEST_F(OperationsTest, OversizedBarIsRefused) {
    page_ = sim::createTopLevel(pixels::Rect{0, 0, 10, 10}, 0, nullptr);
    render::BarStops none(1);
    std::size_t before = ControlCount();
    CreateProperties props;
    props.solidColor = 0;
    props.backgroundColor = 0;
    EXPECT_EQ(ConstructBarControl(page_, pixels::Rect{0, 0, 100000, 20}, props, none), nullptr);
    EXPECT_EQ(ConstructBarControl(page_, pixels::Rect{0, 0, 0, 20}, props, none), nullptr);
    EXPECT_EQ(ControlCount(), before);
}

TEST_F(OperationsTest, DestroyingTheContainerReleasesTheControl) {
    BarControl* bar = build(60, 20);
    ASSERT_NE(bar, nullptr);
    platform::setProperty(container_, "iObject", bar);
    platform::WindowProc previous = platform::replaceWindowProc(container_, events::ContainerWindowProc);
    platform::setProperty(container_, "OldContainerProc", reinterpret_cast<void*>(previous));
    platform::Window canvas = bar->Methods->GetCanvasHandle(bar);
    std::size_t before = ControlCount();
    platform::destroyWindow(container_);
    EXPECT_EQ(ControlCount(), before - 1);
    EXPECT_FALSE(IsLiveControl(bar));
    EXPECT_FALSE(platform::isWindow(canvas));
}

}  // namespace
}  // namespace vb::control::testing

namespace vb::control::testing {
namespace {

TEST(WindowProperties, NamesMatchWithoutRegardToCaseAndOnlyWhole) {
    platform::Window page = sim::createTopLevel(pixels::Rect{0, 0, 50, 50}, 0, nullptr);
    ASSERT_NE(page, nullptr);
    int a = 0, b = 0, c = 0;
    platform::setProperty(page, "iObject", &a);
    platform::setProperty(page, "ObjectName", &b);
    platform::setProperty(page, "lua_state", &c);
    EXPECT_EQ(platform::property(page, "iObject"), &a);
    EXPECT_EQ(platform::property(page, "IOBJECT"), &a);
    EXPECT_EQ(platform::property(page, "objectname"), &b);
    EXPECT_EQ(platform::property(page, "LUA_STATE"), &c);
    EXPECT_EQ(platform::property(page, "iObjec"), nullptr);
    EXPECT_EQ(platform::property(page, "iObjects"), nullptr);
    EXPECT_EQ(platform::property(page, ""), nullptr);
    platform::setProperty(page, "IOBJECT", &b);  // the same name: replaced
    EXPECT_EQ(platform::property(page, "iObject"), &b);
    EXPECT_EQ(platform::removeProperty(page, "Iobject"), &b);
    EXPECT_EQ(platform::property(page, "iObject"), nullptr);
    EXPECT_EQ(platform::property(page, "ObjectName"), &b);
    platform::destroyWindow(page);
}

}  // namespace
}  // namespace vb::control::testing
