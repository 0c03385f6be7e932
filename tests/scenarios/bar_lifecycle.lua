-- The bar follows its host object's size and detaches when it goes.
local check = dofile("support/check.lua")
local rgb = check.rgb
local WM_SIZE, WM_DESTROY = 5, 2

Host.AddObject("progress", "Bar", {X = 20, Y = 20, Width = 200, Height = 24})
assert(Velumbar.Create("Bar"))
Velumbar.SetCurrentPosition("Bar", 50)
Velumbar.SetText("Bar", "kept")

-- Growing: repainted at the new size with the same state.
Host.ResizeObject("Bar", 300, 30)
check.equal(50, Velumbar.GetCurrentPosition("Bar"))
check.equal("kept", Velumbar.GetText("Bar"))
check.equal(rgb(0, 145, 0), Host.Pixel("Bar", 140, 15), "fill at the new middle row")
check.equal(0, Host.Pixel("Bar", 149, 15), "border at the new half")
check.equal(rgb(0, 140, 0), Host.Pixel("Bar", 200, 15), "background in the new area")
check.equal(0, Host.Pixel("Bar", 299, 15), "frame at the new right edge")
check.equal(0, Host.Pixel("Bar", 200, 29), "frame at the new bottom")
Velumbar.SetCurrentPosition("Bar", 100)
check.equal(rgb(0, 145, 0), Host.Pixel("Bar", 280, 15), "the solid fill was drawn at the new size")

-- Shrinking.
Host.ResizeObject("Bar", 100, 20)
check.equal(0, Host.Pixel("Bar", 99, 10))
check.equal(rgb(0, 145, 0), Host.Pixel("Bar", 50, 10))

-- A gradient bar is rebuilt at the new size.
local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 100, Color = 16711680})
Host.AddObject("progress", "Gradient", {X = 20, Y = 60, Width = 100, Height = 20})
assert(Velumbar.Create("Gradient", {ColorType = 2, GradientColors = stops, NoGlossy = true, BorderType = 0}))
Host.ResizeObject("Gradient", 400, 20)
local r, g, b = check.channels(Host.Pixel("Gradient", 200, 10))
assert(math.abs(r - 127) <= 1 and math.abs(b - 127) <= 1, "middle of the wider gradient")

-- A second Create replaces the first bar; the procedure chain stays sound.
Host.AddObject("progress", "Twice", {X = 20, Y = 100, Width = 200, Height = 24})
assert(Velumbar.Create("Twice"))
Velumbar.SetText("Twice", "first")
assert(Velumbar.Create("Twice", {SolidColor = 255}))
check.equal("", Velumbar.GetText("Twice"), "the new bar is fresh")
check.equal(rgb(145, 0, 0), Host.Pixel("Twice", 100, 12))
Host.ResizeObject("Twice", 240, 24)
check.equal(rgb(145, 0, 0), Host.Pixel("Twice", 230, 12))
Host.RemoveObject("Twice")
local destroyed = 0
for _, msg in ipairs(Host.Messages("Twice")) do if msg == WM_DESTROY then destroyed = destroyed + 1 end end
check.equal(1, destroyed, "the host's procedure saw WM_DESTROY once")

-- Destroying the host object detaches the bar.
Host.RemoveObject("Bar")
check.result(nil, 457881, Velumbar.GetCurrentPosition("Bar"))
for _, name in ipairs(Host.Properties("Bar")) do
  error("property left on the host window: " .. name)
end
local sawSize, sawDestroy = false, false
for _, msg in ipairs(Host.Messages("Bar")) do
  if msg == WM_SIZE then sawSize = true end
  if msg == WM_DESTROY then sawDestroy = true end
end
assert(sawSize and sawDestroy, "the host's own procedure saw WM_SIZE and WM_DESTROY")

-- A new object of the same name starts without a bar.
Host.AddObject("progress", "Bar", {X = 20, Y = 20})
check.result(nil, 457882, Velumbar.GetCurrentPosition("Bar"))
assert(Velumbar.Create("Bar"))
check.equal(100, Velumbar.GetCurrentPosition("Bar"))

-- A new text draws the bar again only where the old and the new text lie:
-- what shows is exactly what a bar drawn whole shows, through the changes
-- of a progress display and after a range that has not been drawn yet.
Host.AddObject("progress", "Texted", {X = 20, Y = 140, Width = 200, Height = 24})
Host.AddObject("progress", "Whole", {X = 20, Y = 170, Width = 200, Height = 24})
for _, name in ipairs({"Texted", "Whole"}) do
  assert(Velumbar.Create(name))
  Velumbar.SetFont(name, "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0)
  Velumbar.SetCurrentPosition(name, 4)
end
local function showsAsWhole(text, what)
  Velumbar.SetText("Texted", text)
  Velumbar.SetText("Whole", text)
  Velumbar.SetFont("Whole", "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0)  -- drawn whole
  for y = 0, 23 do
    local texted, whole = Host.Pixels("Texted", 0, y, 200), Host.Pixels("Whole", 0, y, 200)
    for x = 1, 200 do check.equal(whole[x], texted[x], what .. " at " .. (x - 1) .. ", " .. y) end
  end
end
showsAsWhole("9%", "a first text")
showsAsWhole("10%", "a wider text over the fill's edge")
showsAsWhole("100%", "a wider one still")
showsAsWhole("", "no text")
showsAsWhole("Copying files...", "a long text")
for _, name in ipairs({"Texted", "Whole"}) do Velumbar.SetRange(name, 0, 10) end
showsAsWhole("40%", "a new range drawn with the text")
