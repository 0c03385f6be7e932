-- The start page's picture: a gradient bar with an outlined label.
Host.AddObject("progress", "Progress1", {Width = 360, Height = 30})
local stops = Velumbar.AllocColor({Index = 0, Color = 0x802000}, {Index = 50, Color = 0xD08000},
  {Index = 100, Color = 0xFFE060})
assert(Velumbar.Create("Progress1", {ColorType = VELUMBAR_GRADIENT, GradientColors = stops,
  BackgroundColor = 0x301800}))
Velumbar.SetFont("Progress1", "Arial", 11, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 72)
Velumbar.SetText("Progress1", "Velumbar: 72%")
Host.Snapshot("index.png", "Progress1")
