-- Position, range and the fill they give.
local check = dofile("support/check.lua")
local rgb = check.rgb
local FILL, BACK = rgb(0, 145, 0), rgb(0, 140, 0)

Host.AddObject("progress", "Bar", {X = 5, Y = 5, Width = 200, Height = 24})
assert(Velumbar.Create("Bar"))
local function px(x) return Host.Pixel("Bar", x, 12) end

-- 50 of 0..100 fills 100 columns, framed by the border line at x = 99.
check.result(true, 0, Velumbar.SetCurrentPosition("Bar", 50))
check.equal(FILL, px(98)); check.equal(0, px(99)); check.equal(BACK, px(100))
check.equal(0, px(199), "background frame")

-- 0 shows the background and the border's column at x = 0.
Velumbar.SetCurrentPosition("Bar", 0)
check.equal(0, px(0)); check.equal(BACK, px(1)); check.equal(BACK, px(100))

-- 150 shows full while the position keeps 150.
check.result(true, 0, Velumbar.SetCurrentPosition("Bar", 150))
check.equal(150, Velumbar.GetCurrentPosition("Bar"))
check.equal(FILL, px(198)); check.equal(0, px(199))
Velumbar.SetCurrentPosition("Bar", -20)
check.equal(-20, Velumbar.GetCurrentPosition("Bar"))
check.equal(BACK, px(100))

-- Halves to even.
Velumbar.SetCurrentPosition("Bar", 48.5); check.equal(48, Velumbar.GetCurrentPosition("Bar"))
Velumbar.SetCurrentPosition("Bar", 49.5); check.equal(50, Velumbar.GetCurrentPosition("Bar"))

-- Range limits are script errors, checked in order and before the object.
local check65535 = "The maximal range value should be lower than 65535!"
local minBelowMax = "The minimal range value should be lower than the maximal value!"
local maxAboveZero = "The maximal range value should always be larger than 0!"
local minAtLeastZero = "The minimal range value should always be 0 or higher!"
check.endsWith(check.raises(Velumbar.SetRange, "Bar", 0, 65536), check65535)
check.endsWith(check.raises(Velumbar.SetRange, "Bar", 70000, 65536), check65535)
check.endsWith(check.raises(Velumbar.SetRange, "Bar", 10, 10), minBelowMax)
check.endsWith(check.raises(Velumbar.SetRange, "Bar", -5, 0), maxAboveZero)
check.endsWith(check.raises(Velumbar.SetRange, "Bar", -5, 10), minAtLeastZero)
check.endsWith(check.raises(Velumbar.SetRange, "Nowhere", 10, 10), minBelowMax)
check.equal(0, Application.GetLastError())
check.result(true, 0, Velumbar.SetRange("Bar", 0, 65535))
local range = Velumbar.GetRange("Bar")
check.equal(0, range.Min); check.equal(65535, range.Max)

-- SetRange repaints at the unchanged position: 50 of 0..200 is a quarter.
Velumbar.SetRange("Bar", 0, 100)
Velumbar.SetCurrentPosition("Bar", 50)
check.result(true, 0, Velumbar.SetRange("Bar", 0, 200))
check.equal(50, Velumbar.GetCurrentPosition("Bar"))
check.equal(FILL, px(48)); check.equal(0, px(49)); check.equal(BACK, px(50))

-- A range above 0 spans from its minimum: 15 of 10..20 is half.
Velumbar.SetRange("Bar", 10, 20)
Velumbar.SetCurrentPosition("Bar", 15)
check.equal(FILL, px(98)); check.equal(0, px(99)); check.equal(BACK, px(100))
Velumbar.SetCurrentPosition("Bar", 20)
check.equal(FILL, px(198))
Velumbar.SetCurrentPosition("Bar", 5)
check.equal(BACK, px(50), "below the minimum shows empty")

-- A fill of half a pixel or less shows only the background.
Velumbar.SetRange("Bar", 0, 1000)
Velumbar.SetCurrentPosition("Bar", 1)
check.equal(0, px(0)); check.equal(BACK, px(1))
Velumbar.SetCurrentPosition("Bar", 3)
check.equal(0, px(0), "f = 0.6 crops one column, framed at x = 0")

-- Scaled fill: f = 10.7 squeezes the fill into 10 columns, border at x = 10.
Host.AddObject("progress", "Scaled", {X = 5, Y = 40, Width = 107, Height = 24})
assert(Velumbar.Create("Scaled", {ScaleType = VELUMBAR_SCALE}))
Velumbar.SetCurrentPosition("Scaled", 10)
check.equal(0, Host.Pixel("Scaled", 10, 12), "border at round(9.7)")
check.equal(BACK, Host.Pixel("Scaled", 11, 12))
Host.AddObject("progress", "ScaledClean", {X = 5, Y = 70, Width = 107, Height = 24})
assert(Velumbar.Create("ScaledClean", {ScaleType = VELUMBAR_SCALE, BorderType = 0, NoGlossy = true}))
Velumbar.SetCurrentPosition("ScaledClean", 10)
check.equal(rgb(0, 255, 0), Host.Pixel("ScaledClean", 5, 12))
check.equal(rgb(0, 255, 0), Host.Pixel("ScaledClean", 9, 12))
check.equal(BACK, Host.Pixel("ScaledClean", 10, 12))

-- A range wider than the bar: several positions share a column, and a move
-- within one shows exactly what a bar drawn whole at that position shows.
local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 100, Color = 16711680})
for i, look in ipairs({VELUMBAR_NOSCALE, VELUMBAR_SCALE}) do
  local moved, whole = "Moved" .. i, "Whole" .. i
  Host.AddObject("progress", moved, {X = 5, Y = 70 + 60 * i, Width = 60, Height = 20})
  Host.AddObject("progress", whole, {X = 5, Y = 95 + 60 * i, Width = 60, Height = 20})
  for _, name in ipairs({moved, whole}) do
    assert(Velumbar.Create(name, {ColorType = VELUMBAR_GRADIENT, GradientColors = stops, ScaleType = look}))
    Velumbar.SetRange(name, 0, 600)
    Velumbar.SetText(name, "Busy")
  end
  for position = 0, 600, 7 do
    Velumbar.SetCurrentPosition(moved, position)
    Velumbar.SetCurrentPosition(whole, position)
    Velumbar.SetUseGlossy(whole, false)  -- drawn whole, twice over
    Velumbar.SetUseGlossy(whole, true)
    for y = 0, 19, 6 do
      local a, b = Host.Pixels(moved, 0, y, 60), Host.Pixels(whole, 0, y, 60)
      for x = 1, 60 do check.equal(b[x], a[x], moved .. " at position " .. position .. ", " .. (x - 1) .. ", " .. y) end
    end
  end
end
