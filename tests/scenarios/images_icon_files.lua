-- Icon files loaded as images: which image of the file is used, masks,
-- alpha, PNG images, fitting, and damaged files.
local check = dofile("support/check.lua")
local icons = dofile("support/icon_files.lua")
local rgb = check.rgb
local GREEN = rgb(0, 255, 0)
local RED = rgb(255, 0, 0)

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
assert(Velumbar.Create("Bar", {NoGlossy = true, BorderType = 0}))

local files = {}
local function load(data)
  local path = os.tmpname() .. ".ico"
  files[#files + 1] = path
  icons.write(path, data)
  return Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, path)
end

local function solid(r, g, b, a) return function() return r, g, b, a end end
local function corners(r, g, b)
  return function(x, y)
    if (x < 2 or x > 13) and (y < 2 or y > 13) then return 0, 0, 0, 0 end
    return r, g, b, 255
  end
end

-- The icon sits at x = 5, centred: rows 4..19 of the 24-pixel bar.
local function shows(handle, what)
  check.result(true, 0, Velumbar.SetIcon("Bar", handle, VELUMBAR_16x16))
  return Host.Pixel("Bar", 12, 12), what
end

-- Of the images sized as the first, the deepest is used, the earliest of
-- equals; a larger, deeper image is not a candidate.
local chosen = load(icons.file({
  {16, 16, 4, icons.dibIndexed(16, 16, 4, {{0, 0, 255}}, function() return 0 end)},
  {32, 32, 32, icons.dib32(32, 32, solid(255, 255, 255, 255))},
  {16, 16, 32, icons.dib32(16, 16, corners(255, 0, 0))},
  {16, 16, 32, icons.dib32(16, 16, solid(255, 255, 0, 255))},
}))
assert(chosen, "an icon file loads")
check.equal(RED, shows(chosen), "the deepest, earliest 16 x 16 image")
check.equal(GREEN, Host.Pixel("Bar", 5, 4), "transparent top-left corner shows the fill")
check.equal(GREEN, Host.Pixel("Bar", 20, 19), "transparent bottom-right corner")
check.equal(RED, Host.Pixel("Bar", 7, 4), "edge between the corners")

-- Without alpha of its own, an image is as transparent as its mask says.
-- Masked pixels are black in the colour bits, as icon editors store them:
-- the system inverts the screen under a masked pixel of any other colour.
-- A 1-bit image in black and white makes a monochrome icon, which the
-- system keeps as one mask of twice the height.
for bits, colour in pairs({[4] = {0, 0, 255}, [1] = {255, 255, 255}}) do
  local masked = load(icons.file({
    {16, 16, bits, icons.dibIndexed(16, 16, bits, {{0, 0, 0}, colour},
      function(x) return x < 8 and 0 or 1 end, function(x) return x < 8 end)},
  }))
  assert(masked, bits .. "-bit icon loads")
  shows(masked)
  check.equal(rgb(unpack(colour)), Host.Pixel("Bar", 18, 12), bits .. "-bit: unmasked right half")
  check.equal(GREEN, Host.Pixel("Bar", 8, 12), bits .. "-bit: masked left half shows the fill")
end

-- An image stored as a PNG.
local png = load(icons.file({{16, 16, 32, icons.png(16, 16, corners(255, 255, 0))}}))
assert(png, "a PNG image in an icon file loads")
check.equal(rgb(255, 255, 0), shows(png), "PNG image")
check.equal(GREEN, Host.Pixel("Bar", 5, 4), "PNG transparency shows the fill")
-- A 256 x 256 PNG image (the size the directory writes as 0), in a colour
-- whose red and blue differ, keeps its channels in place.
local large = load(icons.file({{256, 256, 32, icons.png(256, 256, solid(200, 120, 40, 255))}}))
assert(large, "a 256 x 256 PNG image loads")
check.equal(rgb(200, 120, 40), shows(large), "256 x 256 PNG image")

-- Half-transparent red over the green fill.
local half = load(icons.file({{16, 16, 32, icons.dib32(16, 16, solid(255, 0, 0, 128))}}))
assert(half)
local r, g, b = check.channels(shows(half))
assert(math.abs(r - 128) <= 2 and math.abs(g - 127) <= 2 and b == 0,
  "half-transparent red over green: " .. r .. "," .. g .. "," .. b)

-- An icon larger than 32 x 32 is fitted into that box: blue above red, so
-- rows drawn in the wrong place would show.
local large = load(icons.file({{48, 48, 32, icons.dib32(48, 48, function(_, y)
  if y < 24 then return 0, 0, 255, 255 end
  return 255, 0, 0, 255
end)}}))
assert(large, "a 48 x 48 icon loads")
shows(large)
check.equal(rgb(0, 0, 255), Host.Pixel("Bar", 12, 6), "the fitted icon's upper half")
check.equal(RED, Host.Pixel("Bar", 12, 17), "the fitted icon's lower half")
check.result(true, 0, Velumbar.SetIcon("Bar", large, VELUMBAR_32x32))
check.equal(rgb(0, 0, 255), Host.Pixel("Bar", 35, 0), "its top-right corner at 32 x 32")
check.equal(RED, Host.Pixel("Bar", 35, 23), "its lowest row in the bar")

-- Damaged files load nothing.
local image = icons.dib32(16, 16, solid(255, 0, 0, 255))
local whole = icons.file({{16, 16, 32, image}})
check.result(nil, 459880, load(whole:sub(1, #whole - 100)))
check.result(nil, 459880, load(icons.file({{16, 16, 32, image:sub(1, 40)}})))
check.result(nil, 459880, load(icons.file({{16, 16, 32, "\137PNG\r\n\26\n" .. string.rep("x", 60)}})))
check.result(nil, 459880, load(whole:sub(1, 6)))

for _, path in ipairs(files) do os.remove(path) end
