-- 0x0000FF is red: red is in the low byte.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {BackgroundColor = 0x101040}))
assert(Velumbar.SetSolidColor("Progress1", 0x0000FF))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 65)
Velumbar.SetText("Progress1", "SetSolidColor 0x0000FF: red")
Host.Snapshot("velumbar_setsolidcolor.png", "Progress1")
