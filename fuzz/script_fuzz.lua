-- Random calls of every Velumbar function and class-object method with
-- hostile values, interleaved with host objects coming and going, input
-- and callbacks that call back in, raise or remove their own object. Every
-- call is held to the contract: a usage mistake raises and sets no code; a
-- result of false or nil comes with exactly one registered code (or none,
-- for the functions that never set one); a success sets none.
--
--   velumbar-host --plugin Velumbar.lmd script_fuzz.lua [CALLS [SEED]]
local wanted, seed = ...
wanted = tonumber(wanted) or 20000
seed = tonumber(seed) or 1
math.randomseed(seed)

local function pick(list) return list[math.random(#list)] end

local registeredCodes = {}
for _, code in ipairs({457880, 457881, 457882, 457883, 457884, 457885, 459880, 459881, 459882}) do
  registeredCodes[code] = true
  assert(_tblErrorMessages[code], "message of " .. code .. " not registered")
end

-- Functions that clear the last error and never set one.
local neverSets = {AllocColor = true, CountIconsInFile = true, SetCallback = true, RemoveCallback = true}
-- Functions whose false or nil can be an answer rather than a failure.
local mayAnswerFalse = {GetUseGlossy = true, AllocColor = true, SetCallback = true,
  RemoveCallback = true, CountIconsInFile = true}

local functionNames = {}
for name, f in pairs(Velumbar) do
  if type(f) == "function" then functionNames[#functionNames + 1] = name end
end
table.sort(functionNames)
assert(#functionNames >= 21, "expected the 21 functions and CreateEx, found " .. #functionNames)

local methodNames = {}
for name, f in pairs(VelumbarOOP) do
  if type(f) == "function" then methodNames[#methodNames + 1] = name end
end
table.sort(methodNames)

-- Codes set while one checked call runs; nested calls keep their own.
local codes
local setLastError = Application.SetLastError
Application.SetLastError = function(code)
  if codes then codes[#codes + 1] = code end
  return setLastError(code)
end

-- Host objects: the names scripts use, live or not.
local objectNames = {"Bar1", "Bar2", "Bar3", "Input1", "Button1", "Dialog1", "Removed", "Never", "bar1", ""}
local kinds = {Bar1 = "progress", Bar2 = "progress", Bar3 = "progress", Input1 = "input",
  Button1 = "button", Dialog1 = "progress", Removed = "progress"}
local live = {}

local function addObject(name)
  local kind = kinds[name]
  if not kind then return end
  local props = {X = math.random(0, 300), Y = math.random(0, 200), Width = math.random(0, 250),
    Height = math.random(0, 40), Dialog = name == "Dialog1"}
  if pcall(Host.AddObject, kind, name, props) then live[name] = true end
end

local function removeObject(name)
  if live[name] then
    Host.RemoveObject(name)
    live[name] = nil
  end
end

for _, name in ipairs({"Bar1", "Bar2", "Input1", "Button1", "Removed"}) do addObject(name) end
removeObject("Removed")

-- Handles seen so far: images and colours, live and freed.
local handles = {0, 1, -1, 2 ^ 32, 2 ^ 64}

local raising = setmetatable({}, {__index = function() error("metatable raises") end})
local lying = setmetatable({}, {__index = function(t, k) return k == "Index" and 0 / 0 or "12" end,
  __tostring = function() return "Bar1" end, __len = function() return 2 ^ 31 end})

local hostile = {
  true, false, 0, -1, 1, 2, 4, 5, 6, 11, 12, 0.5, -0.5, 1.5, 2.5, -1.4, 99.99, 100, 101,
  0 / 0, 1 / 0, -1 / 0, 2 ^ 31, -2 ^ 31, 2 ^ 31 - 1, 2 ^ 32, 2 ^ 53, -2 ^ 53, 2 ^ 63, 1e300, -1e-300,
  "", "0", "1e999", "-2147483649", "0x10", "nan", "a\0b", "\255\254\0\1", string.rep("x", 5000),
  string.rep("\0", 300), "txt", "C:\\", "C:\\Windows", "..", "/dev/zero", "/proc/self/mem",
  {}, {Index = 0, Color = 255}, {Index = 100, Color = 2 ^ 40}, {Index = -5, Color = -1},
  {WindowHandle = 1}, {Min = 10, Max = 5}, {SolidColor = 0 / 0, ColorType = 2 ^ 31},
  {TextFont = {Name = {}, Size = 1 / 0}}, raising, lying, tostring, error, coroutine.create(function() end),
  io.stdout,
}

local function randomValue()
  local r = math.random(100)
  if r <= 25 then return pick(objectNames) end
  if r <= 35 then return pick(handles) end
  if r <= 40 then return nil end
  -- Plausible values too, so that calls get past the checks and act.
  if r <= 55 then return math.random(0, 100) end
  if r <= 60 then return pick({true, false, "text", "Arial", {Index = 0, Color = 255}}) end
  return pick(hostile)
end

local calls, raised, failed = 0, 0, 0
local depth = 0
local checkedCall  -- forward

-- Callbacks of every temper. Each knows the object it was set on.
local function makeCallback(name)
  local kind = math.random(6)
  if kind == 1 then return function() end end
  if kind == 2 then return function() error("callback raises") end end
  if kind == 3 then return function() removeObject(name) end end
  if kind == 4 then
    return function() Velumbar.RemoveCallback(name); Velumbar.SetCallback(name, makeCallback(name)) end
  end
  if kind == 5 then return function() coroutine.yield() end end
  return function(event)
    assert(type(event) == "table", "an event is a table")
    if depth < 3 then checkedCall() end
  end
end

-- A broken contract is kept as well as raised: raised inside a callback,
-- the plug-in would swallow it.
local violation
local function assert(condition, message)
  if not condition then
    violation = violation or message
    error(message, 0)
  end
  return condition
end

local function contract(name, ok, seen, result)
  local last = Application.GetLastError()
  local where = "call " .. calls .. " (seed " .. seed .. "): Velumbar." .. name
  if not ok then
    raised = raised + 1
    assert(#seen == 0, where .. " raised after setting code " .. tostring(seen[1]))
    return
  end
  assert(#seen <= 1, where .. " set " .. #seen .. " codes")
  if #seen == 1 then
    failed = failed + 1
    assert(not neverSets[name], where .. " set a code")
    assert(registeredCodes[seen[1]], where .. " set unregistered code " .. tostring(seen[1]))
    assert(result == nil or result == false, where .. " set a code and returned " .. tostring(result))
    assert(last == seen[1], where .. " last error " .. tostring(last) .. " is not the code set")
  else
    assert(last == 0, where .. " left last error " .. tostring(last))
    assert(result ~= nil and result ~= false or mayAnswerFalse[name],
      where .. " returned " .. tostring(result) .. " without a code")
  end
end

local function randomArguments()
  local n = math.random(0, 6)
  local args = {n = n}
  for i = 1, n do args[i] = randomValue() end
  -- Mostly aim at a name, so that calls get past the checks.
  if n > 0 and math.random(3) > 1 then args[1] = pick(objectNames) end
  return args
end

local function remember(name, result)
  if (name == "LoadImage" or name == "AllocColor") and type(result) == "number" then
    handles[#handles + 1] = result
    if #handles > 64 then table.remove(handles, 6) end
  end
end

local function callFunction()
  local name = pick(functionNames)
  local args = randomArguments()
  if name == "SetCallback" and args.n >= 1 and math.random(2) == 1 then
    args[2], args.n = makeCallback(args[1]), math.max(args.n, 2)
  elseif name == "LoadImage" and math.random(2) == 1 then
    args[1], args.n = math.random(0, 7), math.max(args.n, 3)
  end
  local outer = codes
  codes = {}
  depth = depth + 1
  local ok, result = pcall(Velumbar[name], unpack(args, 1, args.n))
  depth = depth - 1
  local seen = codes
  codes = outer
  calls = calls + 1
  if name ~= "CreateEx" then contract(name, ok, seen, result) end
  if ok then remember(name, result) end
end

local function callMethod()
  local object
  local r = math.random(3)
  if r == 1 then
    object = Velumbar.CreateEx(pick(objectNames), randomValue()) or {ObjectName = "Bar1"}
    if type(object) ~= "table" then object = {ObjectName = object} end
  else
    object = {ObjectName = r == 2 and pick(objectNames) or randomValue()}
  end
  setmetatable(object, {__index = VelumbarOOP})
  local method = pick(methodNames)
  local args = randomArguments()
  if method == "SetCallback" and math.random(2) == 1 then args[1] = makeCallback(object.ObjectName) end
  depth = depth + 1
  pcall(object[method], object, unpack(args, 1, args.n))
  depth = depth - 1
  calls = calls + 1
end

local buttons = {"left", "right", "middle"}
local function hostAction()
  local name = pick(objectNames)
  local r = math.random(16)
  local x, y = math.random(-5, 260), math.random(-5, 45)
  if r == 1 then addObject(name)
  elseif r == 2 then removeObject(name)
  elseif r == 3 then pcall(Host.ResizeObject, name, math.random(0, 300), math.random(0, 50))
  elseif r <= 6 then pcall(Host.MouseMove, name, x, y)
  elseif r == 7 then pcall(Host.Click, name, pick(buttons), x, y)
  elseif r == 8 then pcall(Host.DoubleClick, name, pick(buttons), x, y)
  elseif r == 9 then pcall(Host.MouseDown, name, pick(buttons), x, y)
  elseif r == 10 then pcall(Host.MouseUp, name, pick(buttons), x, y)
  elseif r == 11 then pcall(Host.Wheel, name, math.random(-480, 480))
  elseif r == 12 then pcall(Host.Focus, math.random(4) == 1 and nil or name)
  elseif r == 13 then pcall(Host.KeyDown, math.random(0, 255)); pcall(Host.KeyUp, math.random(0, 255))
  elseif r == 14 then pcall(Host.Char, math.random(0, 0x10FFFF))
  elseif r == 15 then pcall(Host.Wait, math.random(0, 1000))
  else pcall(Host.Tooltip, name); pcall(Host.Cursor); pcall(Host.Pixel, name, x, y)
  end
end

-- Now and then the host's own lookups answer strangely for a while.
local pageType, properties = Page.GetObjectType, Progress.GetProperties
local strangeAnswers = {-1, -1.4, -0.6, 0 / 0, 1 / 0, "x", {}, nil, 2 ^ 40}
local function hostLookups()
  if math.random(4) > 1 then
    Page.GetObjectType, Progress.GetProperties = pageType, properties
  elseif math.random(2) == 1 then
    local answer = pick(strangeAnswers)
    Page.GetObjectType = function(name)
      if math.random(8) == 1 then error("GetObjectType raises") end
      return math.random(2) == 1 and answer or pageType(name)
    end
  else
    Progress.GetProperties = function(name)
      if math.random(8) == 1 then error("GetProperties raises") end
      return math.random(2) == 1 and pick(hostile) or properties(name)
    end
  end
end

checkedCall = function()
  local r = math.random(20)
  if r <= 11 then callFunction()
  elseif r <= 14 then callMethod()
  elseif r == 15 then coroutine.wrap(callFunction)()
  else hostAction()
  end
end

while calls < wanted do
  if math.random(200) == 1 then hostLookups() end
  pcall(checkedCall)
  if violation then error(violation, 0) end
end
Page.GetObjectType, Progress.GetProperties = pageType, properties

-- The plug-in still works afterwards.
pcall(Host.RemoveObject, "Bar3")
Host.AddObject("progress", "Bar3", {X = 0, Y = 0, Width = 100, Height = 20})
assert(Velumbar.Create("Bar3"))
assert(Velumbar.SetText("Bar3", "after"))
assert(Velumbar.GetText("Bar3") == "after")
print(string.format("script fuzz: %d calls (%d raised, %d failed with a code), seed %d",
  calls, raised, failed, seed))
