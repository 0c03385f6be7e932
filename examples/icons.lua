-- Icons on bars: from the shell (file types, folders, drives) and from files (an image file,
-- an icon stored in a program).
--
-- Put four progress-bar objects named "TypeBar", "FolderBar", "LogoBar" and "ProgramBar" on
-- your page, each at least 26 pixels high, and run this from the page's On Show script.
-- Change LOGO and PROGRAM to files of your own.
--
-- The parts marked "bench only" run only in velumbar-host, the test bench.

local LOGO = "C:\\MyApp\\Images\\logo.png"      -- BMP, PNG, JPEG or .ico; shown at most 32 x 32
local PROGRAM = "C:\\Windows\\notepad.exe"      -- a .exe, .dll or .ico holding icons

if Host then -- bench only: the page's objects, and two small files to load
  for i, name in ipairs({"TypeBar", "FolderBar", "LogoBar", "ProgramBar"}) do
    Host.AddObject("progress", name, {X = 10, Y = i * 36, Width = 300, Height = 28})
  end
  local function le(n, bytes)
    local out = {}
    for i = 1, bytes do out[i] = string.char(n % 256); n = math.floor(n / 256) end
    return table.concat(out)
  end
  -- 32 x 32 pixels, 32 bits, bottom-up: an orange disc on transparency.
  local pixels = {}
  for y = 31, 0, -1 do
    for x = 0, 31 do
      local inside = (x - 15.5) ^ 2 + (y - 15.5) ^ 2 <= 196
      pixels[#pixels + 1] = inside and string.char(0, 140, 255, 255) or string.char(0, 0, 0, 0)
    end
  end
  local function header(height) -- BITMAPINFOHEADER
    return le(40, 4) .. le(32, 4) .. le(height, 4) .. le(1, 2) .. le(32, 2) .. string.rep("\0", 24)
  end
  local function tempPath(extension)
    local path = os.tmpname()                  -- a fresh name of our own
    os.remove(path)
    return path .. extension
  end
  local image = table.concat(pixels)
  LOGO = tempPath(".bmp")
  local file = assert(io.open(LOGO, "wb"))
  file:write("BM", le(54 + #image, 4), le(0, 4), le(54, 4), header(32), image)
  file:close()
  local dib = header(64) .. image .. string.rep("\0", 32 * 4)   -- icon: colour, then AND mask
  PROGRAM = tempPath(".ico")
  file = assert(io.open(PROGRAM, "wb"))
  file:write(le(0, 2), le(1, 2), le(1, 2), string.char(32, 32, 0, 0), le(1, 2), le(32, 2),
    le(#dib, 4), le(22, 4), dib)
  file:close()
end

-- One look for every bar.
local function Cover(name, text)
  Velumbar.Create(name, {SolidColor = 0x808080, BackgroundColor = 0x303030})
  Velumbar.SetFont(name, "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
  Velumbar.SetCurrentPosition(name, 60)
  Velumbar.SetText(name, text)
end

-- Loads an image, shows it on a bar, and frees it: the bar keeps its own copy.
local function ShowIcon(name, size, nType, source, index)
  local h = Velumbar.LoadImage(nType, source, index)
  if not h then
    -- 459880 "Could not load image." for a missing file or an index past the last icon
    Velumbar.SetText(name, _tblErrorMessages[Application.GetLastError()])
    return false
  end
  local shown = Velumbar.SetIcon(name, h, size)
  Velumbar.FreeImage(h)
  return shown
end

-- From the shell: no file is needed for a file type or a folder icon.
Cover("TypeBar", "Exporting report.pdf")
ShowIcon("TypeBar", VELUMBAR_16x16, VELUMBAR_LOADIMAGE_EXTENSION, "pdf")
Cover("FolderBar", "Scanning C:\\Data")
ShowIcon("FolderBar", VELUMBAR_24x24, VELUMBAR_LOADIMAGE_FOLDER, "C:\\Data")

-- From an image file.
Cover("LogoBar", "Our own logo")
local logoShown = ShowIcon("LogoBar", VELUMBAR_24x24, VELUMBAR_LOADIMAGE_IMAGEFILE, LOGO)

-- From a program: count its icons first, then pick one by index (0 is the first).
Cover("ProgramBar", "Starting the editor")
local count = Velumbar.CountIconsInFile(PROGRAM)
local programShown = count > 0
  and ShowIcon("ProgramBar", VELUMBAR_24x24, VELUMBAR_LOADIMAGE_EXECUTABLE, PROGRAM, 0)

if Host then -- bench only: every bar shows its icon where the plug-in draws it
  assert(logoShown and programShown and count == 1)
  local ORANGE = 0x008CFF                        -- red 255, green 140, blue 0
  -- A 24 x 24 icon on a 28-pixel bar sits at x = 5 .. 28, y = 2 .. 25; its middle is (16, 13).
  assert(Host.Pixel("LogoBar", 16, 13) == ORANGE, "the image file's disc")
  assert(Host.Pixel("ProgramBar", 16, 13) == ORANGE, "the icon file's disc")
  assert(Host.Pixel("LogoBar", 6, 3) ~= ORANGE, "transparent corners show the bar")
  for _, name in ipairs({"TypeBar", "FolderBar"}) do
    assert(Host.Pixel(name, 12, 14) ~= Host.Pixel(name, 100, 14), name .. " shows an icon")
  end
  -- A missing file fails with 459880 and the bar says so.
  assert(not ShowIcon("LogoBar", VELUMBAR_24x24, VELUMBAR_LOADIMAGE_IMAGEFILE, LOGO .. ".missing"))
  assert(Velumbar.GetText("LogoBar") == "Could not load image.")
  os.remove(LOGO)
  os.remove(PROGRAM)
end
