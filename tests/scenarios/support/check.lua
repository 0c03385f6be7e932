-- Small helpers shared by the scenario scripts.
local check = {}

-- Calls fn and returns the error message it raised; fails when it did not.
function check.raises(fn, ...)
  local ok, message = pcall(fn, ...)
  assert(not ok, "expected an error")
  return message
end

-- The message ends with the given text (the host prefixes a position).
function check.endsWith(message, text)
  assert(type(message) == "string", "message is not a string: " .. tostring(message))
  assert(message:sub(-#text) == text, "expected '" .. text .. "' at the end of '" .. message .. "'")
end

function check.lastError()
  return Application.GetLastError()
end

-- Asserts the value and the host's last error of an action's result.
function check.result(expected, code, actual)
  assert(actual == expected, "expected " .. tostring(expected) .. ", got " .. tostring(actual))
  local last = Application.GetLastError()
  assert(last == code, "expected last error " .. tostring(code) .. ", got " .. tostring(last))
end

-- Counts the calls of Application.SetLastError while fn runs.
function check.countErrors(fn)
  local original = Application.SetLastError
  local codes = {}
  Application.SetLastError = function(code) codes[#codes + 1] = code; original(code) end
  local results = {fn()}
  Application.SetLastError = original
  return codes, unpack(results)
end

function check.equal(expected, actual, what)
  assert(expected == actual, (what or "value") .. ": expected " .. tostring(expected) ..
    ", got " .. tostring(actual))
end

-- Colour as Host.Pixel gives it.
function check.rgb(r, g, b) return r + 256 * g + 65536 * b end

function check.channels(colour)
  return colour % 256, math.floor(colour / 256) % 256, math.floor(colour / 65536) % 256
end

-- n as a little-endian number of the given byte count.
function check.le(n, bytes)
  local out = {}
  for i = 1, bytes do out[i] = string.char(n % 256); n = math.floor(n / 256) end
  return table.concat(out)
end
local le = check.le

-- 32-bit pixel rows as bitmaps store them (blue, green, red, alpha), top
-- row first unless bottomUp; pixel(x, y) returns r, g, b, a.
function check.bgraRows(width, height, pixel, bottomUp)
  local rows = {}
  for y = 0, height - 1 do
    local row = {}
    for x = 0, width - 1 do
      local r, g, b, a = pixel(x, y)
      row[#row + 1] = string.char(b, g, r, a)
    end
    rows[#rows + 1] = table.concat(row)
  end
  if bottomUp then
    for i = 1, math.floor(#rows / 2) do rows[i], rows[#rows + 1 - i] = rows[#rows + 1 - i], rows[i] end
  end
  return table.concat(rows)
end

-- Writes a top-down 32-bit BMP; pixel(x, y) returns r, g, b, a.
function check.writeBmp32(path, width, height, pixel)
  local data = check.bgraRows(width, height, pixel, false)
  local header = "BM" .. le(54 + #data, 4) .. le(0, 4) .. le(54, 4) ..
    le(40, 4) .. le(width, 4) .. le(2 ^ 32 - height, 4) .. le(1, 2) .. le(32, 2) ..
    le(0, 4) .. le(#data, 4) .. le(2835, 4) .. le(2835, 4) .. le(0, 4) .. le(0, 4)
  local f = assert(io.open(path, "wb"))
  f:write(header, data)
  f:close()
end

return check
