-- What a screen reader finds on a bar: role, name, value and state, the
-- events it is sent, and nothing once the bar is gone.
local check = dofile("support/check.lua")

local function events(name)
  return table.concat(Host.AccessEvents(name), ",")
end

local function state(description)
  return table.concat(description.State, ",")
end

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
Host.AddObject("progress", "Bare", {X = 10, Y = 50})
check.equal(nil, Host.Accessible("Bar"), "no bar yet")
check.equal(nil, Host.Accessible("Bar", "object"), "the host object has no answer of its own")

-- After Create: a progress bar at the canvas's place, no name, the full bar.
assert(Velumbar.Create("Bar"))
local a = Host.Accessible("Bar")
check.equal("progress bar", a.Role)
check.equal("", a.Name)
check.equal("100%", a.Value)
check.equal("", state(a))
check.equal(0, a.Location.X)
check.equal(0, a.Location.Y)
check.equal(200, a.Location.Width)
check.equal(24, a.Location.Height)
check.equal("", events("Bar"), "creating raises nothing")

-- Position: the percentage rounds as the fill does, halves to even.
Velumbar.SetCurrentPosition("Bar", 45)
check.equal("45%", Host.Accessible("Bar").Value)
Velumbar.SetCurrentPosition("Bar", 0)
check.equal("0%", Host.Accessible("Bar").Value)
Velumbar.SetCurrentPosition("Bar", -20)
check.equal("0%", Host.Accessible("Bar").Value, "below the range")
Velumbar.SetCurrentPosition("Bar", 250)
check.equal("100%", Host.Accessible("Bar").Value, "above the range")
check.equal("ValueChange,ValueChange,ValueChange", events("Bar"),
  "100 -> 45 -> 0 -> 0 (-20 shows as 0, no event) -> 100")

-- An unchanged position, or a new one showing the same percentage, says nothing.
Velumbar.SetCurrentPosition("Bar", 250)
Velumbar.SetCurrentPosition("Bar", 100)
check.equal(3, #Host.AccessEvents("Bar"))

-- Range: 200..400 at 300 is half way; 0..8 at 1 is 12.5, which rounds to 12.
assert(Velumbar.SetRange("Bar", 200, 400))
check.equal("0%", Host.Accessible("Bar").Value, "100 is below the new range")
Velumbar.SetCurrentPosition("Bar", 300)
check.equal("50%", Host.Accessible("Bar").Value)
Velumbar.SetCurrentPosition("Bar", 400)
check.equal("100%", Host.Accessible("Bar").Value, "the top of the range")
Velumbar.SetCurrentPosition("Bar", 200)
check.equal("0%", Host.Accessible("Bar").Value, "the bottom of the range")
assert(Velumbar.SetRange("Bar", 0, 8))
Velumbar.SetCurrentPosition("Bar", 1)
check.equal("12%", Host.Accessible("Bar").Value)
Velumbar.SetCurrentPosition("Bar", 3)
check.equal("38%", Host.Accessible("Bar").Value, "37.5 rounds to the even 38")
-- A reversed or empty range is refused and the description keeps the old one.
check.raises(Velumbar.SetRange, "Bar", 8, 2)
check.raises(Velumbar.SetRange, "Bar", 5, 5)
check.equal("38%", Host.Accessible("Bar").Value)
local before = #Host.AccessEvents("Bar")

-- Text: the name, and a name event only when the name changes.
assert(Velumbar.SetText("Bar", "Copying files"))
check.equal("Copying files", Host.Accessible("Bar").Name)
assert(Velumbar.SetText("Bar", "Copying files"))
assert(Velumbar.SetText("Bar", "   "))
check.equal("", Host.Accessible("Bar").Name, "a text of spaces names nothing")
assert(Velumbar.SetText("Bar", ""))
check.equal("", Host.Accessible("Bar").Name)
local after = Host.AccessEvents("Bar")
check.equal(before + 2, #after, "named, then unnamed; the same text and spaces-to-empty say nothing")
check.equal("NameChange", after[#after])
check.equal("NameChange", after[#after - 1])

-- The host object's own window answers for the bar, never with a stale value.
local own = Host.Accessible("Bar", "object")
check.equal("progress bar", own.Role)
check.equal("38%", own.Value)

-- State follows the host object's window.
Host.EnableObject("Bar", false)
check.equal("unavailable", state(Host.Accessible("Bar")))
Host.ShowObject("Bar", false)
check.equal("unavailable,invisible", state(Host.Accessible("Bar")))
Host.EnableObject("Bar", true)
Host.ShowObject("Bar", true)
check.equal("", state(Host.Accessible("Bar")))

-- A resized bar is found at its new size.
Host.ResizeObject("Bar", 120, 30)
a = Host.Accessible("Bar")
check.equal(120, a.Location.Width)
check.equal(30, a.Location.Height)

-- An object without a bar answers nothing; after the bar is destroyed
-- nothing is reachable, and its events stay as they were.
check.equal(nil, Host.Accessible("Bare"))
local raised = #Host.AccessEvents("Bar")
Host.RemoveObject("Bar")
check.equal(nil, Host.Accessible("Bar"))
check.equal(nil, Host.Accessible("Bar", "object"))
check.equal(raised, #Host.AccessEvents("Bar"))

-- A second Create replaces the bar: the reader finds the new one only.
Host.AddObject("progress", "Second", {X = 10, Y = 90})
assert(Velumbar.Create("Second"))
Velumbar.SetCurrentPosition("Second", 30)
assert(Velumbar.Create("Second"))
check.equal("100%", Host.Accessible("Second").Value)
check.equal("100%", Host.Accessible("Second", "object").Value)
