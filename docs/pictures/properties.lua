-- Most keys of the properties table on one bar.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local stops = Velumbar.AllocColor({Index = 0, Color = 0x00D7FF}, {Index = 100, Color = 0x0060FF})
assert(Velumbar.Create("Progress1", {
  ColorType = VELUMBAR_GRADIENT,
  GradientColors = stops,
  BackgroundColor = 0x202020,
  BackgroundBorderColor = 0x808080,
  BorderColor = 0xFFFFFF,
  BorderType = VELUMBAR_BORDER_FLAT,
  ScaleType = VELUMBAR_NOSCALE,
  NoGlossy = false,
}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 65)
Velumbar.SetText("Progress1", "Gold to orange, white border, grey frame")
Host.Snapshot("properties.png", "Progress1")
