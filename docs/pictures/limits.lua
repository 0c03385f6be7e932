-- A text too long for its bar is cut and ends in "...".
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x4080C0, BackgroundColor = 0x102030}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 55)
Velumbar.SetText("Progress1",
  "A text far too long for this bar is cut short, and three dots end what is left of it")
Host.Snapshot("limits.png", "Progress1")
