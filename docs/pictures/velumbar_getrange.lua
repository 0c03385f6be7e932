-- The range read back; the bar at its middle.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x6060E0, BackgroundColor = 0x181840}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetRange("Progress1", 0, 250)
local range = Velumbar.GetRange("Progress1")
local half = (range.Min + range.Max) / 2
Velumbar.SetCurrentPosition("Progress1", half)
Velumbar.SetText("Progress1", "Half of " .. range.Min .. ".." .. range.Max)
Host.Snapshot("velumbar_getrange.png", "Progress1")
