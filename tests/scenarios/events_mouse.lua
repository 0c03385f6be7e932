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

-- Left click: down with the button held, up without, then the click; the
-- bar ends its capture on the release, and the system then sends a move at
-- the same point, as Windows does when a capture ends.
Host.MouseMove("Bar", 100, 10); take()
Host.Click("Bar", "left", 100, 10)
codes, events = take()
check.equal("65540,65541,0,65539", codes)
check.equal(true, events[1].Mouse.LeftButtonDown)
check.equal(false, events[2].Mouse.LeftButtonDown)
check.equal(false, events[3].Mouse.LeftButtonDown)
check.equal(50, events[3].Mouse.StateHover)
check.equal(100, events[4].Mouse.x); check.equal(10, events[4].Mouse.y)
check.equal(false, events[4].Mouse.LeftButtonDown)

-- Right click.
Host.Wait(1000)
Host.Click("Bar", "right", 100, 10)
codes, events = take()
check.equal("65542,65543,1,65539", codes)
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
check.equal("65540,65541,0,65539,65540,2,65541,0,65539", (take()))
-- Too slow for a double click.
Host.Wait(1000)
Host.Click("Bar", "left", 100, 10)
Host.Wait(600)
Host.Click("Bar", "left", 100, 10)
check.equal("65540,65541,0,65539,65540,65541,0,65539", (take()))
-- Too far apart for a double click.
Host.Wait(1000)
Host.Click("Bar", "left", 100, 10)
Host.Click("Bar", "left", 110, 10)
codes = take()
check.equal("65540,65541,0,65539,65539,65540,65541,0,65539", codes)

-- Right double click.
Host.Wait(1000)
Host.DoubleClick("Bar", "right", 110, 10)
check.equal("65542,65543,1,65539,65542,3,65543,1,65539", (take()))

-- Middle click and middle double click: only downs and ups (and the moves
-- after each release).
Host.Wait(1000)
Host.Click("Bar", "middle", 110, 10)
check.equal("65544,65545,65539", (take()))
Host.Wait(1000)
Host.DoubleClick("Bar", "middle", 110, 10)
check.equal("65544,65545,65539,65544,65545,65539", (take()))

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

-- Two bars: the system routes the pointer, not the window under it.
Velumbar.SetRange("Bar", 0, 100)
Host.AddObject("progress", "Other", {X = 10, Y = 60, Width = 200, Height = 24})
assert(Velumbar.Create("Other"))
check.result(true, 0, Velumbar.SetCallback("Other", function(e) log[#log + 1] = e end))
local function codesOf(events, name)
  local out = {}
  for _, e in ipairs(events) do
    if e.ObjectName == name then out[#out + 1] = e.EventCode end
  end
  return table.concat(out, ",")
end

local function named(events)
  local out = {}
  for i, e in ipairs(events) do out[i] = e.ObjectName .. ":" .. e.EventCode end
  return table.concat(out, ",")
end

-- While one bar holds the capture, a move over the other bar goes to the
-- first, in its own coordinates; the first is left all the same, and the
-- other hears nothing.
Host.Wait(1000)
Host.MouseMove("Bar", 100, 10); take()
Host.MouseDown("Bar", "left", 100, 10)
Host.MouseMove("Other", 50, 12)
codes, events = take()
check.equal("Bar:65540,Bar:65539,Bar:65538", named(events))
check.equal(50, events[2].Mouse.x); check.equal(62, events[2].Mouse.y)
-- The release there goes to the first bar too (outside it: no click); the
-- move the system sends when the capture ends enters the other bar.
Host.MouseUp("Other", "left", 50, 12)
codes, events = take()
check.equal("Bar:65541,Other:65537", named(events))
check.equal(50, events[1].Mouse.x); check.equal(62, events[1].Mouse.y)
check.equal(50, events[2].Mouse.x); check.equal(12, events[2].Mouse.y)

-- From one bar to the other and off the page: each bar hears of its leave
-- after the move that took the pointer elsewhere.
Host.MouseMove("Bar", 100, 10)
Host.MouseMove("Other", 100, 10)
Host.MouseMove("Other", -150, 10)
check.equal("Bar:65537,Other:65538,Other:65537,Bar:65538,Other:65538", named(select(2, take())))
-- So a cursor set on a bar the pointer has left is not shown.
check.result(true, 0, Velumbar.SetCursor("Bar", VLMBR_CURSOR_HAND))
check.equal("arrow", Host.Cursor(), "the pointer is off the page")
