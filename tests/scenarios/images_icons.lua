-- Loading images, freeing them and showing them as icons on a bar.
local check = dofile("support/check.lua")
local rgb = check.rgb
local GREEN = rgb(0, 255, 0)

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
Host.AddObject("progress", "Bare", {X = 10, Y = 50})
assert(Velumbar.Create("Bar", {NoGlossy = true, BorderType = 0}))

-- Unknown load types, missing files and folders.
check.result(nil, 459881, Velumbar.LoadImage(7, "x"))
check.result(nil, 459881, Velumbar.LoadImage("abc", "x"))
check.result(nil, 459881, Velumbar.LoadImage(0, "x"))
local missing = os.tmpname() .. ".missing"
check.result(nil, 459880, Velumbar.LoadImage(VELUMBAR_LOADIMAGE_ASSOCIATION, missing))
check.result(nil, 459880, Velumbar.LoadImage(VELUMBAR_LOADIMAGE_ASSOCIATION, "."))
check.result(nil, 459880, Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, missing))
check.result(nil, 459880, Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXECUTABLE, missing))
check.result(0, 0, Velumbar.CountIconsInFile(missing))
check.result(0, 0, Velumbar.CountIconsInFile("."))
check.result(0, 0, Velumbar.CountIconsInFile(""))

-- Shell icons: file types need no file; folders and drives.
local txt = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt")
assert(type(txt) == "number" and txt ~= 0, "an icon for .txt")
assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "no-such-type"))
assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_FOLDER, "/nowhere/at/all"))
assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_DRIVE, "C:\\"))
local script = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_ASSOCIATION, "images_icons.lua")
assert(script, "the association icon of an existing file")

-- Freeing: true once, then false with 459882; 0 is never a handle.
local freeMe = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "png")
check.result(true, 0, Velumbar.FreeImage(freeMe))
check.result(false, 459882, Velumbar.FreeImage(freeMe))
check.result(false, 459882, Velumbar.FreeImage(0))
check.result(false, 459882, Velumbar.FreeImage("nonsense"))

-- A 16 x 16 image with transparent corners shows the bar's fill there.
local path = os.tmpname() .. ".bmp"
check.writeBmp32(path, 16, 16, function(x, y)
  local corner = (x < 2 or x > 13) and (y < 2 or y > 13)
  if corner then return 0, 0, 0, 0 end
  return 255, 0, 0, 255
end)
local red = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, path)
assert(red, "the BMP loads")
check.result(true, 0, Velumbar.SetIcon("Bar", red, VELUMBAR_16x16))
-- The icon sits at x = 5, centred: rows 4..19 of a 24-pixel bar.
check.equal(rgb(255, 0, 0), Host.Pixel("Bar", 12, 12), "icon middle")
check.equal(GREEN, Host.Pixel("Bar", 5, 4), "top-left corner shows the fill")
check.equal(GREEN, Host.Pixel("Bar", 20, 19), "bottom-right corner shows the fill")
check.equal(rgb(255, 0, 0), Host.Pixel("Bar", 7, 4), "edge between the corners")
check.equal(GREEN, Host.Pixel("Bar", 4, 12), "left of the icon")
check.equal(GREEN, Host.Pixel("Bar", 21, 12), "right of the icon")

-- Size 9 means 16 x 16; 48 x 48 is larger than the bar and clipped.
check.result(true, 0, Velumbar.SetIcon("Bar", red, 9))
check.equal(GREEN, Host.Pixel("Bar", 21, 12))
check.result(true, 0, Velumbar.SetIcon("Bar", red, VELUMBAR_32x32))
check.equal(rgb(255, 0, 0), Host.Pixel("Bar", 30, 12))
check.equal(GREEN, Host.Pixel("Bar", 38, 12))
check.result(true, 0, Velumbar.SetIcon("Bar", txt, VELUMBAR_48x48))

-- The bar keeps its own copy after the image is freed; the freed handle
-- is refused and the bar keeps its icon.
check.result(true, 0, Velumbar.SetIcon("Bar", red, VELUMBAR_16x16))
check.result(true, 0, Velumbar.FreeImage(red))
Velumbar.SetCurrentPosition("Bar", 50)
check.equal(rgb(255, 0, 0), Host.Pixel("Bar", 12, 12), "icon still shown")
check.result(false, 459882, Velumbar.SetIcon("Bar", red, VELUMBAR_16x16))
check.equal(rgb(255, 0, 0), Host.Pixel("Bar", 12, 12), "icon kept after a failed SetIcon")

-- 0 removes the icon, whatever the size.
check.result(true, 0, Velumbar.SetIcon("Bar", 0, 77))
check.equal(GREEN, Host.Pixel("Bar", 12, 12))
check.result(false, 457882, Velumbar.SetIcon("Bare", txt, 1))
check.result(false, 457881, Velumbar.SetIcon("Nothing", txt, 1))

-- A loaded image larger than 32 x 32 is fitted into that box.
local wide = os.tmpname() .. ".bmp"
check.writeBmp32(wide, 64, 48, function(x, y) return 0, 0, 255, 255 end)
local blue = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, wide)
assert(blue)
check.result(true, 0, Velumbar.SetIcon("Bar", blue, VELUMBAR_24x24))
check.equal(rgb(0, 0, 255), Host.Pixel("Bar", 16, 12))
os.remove(path)
os.remove(wide)
