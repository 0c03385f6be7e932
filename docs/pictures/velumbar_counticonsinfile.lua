-- An icon picked by its index from a file of icons. The bench writes a small icon file
-- (one icon, a blue disc) so that the picture does not depend on Windows' own files.
local path = os.tmpname()
os.remove(path)
path = path .. ".ico"
do
  local size = 32
  local function le(n, bytes)
    local out = {}
    for i = 1, bytes do out[i] = string.char(n % 256); n = math.floor(n / 256) end
    return table.concat(out)
  end
  local rows = {}
  for y = size - 1, 0, -1 do                      -- bottom-up rows of BGRA pixels
    local row = {}
    for x = 0, size - 1 do
      local dx, dy = x - 15.5, y - 15.5
      local inside = dx * dx + dy * dy <= 14 * 14
      row[#row + 1] = inside and string.char(230, 120, 30, 255) or string.char(0, 0, 0, 0)
    end
    rows[#rows + 1] = table.concat(row)
  end
  local mask = string.rep("\0", size * 4)         -- AND mask: 32 rows of 4 bytes
  local dib = le(40, 4) .. le(size, 4) .. le(size * 2, 4) .. le(1, 2) .. le(32, 2) ..
    le(0, 4) .. le(0, 4) .. le(0, 4) .. le(0, 4) .. le(0, 4) .. le(0, 4) ..
    table.concat(rows) .. mask
  local file = assert(io.open(path, "wb"))
  file:write(le(0, 2), le(1, 2), le(1, 2),
    string.char(size, size, 0, 0), le(1, 2), le(32, 2), le(#dib, 4), le(22, 4), dib)
  file:close()
end

Host.AddObject("progress", "Progress1", {Width = 320, Height = 30})
assert(Velumbar.Create("Progress1", {SolidColor = 0x909090, BackgroundColor = 0x303030}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 60)
local count = Velumbar.CountIconsInFile(path)
assert(count == 1, "an icon file holds one icon")
local h = assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXECUTABLE, path, count - 1))
Velumbar.SetIcon("Progress1", h, VELUMBAR_24x24)
Velumbar.FreeImage(h)
Velumbar.SetText("Progress1", "CountIconsInFile: " .. count .. ", icon " .. (count - 1) .. " shown")
os.remove(path)
Host.Snapshot("velumbar_counticonsinfile.png", "Progress1")
