-- A bar driven through the object that CreateEx returns.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local bar = assert(Velumbar.CreateEx("Progress1", {SolidColor = 0xC07000, BackgroundColor = 0x302010}))
bar:SetFont("Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
bar:SetCurrentPosition(30)
bar:SetText("Object layer: 30%")
Host.Snapshot("class_layer.png", "Progress1")
