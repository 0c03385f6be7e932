-- Writes icon files for the scenarios: images stored as DIBs (32-bit with
-- alpha, or 4-bit with a palette and an AND mask) or as PNGs.
local check = dofile("support/check.lua")
local icons = {}
local le = check.le

local function be(n, bytes)
  local out = {}
  for i = bytes, 1, -1 do out[i] = string.char(n % 256); n = math.floor(n / 256) end
  return table.concat(out)
end

-- Lua 5.1 has no bit operations: XOR of 32-bit numbers a nibble at a time.
local nibbleXor = {}
for a = 0, 15 do
  nibbleXor[a] = {}
  for b = 0, 15 do
    local r, bit = 0, 1
    for _ = 1, 4 do
      if (math.floor(a / bit) + math.floor(b / bit)) % 2 == 1 then r = r + bit end
      bit = bit * 2
    end
    nibbleXor[a][b] = r
  end
end

local function xor32(a, b)
  local r, place = 0, 1
  for _ = 1, 8 do
    r = r + nibbleXor[a % 16][b % 16] * place
    a, b, place = math.floor(a / 16), math.floor(b / 16), place * 16
  end
  return r
end

local crcTable = {}
for n = 0, 255 do
  local c = n
  for _ = 1, 8 do
    if c % 2 == 1 then c = xor32(0xEDB88320, math.floor(c / 2)) else c = math.floor(c / 2) end
  end
  crcTable[n] = c
end

local function crc32(text)
  local c = 0xFFFFFFFF
  for i = 1, #text do
    c = xor32(crcTable[xor32(c, text:byte(i)) % 256], math.floor(c / 256))
  end
  return xor32(c, 0xFFFFFFFF)
end

local function adler32(text)
  local a, b = 1, 0
  for i = 1, #text do
    a = (a + text:byte(i)) % 65521
    b = (b + a) % 65521
  end
  return b * 65536 + a
end

local function chunk(kind, body)
  return be(#body, 4) .. kind .. body .. be(crc32(kind .. body), 4)
end

-- pixel(x, y) returns r, g, b, a for each of these writers.

-- An RGBA PNG whose image data is stored uncompressed in one deflate block.
function icons.png(width, height, pixel)
  local rows = {}
  for y = 0, height - 1 do
    local row = {"\0"}
    for x = 0, width - 1 do row[#row + 1] = string.char(pixel(x, y)) end
    rows[#rows + 1] = table.concat(row)
  end
  local raw = table.concat(rows)
  -- Stored deflate blocks of at most 65,535 bytes, the last one marked.
  local blocks = {}
  for start = 1, math.max(#raw, 1), 65535 do
    local part = raw:sub(start, start + 65534)
    local last = start + 65535 > #raw and "\1" or "\0"
    blocks[#blocks + 1] = last .. le(#part, 2) .. le(65535 - #part, 2) .. part
  end
  local zlib = "\120\1" .. table.concat(blocks) .. be(adler32(raw), 4)
  return "\137PNG\r\n\26\n" ..
    chunk("IHDR", be(width, 4) .. be(height, 4) .. "\8\6\0\0\0") ..
    chunk("IDAT", zlib) .. chunk("IEND", "")
end

local function infoHeader(width, height, bitCount, colours)
  return le(40, 4) .. le(width, 4) .. le(2 * height, 4) .. le(1, 2) .. le(bitCount, 2) ..
    le(0, 4) .. le(0, 4) .. le(0, 4) .. le(0, 4) .. le(colours, 4) .. le(0, 4)
end

-- An AND mask, bottom-up, rows padded to 32 bits; masked(x, y) is true for
-- the transparent pixels.
local function andMask(width, height, masked)
  local rows = {}
  local stride = math.ceil(width / 32) * 4
  for y = height - 1, 0, -1 do
    local bytes = {}
    for i = 1, stride do bytes[i] = 0 end
    for x = 0, width - 1 do
      if masked and masked(x, y) then
        local i = math.floor(x / 8) + 1
        bytes[i] = bytes[i] + 2 ^ (7 - x % 8)
      end
    end
    rows[#rows + 1] = string.char(unpack(bytes))
  end
  return table.concat(rows)
end

-- A 32-bit DIB whose alpha decides; its mask is left clear.
function icons.dib32(width, height, pixel)
  return infoHeader(width, height, 32, 0) .. check.bgraRows(width, height, pixel, true) ..
    andMask(width, height, nil)
end

-- A 1- or 4-bit DIB: palette holds up to 2^bitCount {r, g, b}; index(x, y)
-- picks one; masked(x, y) is true for the transparent pixels.
function icons.dibIndexed(width, height, bitCount, palette, index, masked)
  local colours, perByte = 2 ^ bitCount, 8 / bitCount
  local entries = {}
  for i = 1, colours do
    local c = palette[i] or {0, 0, 0}
    entries[i] = string.char(c[3], c[2], c[1], 0)
  end
  local stride = math.ceil(width * bitCount / 32) * 4
  local rows = {}
  for y = height - 1, 0, -1 do
    local bytes = {}
    for i = 1, stride do bytes[i] = 0 end
    for x = 0, width - 1 do
      local i = math.floor(x / perByte) + 1
      bytes[i] = bytes[i] + index(x, y) * 2 ^ ((perByte - 1 - x % perByte) * bitCount)
    end
    rows[#rows + 1] = string.char(unpack(bytes))
  end
  return infoHeader(width, height, bitCount, colours) .. table.concat(entries) .. table.concat(rows) ..
    andMask(width, height, masked)
end

-- The file: entries are {width, height, bitCount, image} in directory order.
function icons.file(entries)
  local directory, images = {}, {}
  local offset = 6 + 16 * #entries
  for i, e in ipairs(entries) do
    directory[i] = string.char(e[1] % 256, e[2] % 256, 0, 0) .. le(1, 2) .. le(e[3], 2) ..
      le(#e[4], 4) .. le(offset, 4)
    images[i] = e[4]
    offset = offset + #e[4]
  end
  return le(0, 2) .. le(1, 2) .. le(#entries, 2) .. table.concat(directory) .. table.concat(images)
end

function icons.write(path, data)
  local f = assert(io.open(path, "wb"))
  f:write(data)
  f:close()
end

return icons
