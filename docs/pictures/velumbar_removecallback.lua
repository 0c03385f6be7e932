-- A callback that removes itself after the first click.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 28})
assert(Velumbar.Create("Progress1", {SolidColor = 0x6080A0, BackgroundColor = 0x182028}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 50)
local clicks = 0
Velumbar.SetCallback("Progress1", function(e)
  if e.EventCode == VLMBR_MOUSE_LEFT_CLICK then
    clicks = clicks + 1
    Velumbar.SetText(e.ObjectName, "Clicked once; no more events")
    Velumbar.RemoveCallback(e.ObjectName)
  end
end)
Host.Click("Progress1", "left", 100, 14)
Host.Wait(1000)
Host.Click("Progress1", "left", 100, 14)
assert(clicks == 1, "the second click is not reported")
Host.Snapshot("velumbar_removecallback.png", "Progress1")
