-- Velumbar object layer: Velumbar.CreateEx wraps a bar in an object whose
-- methods fill in the host object name. Runs once per registration.

if type(VelumbarOOP) == "table" and VelumbarOOP.Initialized ~= false then
  return
end

-- Taken now, so a script that later replaces these globals cannot break
-- objects that already exist.
local type, error, select, unpack = type, error, select, unpack

local Class = {
  Initialized = true,
  PX = Velumbar,
  SMT = setmetatable,
}
VelumbarOOP = Class

-- Level 3: the message blames the line that called the method, not the
-- method itself.
local function need(value, wanted, index)
  local found = type(value)
  if found ~= wanted then
    error("Argument #" .. index .. " must be of type '" .. wanted .. "'! Got '" .. found .. "'", 3)
  end
end

local function needOrNil(value, wanted, index)
  local found = type(value)
  if found ~= wanted and found ~= "nil" then
    error("Argument #" .. index .. " must be of type '" .. wanted .. "' or 'nil'! Got '" .. found .. "'", 3)
  end
end

function Velumbar.CreateEx(sHostObject, tFlags)
  if Class.PX.Create(sHostObject, tFlags) ~= true then
    return nil
  end
  local object = { ObjectName = sHostObject, Flags = tFlags }
  Class.SMT(object, { __index = Class })
  return object
end

function Class:AllocColor(...)
  -- Holes left by nil arguments have no entry in the argument table and are
  -- passed over, as a walk over that table does.
  local args = { ... }
  local list = {}
  for i = 1, select("#", ...) do
    local value = args[i]
    if value ~= nil then
      if type(value) ~= "table" then
        error("All arguments in AllocColor must be of type 'table'! Got Argument#" .. i
          .. " '" .. type(value) .. "'", 2)
      end
      list[#list + 1] = value
    end
  end
  return Class.PX.AllocColor(unpack(list))
end

function Class:SetGradientColors(hColors)
  need(hColors, "number", 1)
  return Class.PX.SetGradientColors(self.ObjectName, hColors)
end

function Class:SetSolidColor(color)
  need(color, "number", 1)
  return Class.PX.SetSolidColor(self.ObjectName, color)
end

function Class:SetCurrentPosition(state)
  need(state, "number", 1)
  return Class.PX.SetCurrentPosition(self.ObjectName, state)
end

function Class:GetCurrentPosition()
  return Class.PX.GetCurrentPosition(self.ObjectName)
end

function Class:SetText(text)
  need(text, "string", 1)
  return Class.PX.SetText(self.ObjectName, text)
end

function Class:GetText()
  return Class.PX.GetText(self.ObjectName)
end

function Class:SetFont(...)
  local name, size, color, style, styleColor = ...
  need(name, "string", 1)
  need(size, "number", 2)
  need(color, "number", 3)
  needOrNil(style, "number", 4)
  needOrNil(styleColor, "number", 5)
  return Class.PX.SetFont(self.ObjectName, ...)
end

function Class:SetRange(...)
  local min, max = ...
  need(min, "number", 1)
  need(max, "number", 2)
  return Class.PX.SetRange(self.ObjectName, ...)
end

function Class:GetRange()
  return Class.PX.GetRange(self.ObjectName)
end

function Class:LoadImage(...)
  local nType, wParam, lParam = ...
  need(nType, "number", 1)
  need(wParam, "string", 2)
  needOrNil(lParam, "number", 3)
  return Class.PX.LoadImage(...)
end

function Class:FreeImage(...)
  local handle = ...
  need(handle, "number", 1)
  return Class.PX.FreeImage(...)
end

function Class:CountIconsInFile(...)
  local path = ...
  need(path, "string", 1)
  return Class.PX.CountIconsInFile(...)
end

function Class:SetIcon(...)
  local handle, size = ...
  need(handle, "number", 1)
  need(size, "number", 2)
  return Class.PX.SetIcon(self.ObjectName, ...)
end

function Class:SetTooltip(text)
  need(text, "string", 1)
  return Class.PX.SetTooltip(self.ObjectName, text)
end

function Class:SetCursor(cursor)
  need(cursor, "number", 1)
  return Class.PX.SetCursor(self.ObjectName, cursor)
end

function Class:SetUseGlossy(flag)
  need(flag, "boolean", 1)
  return Class.PX.SetUseGlossy(self.ObjectName, flag)
end

function Class:GetUseGlossy()
  return Class.PX.GetUseGlossy(self.ObjectName)
end

function Class:SetBusy(busy, periodMs)
  need(busy, "boolean", 1)
  needOrNil(periodMs, "number", 2)
  return Class.PX.SetBusy(self.ObjectName, busy, periodMs)
end

function Class:SetGlide(durationMs)
  need(durationMs, "number", 1)
  return Class.PX.SetGlide(self.ObjectName, durationMs)
end

function Class:SetCallback(fn)
  need(fn, "function", 1)
  return Class.PX.SetCallback(self.ObjectName, fn)
end

function Class:RemoveCallback()
  return Class.PX.RemoveCallback(self.ObjectName)
end
