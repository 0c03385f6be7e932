-- The text read back and extended.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x8040A0, BackgroundColor = 0x201028}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 60)
Velumbar.SetText("Progress1", "Step 3")
local text = Velumbar.GetText("Progress1")
Velumbar.SetText("Progress1", text .. " of 5")
Host.Snapshot("velumbar_gettext.png", "Progress1")
