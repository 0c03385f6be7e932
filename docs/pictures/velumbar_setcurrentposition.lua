-- A bar at 70 %.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x30A030, BackgroundColor = 0x103010}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 70)
Velumbar.SetText("Progress1", "SetCurrentPosition 70")
Host.Snapshot("velumbar_setcurrentposition.png", "Progress1")
