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

return check
