-- Texts are Windows-1252 bytes: \233 is "é", \150 an en dash, \246 "ö".
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x808000, BackgroundColor = 0x303000}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 100)
Velumbar.SetText("Progress1", "Fertig: 100 % \150 sch\246n, caf\233")
Host.Snapshot("text_encoding.png", "Progress1")
