-- Toggling the highlight with GetUseGlossy.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0xE08040, BackgroundColor = 0x382010}))
Velumbar.SetUseGlossy("Progress1", not Velumbar.GetUseGlossy("Progress1"))
assert(Velumbar.GetUseGlossy("Progress1") == false)
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 70)
Velumbar.SetText("Progress1", "Gloss toggled: now " .. tostring(Velumbar.GetUseGlossy("Progress1")))
Host.Snapshot("velumbar_getuseglossy.png", "Progress1")
