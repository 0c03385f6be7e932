-- A glide from 10 to 90 over 600 ms: the frames at 60, 180 and 600 ms.
-- The fill moves fast at first and settles gently at the new position.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x30A030, BackgroundColor = 0x103010}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 10)
Velumbar.SetText("Progress1", "90%")
Velumbar.SetGlide("Progress1", 600)
Velumbar.SetCurrentPosition("Progress1", 90)
local shown = 0
for _, at in ipairs({60, 180, 600}) do
  Host.Wait(at - shown)
  shown = at
  Host.Snapshot("velumbar_setglide_" .. at .. ".png", "Progress1")
end
