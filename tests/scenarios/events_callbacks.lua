-- Callbacks: errors, re-entry, replacement, removal and exact names.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
assert(Velumbar.Create("Bar"))

-- A callback that raises does not stop later events.
local calls = 0
Velumbar.SetCallback("Bar", function(e) calls = calls + 1; error("x") end)
Host.MouseMove("Bar", 10, 10)
Host.MouseMove("Bar", 11, 10)
Host.MouseMove("Bar", 12, 10)
check.equal(3, calls)
check.equal(0, Application.GetLastError(), "errors are not reported to the host")

-- A callback may drive the bar it belongs to.
Velumbar.SetCallback("Bar", function(e)
  Velumbar.SetText("Bar", "seen " .. e.EventCode)
  Velumbar.SetCurrentPosition("Bar", e.Mouse.StateHover)
end)
Host.MouseMove("Bar", 100, 10)
check.equal("seen " .. VLMBR_MOUSE_MOVE, Velumbar.GetText("Bar"))
check.equal(50, Velumbar.GetCurrentPosition("Bar"))

-- A callback that replaces itself: the new one is used from the next event.
local first, second = 0, 0
local function secondCallback() second = second + 1 end
Velumbar.SetCallback("Bar", function()
  first = first + 1
  Velumbar.SetCallback("Bar", secondCallback)
end)
Host.MouseMove("Bar", 101, 10)
Host.MouseMove("Bar", 102, 10)
check.equal(1, first); check.equal(1, second)

-- SetCallback with a non-function keeps the earlier callback; extra
-- arguments are ignored.
check.result(false, 0, Velumbar.SetCallback("Bar", "f"))
Host.MouseMove("Bar", 103, 10)
check.equal(2, second)
local g = 0
check.result(true, 0, Velumbar.SetCallback("Bar", secondCallback, function() g = g + 1 end))
Host.MouseMove("Bar", 104, 10)
check.equal(3, second); check.equal(0, g)

-- Nested events: a focus change caused inside a callback is dispatched at
-- once, and the outer event's data is intact afterwards.
local trace = {}
Velumbar.SetCallback("Bar", function(e)
  trace[#trace + 1] = "begin " .. e.EventCode .. " x=" .. e.Mouse.x
  if e.EventCode == VLMBR_MOUSE_MOVE then Host.Focus("Bar") end
  trace[#trace + 1] = "end " .. e.EventCode .. " x=" .. e.Mouse.x
end)
Host.MouseMove("Bar", 120, 10)
check.equal("begin 65539 x=120|begin 14000 x=120|end 14000 x=120|end 65539 x=120",
  table.concat(trace, "|"))
Host.Focus(nil)

-- RemoveCallback: no more calls; removing twice is fine.
local removed = 0
Velumbar.SetCallback("Bar", function() removed = removed + 1 end)
check.result(true, 0, Velumbar.RemoveCallback("Bar"))
check.result(true, 0, Velumbar.RemoveCallback("Bar"))
Host.MouseMove("Bar", 130, 10)
check.equal(0, removed)

-- Names differ in letter case: the host resolves both, only the exact
-- spelling given to Create is called.
local pageType, properties = Page.GetObjectType, Progress.GetProperties
Page.GetObjectType = function(name) return pageType(name:lower() == "bar" and "Bar" or name) end
Progress.GetProperties = function(name) return properties(name:lower() == "bar" and "Bar" or name) end
local wrongCase = 0
check.result(true, 0, Velumbar.SetCallback("BAR", function() wrongCase = wrongCase + 1 end))
Host.MouseMove("Bar", 131, 10)
check.equal(0, wrongCase)
Page.GetObjectType, Progress.GetProperties = pageType, properties

-- A callback that removes its bar's host object while it runs.
local afterRemoval = 0
Velumbar.SetCallback("Bar", function(e)
  afterRemoval = afterRemoval + 1
  Host.RemoveObject("Bar")
end)
Host.MouseMove("Bar", 140, 10)
check.equal(1, afterRemoval)
check.result(nil, 457881, Velumbar.GetCurrentPosition("Bar"))
-- The callback stays registered by name: a new bar of that name uses it.
Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
assert(Velumbar.Create("Bar"))
Velumbar.SetCallback("Bar", function() afterRemoval = afterRemoval + 10 end)
Host.MouseMove("Bar", 5, 5)
check.equal(11, afterRemoval)

-- A bar whose object has no callback raises no Lua activity.
Velumbar.RemoveCallback("Bar")
local hooked = 0
debug.sethook(function() hooked = hooked + 1 end, "c")
Host.MouseMove("Bar", 6, 5)
debug.sethook()
check.equal(2, hooked, "only the calls of Host.MouseMove and debug.sethook")
