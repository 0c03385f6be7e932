-- A solid bar switched to a gradient.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local sunset = Velumbar.AllocColor({Index = 0, Color = 0x400080}, {Index = 60, Color = 0x0060FF},
                                   {Index = 100, Color = 0x40E0FF})
assert(Velumbar.Create("Progress1", {BackgroundColor = 0x200020}))
assert(Velumbar.SetGradientColors("Progress1", sunset))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 85)
Velumbar.SetText("Progress1", "SetGradientColors: three stops")
Host.Snapshot("velumbar_setgradientcolors.png", "Progress1")
