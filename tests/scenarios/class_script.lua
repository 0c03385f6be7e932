-- The object layer carried inside the library.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
Host.AddObject("button", "Button", {X = 10, Y = 50})

assert(type(Velumbar.CreateEx) == "function")
assert(type(VelumbarOOP) == "table" and VelumbarOOP.Initialized == true)
assert(VelumbarOOP.PX == Velumbar and VelumbarOOP.SMT == setmetatable)

-- CreateEx gives nil, not false, when Create fails; the code stands.
check.result(nil, 457881, Velumbar.CreateEx("Button"))
check.result(nil, 457881, Velumbar.CreateEx("Nothing"))

local flags = {SolidColor = 255}
local bar = Velumbar.CreateEx("Bar", flags)
assert(type(bar) == "table")
check.equal("Bar", bar.ObjectName)
check.equal(flags, bar.Flags)
check.equal(VelumbarOOP, getmetatable(bar).__index)
check.equal(check.rgb(145, 0, 0), Host.Pixel("Bar", 100, 12), "the flags reached Create")

-- Methods drive the same control as the plain functions.
assert(bar:SetText("hello"))
check.equal("hello", Velumbar.GetText("Bar"))
assert(bar:SetCurrentPosition(40))
check.equal(40, bar:GetCurrentPosition())
assert(bar:SetRange(0, 200))
check.equal(200, bar:GetRange().Max)
assert(bar:SetUseGlossy(false))
check.equal(false, bar:GetUseGlossy())
assert(bar:SetTooltip("tip"))
check.equal("tip", Host.Tooltip("Bar"))
assert(bar:SetCursor(VLMBR_CURSOR_HAND))

-- Type errors name the caller's line; the control is unchanged.
local line = debug.getinfo(1, "l").currentline + 1
local ok, message = pcall(function() bar:SetText(5) end)
assert(not ok)
check.endsWith(message, "Argument #1 must be of type 'string'! Got 'number'")
assert(message:find("class_script.lua:" .. line .. ":", 1, true), message)
check.equal("hello", bar:GetText())

check.endsWith(check.raises(function() bar:SetRange(0, "x") end),
  "Argument #2 must be of type 'number'! Got 'string'")
check.endsWith(check.raises(function() bar:SetUseGlossy(1) end),
  "Argument #1 must be of type 'boolean'! Got 'number'")
check.endsWith(check.raises(function() bar:SetCallback("f") end),
  "Argument #1 must be of type 'function'! Got 'string'")
check.endsWith(check.raises(function() bar:SetFont("Arial", 12, 0, "bold") end),
  "Argument #4 must be of type 'number' or 'nil'! Got 'string'")
check.endsWith(check.raises(function() bar:LoadImage(6, "x", "y") end),
  "Argument #3 must be of type 'number' or 'nil'! Got 'string'")

-- SetFont with three arguments passes and forwards the name and the three.
local seen
local setFont = Velumbar.SetFont
Velumbar.SetFont = function(...) seen = {n = select("#", ...), ...} return setFont(...) end
assert(bar:SetFont("Arial", 12, 0xFFFFFF))
check.equal(4, seen.n); check.equal("Bar", seen[1]); check.equal("Arial", seen[2])
check.equal(12, seen[3]); check.equal(0xFFFFFF, seen[4])
Velumbar.SetFont = setFont

-- Forwarding: the first argument only, or all of them.
local setText, setRange = Velumbar.SetText, Velumbar.SetRange
Velumbar.SetText = function(...) seen = {n = select("#", ...), ...} return true end
Velumbar.SetRange = function(...) seen = {n = select("#", ...), ...} return true end
bar:SetText("one", "two")
check.equal(2, seen.n); check.equal("one", seen[2])
bar:SetRange(0, 10, 99)
check.equal(4, seen.n); check.equal(99, seen[4])
Velumbar.SetText, Velumbar.SetRange = setText, setRange

-- AllocColor checks every argument and passes the tables on.
check.endsWith(check.raises(function() bar:AllocColor({Index = 0, Color = 1}, 7) end),
  "All arguments in AllocColor must be of type 'table'! Got Argument#2 'number'")
local h = bar:AllocColor({Index = 0, Color = 255}, {Index = 100, Color = 16711680})
assert(type(h) == "number")
assert(bar:SetGradientColors(h))
assert(bar:SetSolidColor(0xFF0000))

-- Callbacks through the object.
local events = 0
assert(bar:SetCallback(function() events = events + 1 end))
Host.MouseMove("Bar", 20, 10)
check.equal(1, events)
assert(bar:RemoveCallback())
Host.MouseMove("Bar", 21, 10)
check.equal(1, events)

-- Images and icons through the object.
local icon = bar:LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt")
assert(icon)
assert(bar:SetIcon(icon, VELUMBAR_24x24))
check.equal(true, bar:FreeImage(icon))
check.equal(0, bar:CountIconsInFile("missing.exe"))

-- Dropping the object changes nothing; another object drives the same bar.
bar = nil
collectgarbage()
local again = setmetatable({ObjectName = "Bar"}, {__index = VelumbarOOP})
check.equal("hello", again:GetText())
