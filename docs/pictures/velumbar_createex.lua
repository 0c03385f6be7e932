-- A bar driven through the object CreateEx returns.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
local bar = Velumbar.CreateEx("Progress1", {SolidColor = 0xB06000, BackgroundColor = 0x301800})
assert(bar, "CreateEx returns an object")
bar:SetFont("Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
bar:SetCurrentPosition(40)
bar:SetText("CreateEx object at " .. bar:GetCurrentPosition() .. "%")
Host.Snapshot("velumbar_createex.png", "Progress1")
