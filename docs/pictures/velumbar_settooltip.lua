-- A bar with a tooltip; the tooltip itself is a window of its own, shown on hover.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x40B080, BackgroundColor = 0x103020}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 30)
assert(Velumbar.SetTooltip("Progress1", "12 of 40 files copied"))
assert(Host.Tooltip("Progress1") == "12 of 40 files copied")
Velumbar.SetText("Progress1", "Rest the mouse here for details")
Host.Snapshot("velumbar_settooltip.png", "Progress1")
