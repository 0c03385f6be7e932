-- The long-running check: CYCLES cycles of create, update, icon, tooltip,
-- callback and destroy, alternately on one host object made again and
-- again and on a fresh one each time. MODE "host" does the same host-side
-- work without the plug-in, so the stand-in host's own growth (its message
-- log) can be told apart. Prints resident memory at each checkpoint. The
-- stand-in system also logs what the plug-in makes it do (accessibility
-- events, say), which a real system does not keep.
--
--   velumbar-host --plugin Velumbar.lmd soak.lua [CYCLES [MODE]]
local cycles, mode = ...
cycles = tonumber(cycles) or 10000
local withPlugin = mode ~= "host"

local function residentKb()
  local f = assert(io.open("/proc/self/status"))
  local text = f:read("*a")
  f:close()
  return tonumber(text:match("VmRSS:%s*(%d+)"))
end

local checkpoints = {[1000] = true, [5000] = true, [10000] = true, [cycles] = true}
-- Colour objects live as long as the library, so one serves every cycle.
local colours = withPlugin and
  assert(Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 50, Color = 65280}, {Index = 100, Color = 16711680}))
local events = 0
local function callback(e) events = events + 1; Velumbar.SetText(e.ObjectName or "Bar", "event") end

for cycle = 1, cycles do
  local name = cycle % 2 == 0 and "Bar" or ("Bar" .. cycle)
  Host.AddObject("progress", name, {X = 10, Y = 10, Width = 200, Height = 24})
  local icon
  if withPlugin then
    assert(Velumbar.Create(name, {Text = "soak"}))
    assert(Velumbar.SetCurrentPosition(name, cycle % 101))
    assert(Velumbar.SetText(name, "cycle " .. cycle))
    assert(Velumbar.SetGradientColors(name, colours))
    icon = assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt"))
    assert(Velumbar.SetIcon(name, icon, 1 + cycle % 4))
    assert(Velumbar.SetTooltip(name, "tip " .. cycle))
    assert(Velumbar.SetCallback(name, callback))
  end
  Host.MouseMove(name, 20, 12)
  Host.MouseMove(name, 120, 12)
  Host.Click(name, "left", 120, 12)
  if withPlugin then
    assert(Velumbar.RemoveCallback(name))
    assert(Velumbar.FreeImage(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt")))
  end
  Host.RemoveObject(name)
  if icon then assert(Velumbar.FreeImage(icon)) end
  if checkpoints[cycle] then
    collectgarbage()
    print(string.format("%s cycles %d: resident %d KB", withPlugin and "plugin" or "host", cycle, residentKb()))
  end
end
