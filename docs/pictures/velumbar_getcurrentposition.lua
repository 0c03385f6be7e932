-- The position read back and shown as the text.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0xA06020, BackgroundColor = 0x302010}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 62)
local position = Velumbar.GetCurrentPosition("Progress1")
assert(position == 62)
Velumbar.SetText("Progress1", "GetCurrentPosition gives " .. position)
Host.Snapshot("velumbar_getcurrentposition.png", "Progress1")
