-- The quick start, exactly as the page shows it.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local blues = Velumbar.AllocColor({Index = 0, Color = 0xC05010}, {Index = 100, Color = 0xFFD070})
assert(Velumbar.Create("Progress1", {ColorType = VELUMBAR_GRADIENT, GradientColors = blues,
                                     BackgroundColor = 0x301800}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 45)
Velumbar.SetText("Progress1", "Installing... 45%")
Host.Snapshot("quick_start.png", "Progress1")
