-- 10,000 position updates of an outlined-text gradient bar, as a copy loop
-- would make them: the workload of `make profile`.
Host.AddObject("progress", "Copy", {X = 10, Y = 10, Width = 400, Height = 30})
local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 50, Color = 65280},
                                  {Index = 100, Color = 16711680})
assert(Velumbar.Create("Copy", {ColorType = VELUMBAR_GRADIENT, GradientColors = stops}))
Velumbar.SetFont("Copy", "DejaVu Sans", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0)
Velumbar.SetRange("Copy", 0, 10000)
for i = 1, 10000 do
  if i % 100 == 0 then Velumbar.SetText("Copy", "Copying files... " .. math.floor(i / 100) .. "%") end
  assert(Velumbar.SetCurrentPosition("Copy", i))
end
