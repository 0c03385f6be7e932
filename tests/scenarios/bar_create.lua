-- Create with and without properties: the default look, accepted and
-- rejected values.
local check = dofile("support/check.lua")
local rgb = check.rgb

local y = 0
local function bar(name, props, width)
  Host.AddObject("progress", name, {X = 10, Y = y, Width = width or 200, Height = 24})
  y = y + 30
  local created = Velumbar.Create(name, props)
  return created
end

local function px(name, x, row) return Host.Pixel(name, x, row) end

-- No properties: green fill with gloss on dark green, black flat border, full.
check.result(true, 0, bar("Default"))
check.equal(rgb(0, 145, 0), px("Default", 100, 12), "fill at the middle row")
check.equal(rgb(0, 200, 0), px("Default", 100, 18), "fill at row 18")
check.equal(rgb(100, 149, 100), px("Default", 100, 5), "gloss in the upper half")
for _, p in ipairs({{0, 12}, {199, 12}, {100, 0}, {100, 23}}) do
  check.equal(0, px("Default", p[1], p[2]), "border at " .. p[1] .. "," .. p[2])
end
check.equal(100, Velumbar.GetCurrentPosition("Default"))
local range = Velumbar.GetRange("Default")
check.equal(0, range.Min); check.equal(100, range.Max)
check.equal("", Velumbar.GetText("Default"))
check.equal(true, Velumbar.GetUseGlossy("Default"))
Velumbar.SetCurrentPosition("Default", 0)
check.equal(rgb(0, 140, 0), px("Default", 100, 12), "dark green background")

-- Values outside the accepted sets keep the defaults.
check.result(true, 0, bar("Ignored", {ColorType = 3, BorderType = 2, ScaleType = 5,
  SolidColor = -1, BackgroundColor = -1, NoGlossy = 1}))
check.equal(rgb(0, 145, 0), px("Ignored", 100, 12))
check.equal(0, px("Ignored", 0, 12), "flat border stays")
Velumbar.SetCurrentPosition("Ignored", 10)
check.equal(rgb(0, 140, 0), px("Ignored", 100, 12), "background stays")
check.equal(0, px("Ignored", 19, 12), "no-scale: border frames 20 columns")

-- Numeric strings are numbers; colours are taken as given.
check.result(true, 0, bar("Red", {SolidColor = "255"}))
check.equal(rgb(145, 0, 0), px("Red", 100, 12))

check.result(true, 0, bar("Colours", {SolidColor = 0xFFFF00, BackgroundColor = 255,
  BackgroundBorderColor = 0xFFFFFF, BorderColor = 16711680, NoGlossy = true}))
check.equal(rgb(0, 255, 255), px("Colours", 100, 12), "solid colour without gloss")
check.equal(rgb(0, 0, 255), px("Colours", 0, 12), "border colour")
Velumbar.SetCurrentPosition("Colours", 0)
check.equal(rgb(255, 0, 0), px("Colours", 100, 12), "background colour")
check.equal(rgb(255, 255, 255), px("Colours", 100, 0), "background frame colour")
check.equal(rgb(0, 0, 255), px("Colours", 0, 12), "border column at an empty fill")

check.result(true, 0, bar("NoBorder", {BorderType = 0, NoGlossy = true}))
check.equal(rgb(0, 255, 0), px("NoBorder", 0, 12))
check.equal(rgb(0, 255, 0), px("NoBorder", 199, 23))

-- A gradient without stops runs from black to white.
check.result(true, 0, bar("Plain gradient", {ColorType = VELUMBAR_GRADIENT, NoGlossy = true,
  BorderType = 0}))
check.equal(0, px("Plain gradient", 0, 12))
local r, g, b = check.channels(px("Plain gradient", 199, 12))
assert(r >= 252 and g >= 252 and b >= 252, "white at the right edge")

-- GradientColors is read only for the gradient kind.
check.result(true, 0, bar("Solid ignores stops", {GradientColors = 12345}))
check.result(false, 457883, bar("Bad stops", {ColorType = 2, GradientColors = 12345}))
-- A value that is not a number counts as missing.
check.result(true, 0, bar("Stops not a number", {ColorType = 2, GradientColors = "abc"}))

-- Red to blue across the bar.
local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 100, Color = 16711680})
assert(type(stops) == "number")
check.result(true, 0, bar("Gradient", {ColorType = VELUMBAR_GRADIENT, GradientColors = stops,
  NoGlossy = true, BorderType = 0}))
check.equal(rgb(255, 0, 0), px("Gradient", 0, 12), "red at the left edge")
r, g, b = check.channels(px("Gradient", 199, 12))
assert(r <= 2 and g == 0 and b >= 252, "blue at the right edge: " .. r .. "," .. g .. "," .. b)
r, g, b = check.channels(px("Gradient", 100, 12))
assert(math.abs(r - 127) <= 1 and math.abs(b - 127) <= 1, "purple in the middle")

-- Switching to solid red and turning the gloss off stays red.
check.result(true, 0, Velumbar.SetSolidColor("Gradient", 255))
check.result(true, 0, Velumbar.SetUseGlossy("Gradient", false))
check.equal(rgb(255, 0, 0), px("Gradient", 100, 12))
check.equal(rgb(255, 0, 0), px("Gradient", 199, 12))
check.result(true, 0, Velumbar.SetUseGlossy("Gradient", true))
check.equal(rgb(145, 0, 0), px("Gradient", 100, 12), "gloss back on, still red")
-- and back to the gradient with the same colour object
check.result(true, 0, Velumbar.SetGradientColors("Gradient", stops))
check.result(true, 0, Velumbar.SetGradientColors("Gradient", -1))
check.result(false, 457883, Velumbar.SetGradientColors("Gradient", 7))

-- Input objects can carry a bar; other kinds cannot.
Host.AddObject("input", "Input1", {X = 10, Y = y, Width = 120, Height = 20}); y = y + 30
check.result(true, 0, Velumbar.Create("Input1"))
Host.AddObject("button", "Button1", {X = 10, Y = y}); y = y + 30
check.result(false, 457881, Velumbar.Create("Button1"))
check.result(false, 457881, Velumbar.Create("Missing"))

-- Colour objects: two valid stops at least, indexes 0..100, colours not -1.
check.equal(nil, Velumbar.AllocColor({Index = 50, Color = 255}))
check.equal(nil, Velumbar.AllocColor({Index = 101, Color = 255}, {Index = 0, Color = 0}, "x",
  {Color = 5}))
check.equal(nil, Velumbar.AllocColor(1, 2, 3))
check.equal(0, Application.GetLastError())
assert(type(Velumbar.AllocColor({Index = 30.5, Color = 1}, {Index = "70", Color = "2"})) == "number")
