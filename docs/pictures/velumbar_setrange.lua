-- The range 0 to 400 at 300.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x20A0C0, BackgroundColor = 0x102830}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
local files = 400
Velumbar.SetRange("Progress1", 0, files)
Velumbar.SetCurrentPosition("Progress1", 300)
Velumbar.SetText("Progress1", "300 of " .. files .. " files")
Host.Snapshot("velumbar_setrange.png", "Progress1")
