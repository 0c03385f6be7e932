-- The two text effects: an outline and a shadow.
Host.AddObject("progress", "Border", {Width = 320, Height = 28})
assert(Velumbar.Create("Border", {SolidColor = 0x30B0E0, BackgroundColor = 0x103040}))
Velumbar.SetCurrentPosition("Border", 75)
Velumbar.SetFont("Border", "Arial", 11, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetText("Border", "White text, black outline")
Host.Snapshot("velumbar_setfont_border.png", "Border")

Host.AddObject("progress", "Shadow", {Y = 40, Width = 320, Height = 28})
assert(Velumbar.Create("Shadow", {SolidColor = 0x805020, BackgroundColor = 0x281808}))
Velumbar.SetCurrentPosition("Shadow", 75)
Velumbar.SetFont("Shadow", "Times New Roman", 12, 0xE0FFFF, VELUMBAR_TEXT_SHADOW, 0x202020)
Velumbar.SetText("Shadow", "Light yellow text, dark shadow")
Host.Snapshot("velumbar_setfont_shadow.png", "Shadow")
