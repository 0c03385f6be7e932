-- Argument counts and types, number reading, script errors and their
-- formatting through the host.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Progress1")
Host.AddObject("button", "Button1")

-- Count messages use the plural for every count.
check.endsWith(check.raises(Velumbar.GetText), "1 arguments required.")
check.endsWith(check.raises(Velumbar.SetText, "Progress1"), "2 arguments required.")
check.endsWith(check.raises(Velumbar.SetFont, "Progress1", "Arial", 12), "4 arguments required.")
check.endsWith(check.raises(Velumbar.SetRange, "Progress1", 0), "3 arguments required.")
check.endsWith(check.raises(Velumbar.SetIcon, "Progress1", 0), "3 arguments required.")
check.endsWith(check.raises(Velumbar.LoadImage, 6), "2 arguments required.")
check.endsWith(check.raises(Velumbar.FreeImage), "1 arguments required.")
check.endsWith(check.raises(Velumbar.AllocColor), "At least one argument must be specified!")

-- The position prefix names the script line that made the call.
local line = debug.getinfo(1, "l").currentline + 1
local ok, message = pcall(function() Velumbar.GetText() end)
assert(not ok and message:find(":" .. line .. ": 1 arguments required.", 1, true), message)

-- Type messages come after the count check has passed.
check.endsWith(check.raises(Velumbar.SetText, nil, "x"), "Argument 1 must be a string.")
check.endsWith(check.raises(Velumbar.SetText, "Progress1", {}), "Argument 2 must be a string.")
check.endsWith(check.raises(Velumbar.SetTooltip, "Progress1", true), "Argument 2 must be a string.")
check.endsWith(check.raises(Velumbar.LoadImage, 6, nil), "Argument 2 must be a string.")
check.endsWith(check.raises(Velumbar.CountIconsInFile), "Argument 1 must be a string.")
check.endsWith(check.raises(Velumbar.Create, {}), "Argument 1 must be a string.")

-- Booleans are strict: numbers, strings and nil fail.
for _, value in ipairs({1, "true", 0}) do
  check.endsWith(check.raises(Velumbar.SetUseGlossy, "Progress1", value), "Argument 2 must be a boolean.")
end
check.endsWith(check.raises(Velumbar.SetUseGlossy, "Progress1", nil), "Argument 2 must be a boolean.")

-- Numbers pass where strings are asked for; non-numbers read as 0; extra
-- arguments are ignored.
assert(Velumbar.Create("Progress1") == true)
assert(Velumbar.SetText("Progress1", 42) == true)
assert(Velumbar.GetText("Progress1") == "42")
assert(Velumbar.SetCurrentPosition("Progress1", "abc") == true)
assert(Velumbar.GetCurrentPosition("Progress1") == 0)
assert(Velumbar.SetCurrentPosition("Progress1", "75", "extra", {}) == true)
assert(Velumbar.GetCurrentPosition("Progress1") == 75)

-- Halves go to the even neighbour; out of range reads as -2147483648.
local rounding = {[48.5] = 48, [49.5] = 50, [2.5] = 2, [3.5] = 4, [-1.5] = -2, [-2.5] = -2,
  [10.49] = 10, [1e12] = -2147483648, [-3e9] = -2147483648, [2147483647] = 2147483647}
for given, stored in pairs(rounding) do
  Velumbar.SetCurrentPosition("Progress1", given)
  check.equal(stored, Velumbar.GetCurrentPosition("Progress1"), "position read from " .. given)
end
Velumbar.SetCurrentPosition("Progress1", 0 / 0)
check.equal(-2147483648, Velumbar.GetCurrentPosition("Progress1"), "position read from NaN")

-- A script error clears the last error and sets no code.
Application.SetLastError(12345)
local codes = check.countErrors(function() return pcall(Velumbar.SetText, "Progress1") end)
check.equal(0, #codes, "codes set by a script error")
check.equal(0, Application.GetLastError(), "last error after a script error")

-- A failed action sets exactly one code.
local codes2, result = check.countErrors(function() return Velumbar.GetText("NoSuchObject") end)
check.equal(nil, result)
check.equal(1, #codes2, "codes set by a failure")
check.equal(457881, codes2[1])
-- A later success leaves the last error cleared.
assert(Velumbar.GetText("Progress1") ~= nil)
check.equal(0, Application.GetLastError())

-- A formatted text of 1024 bytes or more is replaced; 1023 is kept.
local format = Debug.GetSyntaxErrorString
Debug.GetSyntaxErrorString = function(msg) return string.rep("x", 1024) end
check.equal("Formatted error string is too long for buffer.", check.raises(Velumbar.GetText))
Debug.GetSyntaxErrorString = function(msg) return string.rep("y", 1023) end
check.equal(string.rep("y", 1023), check.raises(Velumbar.GetText))
-- A formatter that is not a function leaves the last formatted text.
Debug.GetSyntaxErrorString = nil
check.equal(string.rep("y", 1023), check.raises(Velumbar.SetText, "Progress1"))
-- The formatter's own errors propagate.
Debug.GetSyntaxErrorString = function() error("formatter broke", 0) end
check.equal("formatter broke", check.raises(Velumbar.GetText))
Debug.GetSyntaxErrorString = format
-- A Debug global that is not a table makes the lookup itself fail.
local savedDebug = Debug
Debug = nil
local lookupFailure = check.raises(Velumbar.GetText)
assert(not lookupFailure:find("arguments required", 1, true), lookupFailure)
Debug = savedDebug
