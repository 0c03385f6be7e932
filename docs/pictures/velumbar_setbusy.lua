-- One busy bar at three moments of its period: the band of the bar's own
-- fill (gradient and gloss) enters at the left and leaves at the right.
local stops = Velumbar.AllocColor({Index = 0, Color = 0x2040E0}, {Index = 100, Color = 0x20C0FF})
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {ColorType = VELUMBAR_GRADIENT, GradientColors = stops,
  BackgroundColor = 0x102030}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetText("Progress1", "Searching...")
Velumbar.SetBusy("Progress1", true, 1500)
for i, at in ipairs({300, 750, 1200}) do
  Host.Wait(i == 1 and 300 or 450)
  Host.Snapshot("velumbar_setbusy_" .. at .. ".png", "Progress1")
end
