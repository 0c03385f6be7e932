-- A click at 70 % of the width; the callback moves the bar and says where.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x30A0F0, BackgroundColor = 0x102838}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 10)
assert(Velumbar.SetCallback("Progress1", function(e)
  if e.EventCode == VLMBR_MOUSE_LEFT_CLICK then
    Velumbar.SetCurrentPosition(e.ObjectName, e.Mouse.StateHover)
    Velumbar.SetText(e.ObjectName, "Clicked at " .. e.Mouse.StateHover .. "%")
  end
end))
Host.Click("Progress1", "left", 223, 14)
assert(Velumbar.GetText("Progress1") == "Clicked at 70%", "the callback ran")
Host.Snapshot("velumbar_setcallback.png", "Progress1")
