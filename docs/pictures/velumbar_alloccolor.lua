-- Three colour stops: red, yellow, green.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local traffic = Velumbar.AllocColor(
  {Index = 0,   Color = 0x0000FF},
  {Index = 50,  Color = 0x00FFFF},
  {Index = 100, Color = 0x00C000})
assert(traffic, "three stops make a colour object")
assert(Velumbar.Create("Progress1", {ColorType = VELUMBAR_GRADIENT, GradientColors = traffic,
  BackgroundColor = 0x202020}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 80)
Velumbar.SetText("Progress1", "Red, yellow, green at 80%")
Host.Snapshot("velumbar_alloccolor.png", "Progress1")
