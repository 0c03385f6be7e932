// The registry of live controls against the plain list it indexes: every
// look-up answers as a walk through the controls in the order they were
// made would, however many bars there are and in whatever order they go.
#include <algorithm>
#include <vector>

#include "bar_fixture.h"
#include "events/window_procs.h"

namespace vb::control::testing {
namespace {

class RegistryTest : public BarFixture {
protected:
    struct Made {
        platform::Window container = nullptr;
        BarControl* bar = nullptr;
    };

    // A bar whose container frees it when destroyed, as Create attaches it.
    Made make(int index) {
        Made m;
        m.container = platform::createWindow(page_, pixels::Rect{0, index % 20, 30, index % 20 + 4},
                                             platform::WindowKind::Container);
        render::BarStops none(1);
        CreateProperties props;
        m.bar = ConstructBarControl(m.container, pixels::Rect{0, 0, 30, 4}, props, none);
        if (m.bar) {
            platform::setProperty(m.container, "iObject", m.bar);
            platform::WindowProc previous =
                platform::replaceWindowProc(m.container, events::ContainerWindowProc);
            platform::setProperty(m.container, "OldContainerProc", reinterpret_cast<void*>(previous));
        }
        return m;
    }

    // The rule the index replaces: the first live control with that canvas.
    static BarControl* firstWithCanvas(const std::vector<Made>& live, platform::Window canvas) {
        for (const Made& m : live)
            if (m.bar->Canvas == canvas) return m.bar;
        return nullptr;
    }
};

TEST_F(RegistryTest, LookUpsMatchTheListThroughCreationAndRelease) {
    page_ = sim::createTopLevel(pixels::Rect{0, 0, 100, 40}, 0, nullptr);
    const std::size_t before = ControlCount();
    std::vector<Made> live;
    for (int i = 0; i < 300; ++i) {
        Made m = make(i);
        ASSERT_NE(m.bar, nullptr);
        live.push_back(m);
    }
    EXPECT_EQ(ControlCount(), before + live.size());
    // Every third one goes, the first and the last among them, newest first.
    struct Gone {
        platform::Window container, canvas;
    };
    std::vector<Gone> gone;
    for (std::size_t i = live.size(); i-- > 0;) {
        if (i % 3 != 0 && i != live.size() - 1) continue;
        gone.push_back(Gone{live[i].container, live[i].bar->Canvas});
        platform::destroyWindow(live[i].container);
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
    }
    EXPECT_EQ(ControlCount(), before + live.size());

    for (const Made& m : live) {
        EXPECT_TRUE(IsLiveControl(m.bar));
        EXPECT_EQ(ControlOnWindow(m.container), m.bar);
        EXPECT_EQ(ControlOfCanvas(m.bar->Canvas), firstWithCanvas(live, m.bar->Canvas));
    }
    for (const Gone& g : gone) {
        EXPECT_EQ(ControlOfCanvas(g.canvas), nullptr);
        EXPECT_EQ(ControlOnWindow(g.container), nullptr);
    }
    EXPECT_EQ(ControlOfCanvas(nullptr), firstWithCanvas(live, nullptr));
    EXPECT_FALSE(IsLiveControl(nullptr));
}

TEST_F(RegistryTest, FreedRecordsAreNotLiveAndCountsReturn) {
    page_ = sim::createTopLevel(pixels::Rect{0, 0, 100, 40}, 0, nullptr);
    const std::size_t before = ControlCount();
    Made a = make(0), b = make(1);
    ASSERT_NE(a.bar, nullptr);
    ASSERT_NE(b.bar, nullptr);
    platform::Window canvasA = a.bar->Canvas;
    EXPECT_EQ(ControlOfCanvas(canvasA), a.bar);
    EXPECT_EQ(a.bar->Methods->Free(a.bar), 1);
    EXPECT_FALSE(IsLiveControl(a.bar));
    EXPECT_EQ(ControlOfCanvas(canvasA), nullptr);
    EXPECT_TRUE(IsLiveControl(b.bar));
    EXPECT_EQ(ControlCount(), before + 1);
    platform::destroyWindow(b.container);
    EXPECT_FALSE(IsLiveControl(b.bar));
    EXPECT_EQ(ControlCount(), before);
}

}  // namespace
}  // namespace vb::control::testing
