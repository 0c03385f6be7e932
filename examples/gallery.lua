-- Every look of the bar on one page. `make demo` renders it to gallery.png:
--   velumbar-host --out . examples/gallery.lua [output.png]
local output = ... or "gallery.png"

local column, row = 0, 0
local function place(name, width, height)
  Host.AddObject("progress", name, {X = 12 + column * 330, Y = 12 + row * 40,
    Width = width or 310, Height = height or 28})
  row = row + 1
  if row == 14 then row, column = 0, column + 1 end
end

local function bar(name, props, position, text, font)
  place(name)
  assert(Velumbar.Create(name, props), "Create " .. name)
  Velumbar.SetCurrentPosition(name, position)
  if font then Velumbar.SetFont(name, unpack(font)) end
  if text then Velumbar.SetText(name, text) end
end

local WHITE, BLACK = 0xFFFFFF, 0
local rainbow = Velumbar.AllocColor(
  {Index = 0, Color = 0x0000FF}, {Index = 25, Color = 0x00A5FF}, {Index = 50, Color = 0x00FFFF},
  {Index = 75, Color = 0x00C000}, {Index = 100, Color = 0xFF4000})
local ocean = Velumbar.AllocColor({Index = 0, Color = 0x402000}, {Index = 100, Color = 0xFFC040})
local partial = Velumbar.AllocColor({Index = 20, Color = 0x2050E0}, {Index = 80, Color = 0xE05020})
local label = {"Arial", 9, WHITE, VELUMBAR_TEXT_BORDER, BLACK}

-- Fills
bar("Solid", {}, 100, "Solid green, gloss, full", label)
bar("SolidNoGloss", {NoGlossy = true}, 100, "Solid green, no gloss", label)
bar("SolidRed", {SolidColor = 0x2020D0, BackgroundColor = 0x202040}, 65, "Solid red at 65%", label)
bar("Gradient", {ColorType = VELUMBAR_GRADIENT, GradientColors = rainbow}, 100,
  "Five-stop gradient, gloss", label)
bar("GradientNoGloss", {ColorType = VELUMBAR_GRADIENT, GradientColors = rainbow, NoGlossy = true},
  100, "Five-stop gradient, no gloss", label)
bar("Ocean", {ColorType = VELUMBAR_GRADIENT, GradientColors = ocean, BackgroundColor = 0x301800},
  70, "Two stops at 70%", label)
bar("Partial", {ColorType = VELUMBAR_GRADIENT, GradientColors = partial}, 100,
  "Stops at 20 and 80: black to white ends", label)
bar("NoStops", {ColorType = VELUMBAR_GRADIENT}, 100, "Gradient without stops", label)

-- No-scale (revealed in place) and scale (squeezed) at several positions
for _, p in ipairs({25, 60}) do
  bar("NoScale" .. p, {ColorType = VELUMBAR_GRADIENT, GradientColors = rainbow}, p,
    "No-scale at " .. p .. "%", label)
end
for _, p in ipairs({25, 60}) do
  bar("Scale" .. p, {ColorType = VELUMBAR_GRADIENT, GradientColors = rainbow,
    ScaleType = VELUMBAR_SCALE}, p, "Scale at " .. p .. "%", label)
end
bar("Empty", {}, 0, "Empty: background and frame", label)

-- Borders
bar("NoBorder", {BorderType = 0}, 55, "No flat border", label)
bar("BlueBorder", {BorderColor = 0xFF0000, BackgroundBorderColor = 0xFF0000}, 55,
  "Blue border and frame", label)
bar("WhiteFrame", {BackgroundColor = 0x404040, BackgroundBorderColor = WHITE, SolidColor = 0x00D0FF},
  40, "White background frame", label)

-- Text effects
bar("TextPlain", {}, 80, "Plain text, no effect", {"Arial", 10, BLACK})
bar("TextBorder", {}, 80, "Outlined text", {"Arial", 10, WHITE, VELUMBAR_TEXT_BORDER, BLACK})
bar("TextShadow", {}, 80, "Shadowed text", {"Arial", 10, WHITE, VELUMBAR_TEXT_SHADOW, 0x303030})
bar("TextBig", {ColorType = VELUMBAR_GRADIENT, GradientColors = ocean}, 90, "Large 14pt",
  {"Arial", 14, 0x00FFFF, VELUMBAR_TEXT_SHADOW, BLACK})
bar("TextDefault", {}, 50, "Default font, no SetFont")
bar("Truncated", {}, 75,
  "A text far too long to fit on this bar is cut short with three dots at the end", label)

-- Icons: the text moves aside for them
local icon = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt")
bar("Icon16", {}, 60, "File-type icon at 16x16", label)
Velumbar.SetIcon("Icon16", icon, VELUMBAR_16x16)
bar("Icon24", {ColorType = VELUMBAR_GRADIENT, GradientColors = ocean}, 60, "Folder icon at 24x24", label)
Velumbar.SetIcon("Icon24", Velumbar.LoadImage(VELUMBAR_LOADIMAGE_FOLDER, "C:\\Windows"), VELUMBAR_24x24)

-- Range
place("Range")
assert(Velumbar.Create("Range", {ColorType = VELUMBAR_GRADIENT, GradientColors = ocean}))
Velumbar.SetRange("Range", 200, 400)
Velumbar.SetCurrentPosition("Range", 300)
Velumbar.SetFont("Range", unpack(label))
Velumbar.SetText("Range", "Range 200..400 at 300")

-- Sizes
place("Thin", 310, 8)
assert(Velumbar.Create("Thin", {ColorType = VELUMBAR_GRADIENT, GradientColors = rainbow}))
Velumbar.SetCurrentPosition("Thin", 70)
place("Tall", 310, 44)
row = row + 1
assert(Velumbar.Create("Tall", {ColorType = VELUMBAR_GRADIENT, GradientColors = ocean}))
Velumbar.SetCurrentPosition("Tall", 85)
Velumbar.SetFont("Tall", "Arial", 16, WHITE, VELUMBAR_TEXT_BORDER, 0x402000)
Velumbar.SetText("Tall", "Tall bar, 16pt")

Host.Snapshot(output)
