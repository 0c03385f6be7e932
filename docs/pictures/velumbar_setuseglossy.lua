-- The same bar with and without the glossy highlight.
local stops = Velumbar.AllocColor({Index = 0, Color = 0x2040E0}, {Index = 100, Color = 0x20C0FF})
for i, glossy in ipairs({true, false}) do
  local name = glossy and "On" or "Off"
  Host.AddObject("progress", name, {Y = (i - 1) * 40, Width = 320, Height = 32})
  assert(Velumbar.Create(name, {ColorType = VELUMBAR_GRADIENT, GradientColors = stops,
    BackgroundColor = 0x102030}))
  Velumbar.SetUseGlossy(name, glossy)
  Velumbar.SetFont(name, "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
  Velumbar.SetCurrentPosition(name, 80)
  Velumbar.SetText(name, glossy and "SetUseGlossy true" or "SetUseGlossy false")
  Host.Snapshot("velumbar_setuseglossy_" .. name:lower() .. ".png", name)
end
