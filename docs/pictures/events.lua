-- A click at 70 % of the bar's width moves the bar there through its callback.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0xC08040, BackgroundColor = 0x402010}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 20)
Velumbar.SetCallback("Progress1", function(e)
  if e.EventCode == VLMBR_MOUSE_LEFT_CLICK then
    Velumbar.SetCurrentPosition(e.ObjectName, e.Mouse.StateHover)
    Velumbar.SetText(e.ObjectName, "Clicked: StateHover = " .. e.Mouse.StateHover)
  end
end)
Host.Click("Progress1", "left", 223, 14)
assert(Velumbar.GetCurrentPosition("Progress1") == 70, "the callback moved the bar")
Host.Snapshot("events.png", "Progress1")
