-- Mouse events reach the callback as tables, in the order Windows sends them.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
local log = {}
-- Set before the bar exists: callbacks are kept by name.
check.result(true, 0, Velumbar.SetCallback("Bar", function(e) log[#log + 1] = e end))
assert(Velumbar.Create("Bar"))

local function take()
  local codes = {}
  for i, e in ipairs(log) do codes[i] = e.EventCode end
  local events = log
  log = {}
  return table.concat(codes, ","), events
end

-- Enter, move, leave.
Host.MouseMove("Bar", 50, 12)
Host.MouseMove("Bar", 60, 13)
Host.MouseMove("Bar", 300, 12)
local codes, events = take()
check.equal("65537,65539,65538", codes)
local enter = events[1]
check.equal("Bar", enter.ObjectName)
check.equal(VLMBR_MOUSE_ENTER, enter.EventCode)
check.equal(50, enter.Mouse.x); check.equal(12, enter.Mouse.y)
check.equal(25, enter.Mouse.StateHover)
check.equal(false, enter.Mouse.LeftButtonDown)
check.equal(false, enter.Mouse.RightButtonDown)
check.equal(false, enter.Mouse.MiddleButtonDown)
check.equal(60, events[2].Mouse.x); check.equal(13, events[2].Mouse.y)
check.equal(30, events[2].Mouse.StateHover)

-- Left click: down with the button held, up without, then the click.
Host.MouseMove("Bar", 100, 10); take()
Host.Click("Bar", "left", 100, 10)
codes, events = take()
check.equal("65540,65541,0", codes)
check.equal(true, events[1].Mouse.LeftButtonDown)
check.equal(false, events[2].Mouse.LeftButtonDown)
check.equal(false, events[3].Mouse.LeftButtonDown)
check.equal(50, events[3].Mouse.StateHover)

-- Right click.
Host.Wait(1000)
Host.Click("Bar", "right", 100, 10)
codes, events = take()
check.equal("65542,65543,1", codes)
check.equal(true, events[1].Mouse.RightButtonDown)

-- Pressing, dragging out and releasing: no click; the release lies outside
-- and StateHover is clamped to the range.
Host.Wait(1000)
Host.MouseDown("Bar", "left", 100, 10)
Host.MouseMove("Bar", 250, 30)
Host.MouseUp("Bar", "left", 250, 30)
codes, events = take()
local buttons = {}
for _, e in ipairs(events) do
  if e.EventCode == VLMBR_MOUSE_LEFT_DOWN or e.EventCode == VLMBR_MOUSE_LEFT_UP or
     e.EventCode == VLMBR_MOUSE_LEFT_CLICK then buttons[#buttons + 1] = e end
end
check.equal(2, #buttons, "down and up only")
check.equal(VLMBR_MOUSE_LEFT_UP, buttons[2].EventCode)
check.equal(250, buttons[2].Mouse.x); check.equal(30, buttons[2].Mouse.y)
check.equal(100, buttons[2].Mouse.StateHover)
Host.MouseDown("Bar", "left", 100, 10)
Host.MouseMove("Bar", -40, 5)
Host.MouseUp("Bar", "left", -40, 5)
codes, events = take()
check.equal(0, events[#events].Mouse.StateHover, "clamped at the minimum")
check.equal(-40, events[#events].Mouse.x)

-- Double left click: down, up, click, down, double click, up, click.
Host.Wait(1000)
Host.MouseMove("Bar", 100, 10); take()
Host.DoubleClick("Bar", "left", 100, 10)
check.equal("65540,65541,0,65540,2,65541,0", (take()))
-- Too slow for a double click.
Host.Wait(1000)
Host.Click("Bar", "left", 100, 10)
Host.Wait(600)
Host.Click("Bar", "left", 100, 10)
check.equal("65540,65541,0,65540,65541,0", (take()))
-- Too far apart for a double click.
Host.Wait(1000)
Host.Click("Bar", "left", 100, 10)
Host.Click("Bar", "left", 110, 10)
codes = take()
check.equal("65540,65541,0,65539,65540,65541,0", codes)

-- Right double click.
Host.Wait(1000)
Host.DoubleClick("Bar", "right", 110, 10)
check.equal("65542,65543,1,65542,3,65543,1", (take()))

-- Middle click and middle double click: only downs and ups.
Host.Wait(1000)
Host.Click("Bar", "middle", 110, 10)
check.equal("65544,65545", (take()))
Host.Wait(1000)
Host.DoubleClick("Bar", "middle", 110, 10)
check.equal("65544,65545,65544,65545", (take()))

-- The wheel: two messages of 60 give one event, on the second; 240 gives one.
Host.Wheel("Bar", 60)
check.equal("", (take()))
Host.Wheel("Bar", 60)
check.equal("65546", (take()))
Host.Wheel("Bar", 240)
check.equal("65546", (take()))
Host.Wheel("Bar", -119)
check.equal("", (take()))
Host.Wheel("Bar", -1)
check.equal("65546", (take()))

-- StateHover at both edges of 0..100 and of 10..20.
Host.MouseMove("Bar", 0, 5); Host.MouseMove("Bar", 1, 5); Host.MouseMove("Bar", 199, 5)
codes, events = take()
check.equal(0, events[1].Mouse.StateHover)
check.equal(1, events[2].Mouse.StateHover)
check.equal(100, events[3].Mouse.StateHover)
Velumbar.SetRange("Bar", 10, 20)
Host.MouseMove("Bar", 0, 5); Host.MouseMove("Bar", 199, 5); Host.MouseMove("Bar", 100, 5)
codes, events = take()
check.equal(10, events[1].Mouse.StateHover)
check.equal(20, events[2].Mouse.StateHover)
check.equal(15, events[3].Mouse.StateHover)
