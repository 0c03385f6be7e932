-- Velumbar.Create with a properties table.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0xD07020, BackgroundColor = 0x402010}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 60)
Velumbar.SetText("Progress1", "Solid fill, 60%")
Host.Snapshot("velumbar_create.png", "Progress1")
