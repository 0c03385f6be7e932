-- A shadowed text.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x2080E0, BackgroundColor = 0x102040}))
Velumbar.SetCurrentPosition("Progress1", 30)
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_SHADOW, 0x000000)
Velumbar.SetText("Progress1", "Copying 12 of 40 files")
Host.Snapshot("velumbar_settext.png", "Progress1")
