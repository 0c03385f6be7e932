-- Colours are 0xBBGGRR: red in the low byte.
local bars = {
  {"Red", 0x0000FF, "0x0000FF is red"},
  {"Green", 0x00FF00, "0x00FF00 is green"},
  {"Blue", 0xFF0000, "0xFF0000 is blue"},
}
for i, bar in ipairs(bars) do
  local name, colour, text = bar[1], bar[2], bar[3]
  Host.AddObject("progress", name, {Y = (i - 1) * 32, Width = 260, Height = 26})
  assert(Velumbar.Create(name, {SolidColor = colour, BackgroundColor = 0x202020}))
  Velumbar.SetFont(name, "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
  Velumbar.SetCurrentPosition(name, 80)
  Velumbar.SetText(name, text)
  Host.Snapshot("colours_" .. name:lower() .. ".png", name)
end
